// What the programs that take the pictures in docs/screenshots/ share: the
// window without help set-up or version check, the dark palette (the Fusion
// style's roles in dark greys with light text) and the saving of a picture.
#pragma once

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <functional>

#include "FormControls.h"
#include "ScriptedPlatform.h"
#include "TestSession.h"
#include "window/Application.h"
#include "window/DistributionForm.h"

namespace window_test {

// The form without help set-up or version check: no network.
class TPictureForm : public window::TDistributionForm {
 public:
  explicit TPictureForm(window::TPlatform& platform) : TDistributionForm(platform) {
    SetAnswerWait(kUnhurriedAnswerMs);
  }

 protected:
  void ActivateHelp() override {}
  void VersionCheck() override {}
};

// The widget's own drawing, once its last changes are painted; says what it
// wrote.
inline bool SavePicture(QWidget& widget, const QString& name) {
  QTest::qWait(200);
  const bool saved = widget.grab().save(name);
  std::printf("%s %s (%dx%d units)\n", saved ? "wrote" : "FAILED", qPrintable(name), widget.width(),
              widget.height());
  return saved;
}

inline QPalette DarkPalette() {
  QPalette dark;
  const QColor window(0x2b, 0x2b, 0x2b), base(0x1e, 0x1e, 0x1e), text(0xe8, 0xe8, 0xe8);
  for (const auto role : {QPalette::Window, QPalette::Button}) dark.setColor(role, window);
  for (const auto role : {QPalette::Base, QPalette::AlternateBase}) dark.setColor(role, base);
  for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    dark.setColor(role, text);
  dark.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
  dark.setColor(QPalette::Highlight, QColor(0x2f, 0x65, 0xca));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    dark.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
  return dark;
}

// The main of a picture program, `program DIR`: in a home of its own, in the
// Fusion style, `pictures` into DIR with the light palette, then the dark.
inline int RunPictures(int argc, char** argv, const char* usage,
                       const std::function<bool(const QString& dir, const QString& palette,
                                                TScriptedPlatform&)>& pictures) {
  const QTemporaryDir home;
  IsolateHome(home);
  window::TApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s\n", usage);
    return 2;
  }
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  TScriptedPlatform platform;
  app.SetPlatform(&platform);
  const QString dir = QString::fromLocal8Bit(argv[1]);
  bool ok = pictures(dir, QStringLiteral("light"), platform);
  QApplication::setPalette(DarkPalette());
  ok = pictures(dir, QStringLiteral("dark"), platform) && ok;
  app.SetPlatform(nullptr);
  return ok ? 0 : 1;
}

}  // namespace window_test
