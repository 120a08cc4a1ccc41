// Files written whole or not at all, and files read only when they are
// plain files: the results log, its Save As, the tables and the pictures.
//
// A save replaces its file only once every byte has reached the disk: the
// text goes to a temporary file beside the target, written without a buffer
// so that a full disk fails the write that meets it (a buffered write would
// fail only in the flush at the end, which QSaveFile's commit does not
// report), and is renamed over the target after a successful sync.  A name
// that leads to a device, a FIFO or a socket is refused, so that the node is
// neither replaced by a regular file nor blocks the caller.  Qt Core only.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace files {

// Writes `bytes` to `fileName` as described above.  An empty answer on
// success, otherwise the reason for a user ("Not a regular file.", "No space
// left on device"); the old file is then as it was.
QString WriteWhole(const QString& fileName, const QByteArray& bytes);

// Whether the name leads (through any symbolic links) to something that
// exists and is neither a regular file nor a folder.
bool IsSpecialFile(const QString& fileName);

// The bytes of a regular file of at most `maxBytes`, read without blocking on
// a FIFO or a device.  What kept it from being read, when it was not.
struct ReadResult {
  enum class Status { Read, Missing, Refused };
  Status status;
  QByteArray bytes;
  QString reason;  // Refused: why, for a user
};
ReadResult ReadWhole(const QString& fileName, qint64 maxBytes);

// The text of a file's bytes as UTF-8, every line end as LF (CR LF and a
// lone CR too); `faithful` when writing the text back as UTF-8 gives the
// same bytes (no CR, no byte that is not UTF-8).
struct DecodedText {
  QString text;
  bool faithful;
};
DecodedText DecodeText(const QByteArray& bytes);

}  // namespace files
