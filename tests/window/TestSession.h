// What the window keeps between runs, kept away from the user's own: every
// test program points the desktop's folders (XDG_CONFIG_HOME, XDG_DATA_HOME,
// ...) at a temporary folder before Qt reads them, and every fixture starts
// from an empty session.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "window/Session.h"

namespace window_test {

class TIsolatedHome {
 public:
  TIsolatedHome() {
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                 "XDG_STATE_HOME"})
      qputenv(variable, QFile::encodeName(dir_.path() + '/' + variable));
  }

 private:
  QTemporaryDir dir_;
};

// As on a first run: no settings, no kept log.
inline void ForgetSession() {
  QSettings(QSettings::NativeFormat, QSettings::UserScope, "Probex", "Probex").clear();
  QFile::remove(window::TSession::LogFileName());
}

}  // namespace window_test
