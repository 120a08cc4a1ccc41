// Typing into the form's controls as a user would, shared by the fixtures.
#pragma once

#include <QLineEdit>
#include <QTest>

namespace window_test {

// Replaces an edit field's text by typing it, leaving the focus in the field.
inline void TypeInto(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

}  // namespace window_test
