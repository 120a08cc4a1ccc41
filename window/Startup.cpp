#include "window/Startup.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/DistributionForm.h"
#include "window/Session.h"
#include "window/SingleInstance.h"

namespace window {

int RunProbex(TApplication& app, TPlatform& platform,
              const std::function<void(TDistributionForm&)>& started,
              const std::string& versionHost) {
  app.SetPlatform(&platform);
  // The about box outlives the window, which points to it.
  TAboutBox aboutBox(platform);
  TDistributionForm form(platform, versionHost);
  form.SetAboutBox(&aboutBox);
  form.ShowAsRemembered();
  // Window managers give a new window the focus; without one (a bare X
  // server) the window asks for it, so that its first activation runs.
  form.activateWindow();
  if (started) QTimer::singleShot(0, &form, [&form, &started] { started(form); });
  const int code = TApplication::exec();
  app.SetPlatform(nullptr);
  return code;
}

int RunProgram(TApplication& app, TPlatform& platform) {
  TSingleInstance instance(QFileInfo(TSession::LogFileName()).absolutePath());
  switch (instance.Claim()) {
    case TSingleInstance::Start::First:
      break;
    case TSingleInstance::Start::HandedOver:
      return 0;
    case TSingleInstance::Start::Unanswered:
      QMessageBox::critical(nullptr, QStringLiteral("Probex"),
                            QStringLiteral("Probex is already running but does not answer.\n"
                                           "Close it, then start Probex again."));
      return 1;
  }
  return RunProbex(app, platform, [&instance](TDistributionForm& form) {
    QObject::connect(&instance, &TSingleInstance::shown, &form, [&form] {
      form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
      form.show();
      form.raise();
      form.activateWindow();
    });
  });
}

}  // namespace window
