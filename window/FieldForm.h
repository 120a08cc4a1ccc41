// The field form: Compute above the labelled edit fields in two columns
// (FieldPlaces.h: the parameters at the left, the x-value and the bound at
// the right, as many pairs as the table of functions uses), the question
// options (Inverse Distribution, Between A and B) and the standard
// deviation option, for the function the window has chosen.
//
// The pairs shown, their captions and default texts come from the table of
// functions (calculator::FieldsIn and FieldCaption for the function, the
// question the options ask and the reading of the variance field); a
// hidden pair keeps its place, so that no field moves when the function
// changes.  Each function keeps its last texts and options in the session
// (Session.h): choosing another function remembers the one left and brings
// back the one chosen.
//
// Validation marks: a field that breaks its rule is tinted red (mixed into
// the palette's base, so that it shows on light and dark palettes) and says
// its rule as a tool tip and to screen readers until the user edits it;
// marksChanged names the first marked field's rule, for the status bar.
//
// The form computes nothing: Compute's button and Return in a field ask the
// window (computeRequested), which reads Texts, CurrentMode and
// CurrentReadings.  `edited` follows every change the user makes to a
// text or an option, so that the window keeps them soon after.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <array>

#include "calculator/Calculator.h"

class QCheckBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace window {

class TSession;

class TFieldForm : public QWidget {
  Q_OBJECT

 public:
  // The form arranges the fields of `function`, as the session remembers them.
  TFieldForm(TSession& session, calculator::Function function, QWidget* parent = nullptr);

  // Remembers the fields of the function shown, then shows those of `function`.
  void SetFunction(calculator::Function function);
  calculator::Function Function() const { return function_; }

  // The field texts; where the locale writes a decimal comma, a comma in a
  // text without a point reads as the point ("1,5" is 1.5).
  calculator::FieldTexts Texts() const;
  calculator::Mode CurrentMode() const;
  // The fields read by their other reading (the normal's standard deviation).
  calculator::Readings CurrentReadings() const;

  // Keeps the texts and options of the function shown in the session.
  void Remember();

  // Unmarks every field; for an invalid result, marks each field that
  // breaks its rule and gives the last of them the focus, its text selected.
  void ClearMarks();
  void ShowFaults(const calculator::Result& result);
  // The first marked field's caption and rule; empty when none is marked.
  QString FirstMark() const;

  QPushButton* ComputeButton() const { return ComputeBtn; }
  QLineEdit* Edit(int slot) const { return edits_[slot]; }
  // The form's Tab stops in order: column by column, each top to bottom
  // (FieldPlaces.h).
  QList<QWidget*> TabChain() const { return tabChain_; }

  // Control events.
  void InversCheckBoxClick();
  void BetweenCheckBoxClick();
  void SdCheckBoxClick();

 signals:
  void computeRequested();
  // The first marked field's sentence (FirstMark) after a mark changed.
  void marksChanged(const QString& firstMark);
  // A text or an option changed by the user.
  void edited();

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void createControls();
  QLayout* createFieldsLayout();
  void connectSignals();

  void Arrange();
  void ShowQuestionFields();
  void ShowFields(const calculator::FieldTexts* texts);
  void SetField(int index, const char* caption, const char* text);
  calculator::FieldTexts TypedTexts() const;
  void MarkField(int index, const QString& rule);
  void ShowMark(int index);

  TSession& session_;
  calculator::Function function_;

  // Controls, by their designed names.
  QPushButton* ComputeBtn = nullptr;
  std::array<QLabel*, calculator::kSlotCount> labels_{};    // Label_1, Label_2, ...
  std::array<QLineEdit*, calculator::kSlotCount> edits_{};  // Edit_1, Edit_2, ...
  // The rule each marked field breaks, in words; empty: not marked.
  std::array<QString, calculator::kSlotCount> marks_{};
  QCheckBox* InversCheckBox = nullptr;
  QCheckBox* BetweenCheckBox = nullptr;  // the interval mode: bounds A and B
  QCheckBox* SdCheckBox = nullptr;       // a variance typed as its standard deviation
  QList<QWidget*> tabChain_;
};

}  // namespace window
