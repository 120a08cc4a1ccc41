// What the window keeps between runs stays out of the user's home: each test
// program points the desktop's folders at a temporary folder before Qt reads
// them, and each fixture starts as a first run.
#pragma once

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "window/Session.h"

namespace window_test {

inline void IsolateHome(const QTemporaryDir& home) {
  for (const char* folder :
       {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
    qputenv(folder, QFile::encodeName(home.path() + '/' + folder));
}

inline void ForgetSession() {
  QSettings(QSettings::NativeFormat, QSettings::UserScope, "Probex", "Probex").clear();
  QFile::remove(window::TSession::LogFileName());
}

}  // namespace window_test
