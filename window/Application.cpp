#include "window/Application.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>

#include "calculator/Calculator.h"
#include "window/Platform.h"
#include "window/ProbexIcon.h"

// The data folder of the help file relative to the program's folder, fixed
// by the build from the installation folders.
#ifndef PROBEX_HELP_DIR_FROM_BIN
#error "PROBEX_HELP_DIR_FROM_BIN must name the help file's folder relative to the program's"
#endif

namespace window {

QString InstalledHelpFile(const QString& besideProgram) {
  const QFileInfo beside(besideProgram);
  if (besideProgram.isEmpty() || beside.isFile()) return besideProgram;
  const QFileInfo installed(QDir::cleanPath(beside.absolutePath() + QLatin1Char('/') +
                                            QStringLiteral(PROBEX_HELP_DIR_FROM_BIN) +
                                            QLatin1Char('/') + beside.fileName()));
  return installed.isFile() ? installed.filePath() : besideProgram;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // Only the application name: a display name would be appended by Qt to
  // every window caption, also to the notice that Copy may put there.
  setApplicationName(kApplicationTitle);
  // The desktop finds the launcher (probex.desktop) and its icon by this
  // name; the windows carry the icon themselves as well.
  setDesktopFileName(QStringLiteral("probex"));
  setWindowIcon(ProbexIcon());
}

TApplication* TApplication::Instance() {
  return qobject_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetHelpFile(const QString& helpFile) {
  if (TApplication* app = Instance()) app->helpFile_ = InstalledHelpFile(helpFile);
}

QString TApplication::HelpFile() {
  const TApplication* app = Instance();
  return app != nullptr ? app->helpFile_ : QString();
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception&) {
    HandleRunTimeError(std::current_exception());
    return true;
  }
}

void TApplication::HandleRunTimeError(std::exception_ptr error) {
  TApplication* app = Instance();
  if (app == nullptr || app->platform_ == nullptr) std::rethrow_exception(error);
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    app->ShowErrorBox(QString::fromStdString(calculator::ErrorBoxText(e.what())));
  }
}

void TApplication::ShowErrorBox(const QString& message) {
  // A busy pointer guard puts the pointer back itself; a busy pointer that some other
  // command left behind must not outlive the error either.
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  platform_->ShowError(activeWindow(), applicationName(), message);
}

}  // namespace window
