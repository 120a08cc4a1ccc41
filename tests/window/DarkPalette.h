// The dark palette of the pictures in docs/screenshots/: the Fusion style's
// roles in dark greys with light text.
#pragma once

#include <QColor>
#include <QPalette>

namespace window_test {

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

}  // namespace window_test
