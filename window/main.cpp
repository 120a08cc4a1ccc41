// Probex: a calculator of statistical distributions.
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>
#include <cstring>

#include "window/Application.h"
#include "window/DistributionForm.h"
#include "window/QtPlatform.h"
#include "window/Session.h"
#include "window/SingleInstance.h"
#include "window/Startup.h"

int main(int argc, char** argv) {
  // Answered before Qt starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("probex %s\n", window::kProgramVersion);
    return 0;
  }
  window::TApplication app(argc, argv);
  // One window per user: a second start shows the first and ends.
  window::TSingleInstance instance(QFileInfo(window::TSession::LogFileName()).absolutePath());
  switch (instance.Claim()) {
    case window::TSingleInstance::Start::First:
      break;
    case window::TSingleInstance::Start::HandedOver:
      return 0;
    case window::TSingleInstance::Start::Unanswered:
      QMessageBox::critical(nullptr, QStringLiteral("Probex"),
                            QStringLiteral("Probex is already running but does not answer.\n"
                                           "Close it, then start Probex again."));
      return 1;
  }
  window::TQtPlatform platform;
  return window::RunProbex(app, platform, [&instance](window::TDistributionForm& form) {
    QObject::connect(&instance, &window::TSingleInstance::shown, &form, [&form] {
      form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
      form.show();
      form.raise();
      form.activateWindow();
    });
  });
}
