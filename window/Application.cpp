#include "window/Application.h"

#include <QCursor>

#include "Distr/Errors.h"
#include "calculator/Calculator.h"
#include "window/Platform.h"

namespace window {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // Only the application name: a display name would be appended by Qt to
  // every window caption, also to the notice that Copy may put there.
  setApplicationName(kApplicationTitle);
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
  auto* app = qobject_cast<TApplication*>(QCoreApplication::instance());
  if (app == nullptr || app->platform_ == nullptr) std::rethrow_exception(error);
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    app->ShowErrorBox(QString::fromStdString(calculator::ErrorBoxText(e.what())));
  }
}

void TApplication::ShowErrorBox(const QString& message) {
  // The model puts the pointer back itself; a busy pointer that some other
  // command left behind must not outlive the error either.
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  platform_->ShowError(activeWindow(), applicationName(), message);
}

}  // namespace window
