// The results log as a text file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace window {

// The bytes of the file: each line in UTF-8, so that every character typed
// into the log survives, each followed by CR LF, the last too.  No
// byte-order mark, no header.
QByteArray LogFileBytes(const QStringList& lines);

// Writes `lines` to `fileName`, replacing that file only once the whole text
// is on the disk (files::WriteWhole): a save that fails half-way, on a full
// disk too, leaves the old file whole.  A
// symbolic link is followed to its file.  A name that leads to anything but
// a regular file or a folder (a device, a FIFO) is refused and the node left
// as it is.  Raises EWindowError "Cannot create file "<name>".
// <reason>", the reason "Not a regular file." for such a node.
void SaveLogFile(const QString& fileName, const QStringList& lines);

}  // namespace window
