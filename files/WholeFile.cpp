#include "files/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace files {

namespace {

QString SystemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

bool IsSpecialFile(const QString& fileName) {
  struct stat status {};
  if (::stat(QFile::encodeName(fileName).constData(), &status) != 0) return false;
  return !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

QString WriteWhole(const QString& fileName, const QByteArray& bytes) {
  if (IsSpecialFile(fileName)) return QStringLiteral("Not a regular file.");
  // QSaveFile writes a temporary file beside the target and renames it over
  // the target on commit, after syncing it; unbuffered, each write reports
  // its own failure.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
    if (n <= 0) {
      const QString reason = file.errorString();
      file.cancelWriting();
      return reason.isEmpty() ? QStringLiteral("The file could not be written.") : reason;
    }
    written += n;
  }
  if (!file.flush() || !file.commit()) return file.errorString();
  return {};
}

ReadResult ReadWhole(const QString& fileName, qint64 maxBytes) {
  // O_NONBLOCK: opening a FIFO without a writer must not wait for one.
  const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return {ReadResult::Status::Missing, {}, {}};
    return {ReadResult::Status::Refused, {}, SystemReason(errno)};
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return {ReadResult::Status::Refused, {}, QStringLiteral("Not a regular file.")};
  }
  if (status.st_size > maxBytes) {
    ::close(fd);
    return {ReadResult::Status::Refused, {}, QStringLiteral("Larger than %1 bytes.").arg(maxBytes)};
  }
  QFile file;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return {ReadResult::Status::Refused, {}, file.errorString()};
  }
  QByteArray bytes = file.read(maxBytes + 1);
  if (file.error() != QFileDevice::NoError)
    return {ReadResult::Status::Refused, {}, file.errorString()};
  if (bytes.size() > maxBytes)
    return {ReadResult::Status::Refused, {}, QStringLiteral("Larger than %1 bytes.").arg(maxBytes)};
  return {ReadResult::Status::Read, std::move(bytes), {}};
}

DecodedText DecodeText(const QByteArray& bytes) {
  QString text = QString::fromUtf8(bytes);
  if (!text.contains(QLatin1Char('\r')) && text.toUtf8() == bytes) return {text, true};
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));  // an old Mac line end
  return {text, false};
}

}  // namespace files
