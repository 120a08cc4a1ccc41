// The Details pane: every value of the last computation at full precision,
// beside the log's six-decimal lines (calculator/ResultDetails.h).
//
// It shows the header line of the result, one row per value with ten
// significant digits, the exact integer of the counting functions, and in
// sentences where the log's digits hide or differ from the accurate value.
// The text is selectable and copyable.  An invalid input or a run-time error
// leaves the last details and says that they belong to the previous result.
#pragma once

#include <QWidget>

#include "calculator/Calculator.h"

class QLabel;
class QTextBrowser;

namespace window {

class TDetailsPane : public QWidget {
  Q_OBJECT

 public:
  explicit TDetailsPane(QWidget* parent = nullptr);

  // What the pane shows of an Ok result, made on any thread (it computes
  // every value again, which a worker does for the window); empty for any
  // other result.
  static QString Contents(const calculator::Result& result);
  // Shows `result` with its Contents.
  void ShowResult(const calculator::Result& result, const QString& contents);
  void ShowResult(const calculator::Result& result) { ShowResult(result, Contents(result)); }

  // The pane's text as plain text (what Select All and Copy give).
  QString PlainText() const;

 private:
  QLabel* status_ = nullptr;
  QTextBrowser* text_ = nullptr;
  bool hasDetails_ = false;
};

}  // namespace window
