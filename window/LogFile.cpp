#include "window/LogFile.h"

#include <sys/stat.h>

#include <QFile>
#include <QSaveFile>

#include "window/Errors.h"

namespace window {

namespace {

constexpr char kLineEnd[] = "\r\n";

[[noreturn]] void RaiseCannotCreate(const QString& fileName, const QString& reason) {
  throw EWindowError(
      QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason).toStdString());
}

// The name leads (through any symbolic links) to something that exists and is
// neither a regular file nor a folder: a device, a FIFO, a socket.  Saving
// would rename the temporary file over that node, so the node would vanish
// and the device would never see the text.  Folders are left to QSaveFile,
// which refuses them with a reason of its own.
bool IsSpecialFile(const QString& fileName) {
  struct stat status {};
  if (::stat(QFile::encodeName(fileName).constData(), &status) != 0) return false;
  return !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

}  // namespace

QByteArray LogFileBytes(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) {
    bytes += line.toUtf8();
    bytes += kLineEnd;
  }
  return bytes;
}

void SaveLogFile(const QString& fileName, const QStringList& lines) {
  if (IsSpecialFile(fileName)) RaiseCannotCreate(fileName, QStringLiteral("Not a regular file."));
  // QSaveFile writes a temporary file beside the target and renames it over
  // the target on commit.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) RaiseCannotCreate(fileName, file.errorString());
  const QByteArray bytes = LogFileBytes(lines);
  if (file.write(bytes) != bytes.size() || !file.commit())
    RaiseCannotCreate(fileName, file.errorString());
}

}  // namespace window
