#include "window/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include "files/WholeFile.h"
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
constexpr char kStatusBarKey[] = "window/statusBar";
constexpr char kBackupSuffix[] = ".bak";
// The field texts kept by runs before the bound B of the interval mode.
constexpr qsizetype kEarlierSlotCount = 4;

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
  // Earlier runs kept four texts (before the bound B); their fifth is empty.
  const QStringList texts = settings_.value(FieldKey(function, "texts")).toStringList();
  if (texts.size() < kEarlierSlotCount || texts.size() > calculator::kSlotCount)
    return std::nullopt;
  TFieldMemory memory;
  for (qsizetype i = 0; i < texts.size(); ++i) memory.texts[i] = texts[i].toStdString();
  const bool inverse = settings_.value(FieldKey(function, "inverse"), false).toBool();
  const bool between = settings_.value(FieldKey(function, "between"), false).toBool();
  memory.mode = inverse   ? calculator::Mode::Inverse
                : between ? calculator::Mode::Interval
                          : calculator::Mode::Forward;
  const int root = settings_.value(FieldKey(function, "root"), -1).toInt();
  if (root >= 0 && root < calculator::kSlotCount)
    memory.readings = calculator::Readings::RootAt(root);
  return memory;
}

void TSession::SetFields(calculator::Function function, const TFieldMemory& memory) {
  QStringList texts;
  for (const std::string& text : memory.texts) texts << QString::fromStdString(text);
  settings_.setValue(FieldKey(function, "texts"), texts);
  settings_.setValue(FieldKey(function, "inverse"), memory.mode == calculator::Mode::Inverse);
  settings_.setValue(FieldKey(function, "between"), memory.mode == calculator::Mode::Interval);
  int root = -1;
  for (int i = 0; i < calculator::kSlotCount; ++i)
    if (memory.readings.Root(i)) root = i;
  settings_.setValue(FieldKey(function, "root"), root);
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

bool TSession::StatusBarShown() const {
  return settings_.value(kStatusBarKey, true).toBool();
}

void TSession::SetStatusBarShown(bool shown) {
  settings_.setValue(kStatusBarKey, shown);
}

void TSession::Sync() {
  settings_.sync();
}

QString TSession::LogFileName() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QLatin1Char('/') +
         QLatin1String(kLogFile);
}

TSession::TSavedLog TSession::LoadLog() const {
  const QString name = LogFileName();
  const files::ReadResult read = files::ReadWhole(name, kMaxLogBytes);
  switch (read.status) {
    case files::ReadResult::Status::Missing:
      return {};
    case files::ReadResult::Status::Refused:
      return {{},
              QStringLiteral("The results log \"%1\" cannot be read (%2); it is left as it is "
                             "and this window's results are not kept.")
                  .arg(name, read.reason),
              false};
    case files::ReadResult::Status::Read:
      break;
  }
  // The log writes UTF-8 with LF line ends; other bytes would not survive.
  const files::DecodedText decoded = files::DecodeText(read.bytes);
  if (decoded.faithful) return {decoded.text, {}, true};
  const QString original = name + QStringLiteral(".orig");
  const QString failure = files::WriteWhole(original, read.bytes);
  if (!failure.isEmpty())
    return {decoded.text,
            QStringLiteral("The results log \"%1\" is not plain UTF-8 text and no copy of it "
                           "could be made (%2); it is left as it is and this window's results "
                           "are not kept.")
                .arg(name, failure),
            false};
  return {decoded.text,
          QStringLiteral("The results log was not plain UTF-8 text with LF line ends; the file "
                         "as it was is kept as \"%1\".")
              .arg(original),
          true};
}

namespace {

void SaveText(const QString& name, const QString& text) {
  QDir().mkpath(QFileInfo(name).absolutePath());
  const QString failure = files::WriteWhole(name, text.toUtf8());
  if (!failure.isEmpty())
    throw EWindowError(QStringLiteral("Cannot keep the results log in \"%1\". %2")
                           .arg(name, failure)
                           .toStdString());
}

}  // namespace

void TSession::SaveLog(const QString& text) const {
  SaveText(LogFileName(), text);
}

void TSession::RemoveLog() const {
  QFile::remove(LogFileName());
}

QString TSession::BackupFileName() {
  return LogFileName() + QLatin1String(kBackupSuffix);
}

void TSession::SaveLogBackup(const QString& text) const {
  SaveText(BackupFileName(), text);
}

void TSession::RemoveLogBackup() const {
  QFile::remove(BackupFileName());
}

}  // namespace window
