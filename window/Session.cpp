#include "window/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include "window/Errors.h"

namespace window {

namespace {

constexpr char kOrganisation[] = "Probex";
constexpr char kApplication[] = "Probex";
constexpr char kLogFile[] = "results-log.txt";

constexpr char kKeepLogKey[] = "log/keep";
constexpr char kFontKey[] = "log/font";
constexpr char kFunctionKey[] = "fields/function";
constexpr char kGeometryKey[] = "window/geometry";
constexpr char kDockStateKey[] = "window/state";

// "fields/normal/texts": keys by the command name, which never changes.
QString FieldKey(calculator::Function function, const char* what) {
  return QStringLiteral("fields/%1/%2")
      .arg(QLatin1String(calculator::AboutFunction(function).commandName), QLatin1String(what));
}

}  // namespace

TSession::TSession()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication) {}

bool TSession::KeepLog() const {
  return settings_.value(kKeepLogKey, true).toBool();
}

void TSession::SetKeepLog(bool keep) {
  settings_.setValue(kKeepLogKey, keep);
}

std::optional<calculator::Function> TSession::SelectedFunction() const {
  const QString name = settings_.value(kFunctionKey).toString();
  return calculator::FunctionByCommandName(name.toStdString());
}

void TSession::SetSelectedFunction(calculator::Function function) {
  settings_.setValue(kFunctionKey, QLatin1String(calculator::AboutFunction(function).commandName));
}

std::optional<TFieldMemory> TSession::Fields(calculator::Function function) const {
  const QStringList texts = settings_.value(FieldKey(function, "texts")).toStringList();
  if (texts.size() != calculator::kSlotCount) return std::nullopt;
  TFieldMemory memory;
  for (int i = 0; i < calculator::kSlotCount; ++i) memory.texts[i] = texts[i].toStdString();
  const bool inverse = settings_.value(FieldKey(function, "inverse"), false).toBool();
  memory.mode = inverse ? calculator::Mode::Inverse : calculator::Mode::Forward;
  return memory;
}

void TSession::SetFields(calculator::Function function, const TFieldMemory& memory) {
  QStringList texts;
  for (const std::string& text : memory.texts) texts << QString::fromStdString(text);
  settings_.setValue(FieldKey(function, "texts"), texts);
  settings_.setValue(FieldKey(function, "inverse"), memory.mode == calculator::Mode::Inverse);
}

std::optional<QFont> TSession::LogFont() const {
  QFont font;
  const QString text = settings_.value(kFontKey).toString();
  if (text.isEmpty() || !font.fromString(text)) return std::nullopt;
  return font;
}

void TSession::SetLogFont(const QFont& font) {
  settings_.setValue(kFontKey, font.toString());
}

QByteArray TSession::Geometry() const {
  return settings_.value(kGeometryKey).toByteArray();
}

void TSession::SetGeometry(const QByteArray& geometry) {
  settings_.setValue(kGeometryKey, geometry);
}

QByteArray TSession::DockState() const {
  return settings_.value(kDockStateKey).toByteArray();
}

void TSession::SetDockState(const QByteArray& state) {
  settings_.setValue(kDockStateKey, state);
}

QString TSession::LogFileName() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/') +
         QLatin1String(kLogFile);
}

QString TSession::LoadLog() const {
  QFile file(LogFileName());
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

void TSession::SaveLog(const QString& text) const {
  const QString name = LogFileName();
  QDir().mkpath(QFileInfo(name).absolutePath());
  QSaveFile file(name);
  const QByteArray bytes = text.toUtf8();
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw EWindowError(QStringLiteral("Cannot keep the results log in \"%1\". %2")
                           .arg(name, file.errorString())
                           .toStdString());
}

void TSession::RemoveLog() const {
  QFile::remove(LogFileName());
}

}  // namespace window
