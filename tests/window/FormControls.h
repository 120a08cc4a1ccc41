// Typing into the form's controls as a user would, shared by the fixtures.
#pragma once

#include <QLineEdit>
#include <QTest>

namespace window_test {

// The tests time no computation: Compute waits this long for each answer
// (the window's own wait is far shorter), so that a busy machine never
// turns a quick answer into a late one.
inline constexpr int kUnhurriedAnswerMs = 60000;

// Replaces an edit field's text by typing it, leaving the focus in the field.
inline void TypeInto(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, text);
}

}  // namespace window_test
