// Probex: a calculator of statistical distributions.
#include "window/Application.h"
#include "window/QtPlatform.h"
#include "window/Startup.h"

int main(int argc, char** argv) {
  window::TApplication app(argc, argv);
  window::TQtPlatform platform;
  return window::RunProbex(app, platform);
}
