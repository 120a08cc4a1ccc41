// The functions the window offers: one radio button per entry of the table
// it is given, under a heading per family ("Continuous", "Discrete",
// "Counting"; table order within each), in a scroll area below a find field.
//
// A button's object name is the entry's radioName and its caption the
// entry's caption, whose access key (Alt+N for "&Normal Distribution")
// checks it from anywhere in the window.  As in a dialog of the desktop, Tab
// stops at the checked button only and the arrow keys move the check.
//
// Finding: Ctrl+F (QKeySequence::Find; no menu of the window takes it), or
// a letter or digit typed while a button has the focus, enters the find
// field, which is no Tab stop of its own.  The list then shows the functions
// whose caption (without its "&") or command name contains the text,
// ignoring case.  Enter checks the first of them, empties the field and goes
// to the checked button; Down checks it and moves into the shortened list;
// Escape empties the field, or, when it is empty, goes back to the checked
// button.
//
// Height: at its smallest the chooser shows kButtonsAtSmallest buttons and
// the three headings, whatever the table's length, so that the window's
// smallest height does not grow with the number of functions; given room, it
// asks for kButtonsWanted buttons; the rest scrolls.  It is as wide as its
// widest caption beside the scroll bar, so that no caption is ever cut.
#pragma once

#include <QFrame>
#include <span>
#include <vector>

#include "calculator/Functions.h"

class QButtonGroup;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;

namespace window {

class TFunctionChooser : public QFrame {
  Q_OBJECT

 public:
  // The buttons shown at the chooser's smallest (the calculator's nine show
  // whole), and those it asks room for.
  static constexpr int kButtonsAtSmallest = 9;
  static constexpr int kButtonsWanted = 14;

  // `functions`: the entries to offer, which must outlive the chooser; the
  // first one is checked.
  explicit TFunctionChooser(std::span<const calculator::FunctionAbout> functions,
                            QWidget* parent = nullptr);

  // Checks the function's button (a function not in the table: nothing
  // changes) without announcing it by FunctionChosen.
  void Select(calculator::Function function);
  calculator::Function Current() const;

  // The buttons top to bottom, for the window's Tab chain.
  QList<QWidget*> Buttons() const;
  QLineEdit* FindField() const { return find_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The user checked another function (click, arrow key, access key, find).
  void FunctionChosen(calculator::Function function);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildGroups();
  void ButtonToggled(int id, bool checked);
  void Filter(const QString& text);
  // The first button the filter shows; nullptr when none.
  QRadioButton* FirstShown() const;
  // Checks the first button shown; `keepFilter`: the list stays shortened.
  void ChooseFirstShown(bool keepFilter);
  void GoToChecked();
  bool FindKey(const QKeyEvent& key);
  bool ListKey(const QKeyEvent& key);
  void UpdateButtonFocus();
  void FitWidth();
  int ListHeight(int buttons) const;
  QSize HintWithList(int buttons) const;

  std::span<const calculator::FunctionAbout> functions_;
  QLineEdit* find_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QWidget* list_ = nullptr;  // the scroll area's contents
  QLabel* noMatch_ = nullptr;
  QButtonGroup* group_ = nullptr;  // ids index functions_
  // Top to bottom: the buttons, and each family's group with its buttons.
  std::vector<QRadioButton*> buttons_;
  struct TGroup {
    QWidget* box;
    QLabel* heading;
    std::vector<QRadioButton*> buttons;
  };
  std::vector<TGroup> groups_;
  // The list's height without a filter, kept while one hides buttons.
  mutable int wholeListHeight_ = 0;
};

}  // namespace window
