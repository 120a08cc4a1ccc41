#include "window/LogFile.h"

#include <QSaveFile>

#include "window/Errors.h"

namespace window {

namespace {

constexpr char kLineEnd[] = "\r\n";

[[noreturn]] void RaiseCannotCreate(const QString& fileName, const QString& reason) {
  throw EWindowError(
      QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, reason).toStdString());
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
  // QSaveFile writes a temporary file beside the target and renames it over
  // the target on commit.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) RaiseCannotCreate(fileName, file.errorString());
  const QByteArray bytes = LogFileBytes(lines);
  if (file.write(bytes) != bytes.size() || !file.commit())
    RaiseCannotCreate(fileName, file.errorString());
}

}  // namespace window
