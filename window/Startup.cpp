#include "window/Startup.h"

#include <QTimer>

#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/DistributionForm.h"

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

}  // namespace window
