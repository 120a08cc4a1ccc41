#include "window/LogFile.h"

#include "files/WholeFile.h"
#include "window/Errors.h"

namespace window {

namespace {

constexpr char kLineEnd[] = "\r\n";

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
  const QString failure = files::WriteWhole(fileName, LogFileBytes(lines));
  if (!failure.isEmpty())
    throw EWindowError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, failure).toStdString());
}

}  // namespace window
