// Probex: a calculator of statistical distributions.
#include <cstdio>
#include <cstring>

#include "window/Application.h"
#include "window/QtPlatform.h"
#include "window/Startup.h"

int main(int argc, char** argv) {
  // Answered before Qt starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("probex %s\n", window::kProgramVersion);
    return 0;
  }
  window::TApplication app(argc, argv);
  window::TQtPlatform platform;
  return window::RunProgram(app, platform);
}
