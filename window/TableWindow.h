// The Table of Values window: tables of one function of the main window
// (probabilities over a range of x-values, critical values, the z table,
// quantiles), computed by the tables layer (tables/Tables.h).
//
// The window is non-modal and has no parent's modality: the main window hands
// it the selected function and its field texts (SetFunction) whenever it is
// opened, and the user may go on computing in the main window.  Compute
// validates every field as the main window does (the faulty fields are
// marked, the last keeps the focus, and a sentence per fault names its rule)
// and runs the table on a worker thread with a progress bar, an estimate of
// the time left and Cancel, so a table of 100000 rows leaves the window
// responsive.  The fields shown are those of the kind of table chosen, from
// the moment it is chosen.  The range starts on the bulk of the distribution
// (tables::DefaultRange) and follows the parameters, from the main window or
// typed here, until the user types a range of their own.  Copy puts the table
// (or the selected cells) on the clipboard as TAB-separated text, Save As
// writes CSV and Print prints it with a title line and page numbers, all
// through TPlatform.
#pragma once

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QWidget>
#include <array>
#include <atomic>
#include <map>
#include <memory>

#include "calculator/Calculator.h"
#include "tables/Tables.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QTableView;

namespace window {

class TPlatform;
class TTableModel;

class TTableWindow : public QWidget {
  Q_OBJECT

 public:
  TTableWindow(TPlatform& platform, calculator::Function function,
               const calculator::FieldTexts& texts, QWidget* parent = nullptr);
  ~TTableWindow() override;

  // Shows the tables of `function` with its parameters preset from `texts`
  // (the main window's fields); the table's own fields keep what the user
  // typed while the function stays the same, and a range the user has not
  // typed follows the parameters.
  void SetFunction(calculator::Function function, const calculator::FieldTexts& texts);
  calculator::Function Function() const { return function_; }

  // The kind of table; only the kinds of tables::KindsOf(Function()).
  void SetKind(tables::Kind kind);
  tables::Kind Kind() const;

  // The field that holds a table field's text (a parameter: `index`).
  QLineEdit* Edit(tables::Field field, int index = 0) const;
  // Shows `column` with `digits` significant digits (0: as the log).
  void SetColumnDigits(int column, int digits);

  // Commands.
  void ComputeClick();
  void CancelClick();
  void CopyClick();
  void SaveAsClick();
  void PrintClick();

  // The last table computed (empty before), and whether one is computing.
  const tables::Table& Table() const;
  bool Computing() const;
  // The sentences of the last faults, or the table's size.
  QString Status() const;

 signals:
  // A computation ended: with a table, cancelled, or refused.
  void Finished();

 private:
  void createControls();
  void connectSignals();
  // Starts afresh on `function`: its kinds of table, the presets.
  void ShowFunction(calculator::Function function, const calculator::FieldTexts& texts);
  void ArrangeFields();
  // The range of the parameters on show, where the range fields still hold
  // the last one set (the user has typed none of their own).
  void FollowParameters();
  void ShowProgress(int done);
  tables::Request ReadRequest() const;
  void ShowFaults(const std::vector<tables::Fault>& faults);
  void ClearFaults();
  void Start(const tables::Plan& plan);
  void Done();
  void HeaderMenu(const QPoint& position);
  tables::Table Selection() const;

  TPlatform& platform_;
  calculator::Function function_;
  // The kind whose fields are on show.
  tables::Kind kind_ = tables::Kind::Range;
  // The range last put into the range fields.
  tables::RangeTexts defaultRange_;
  std::map<int, int> digits_;
  // The columns of the table on show: which offer more digits.
  std::vector<tables::Column> columns_;

  QLabel* title_ = nullptr;
  QComboBox* kinds_ = nullptr;
  QLabel* tableTitle_ = nullptr;
  std::array<QLabel*, calculator::kSlotCount> parameterLabels_{};
  std::array<QLineEdit*, calculator::kSlotCount> parameters_{};
  QCheckBox* twoSided_ = nullptr;
  std::map<tables::Field, QLabel*> labels_;
  std::map<tables::Field, QLineEdit*> edits_;
  QPushButton* computeButton_ = nullptr;
  QPushButton* copyButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QPushButton* printButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QLabel* status_ = nullptr;
  QTableView* view_ = nullptr;
  TTableModel* model_ = nullptr;

  QFutureWatcher<tables::Table> watcher_;
  // Set to stop the running computation at its next cell; it then reports
  // the rows done so far.  Each computation has its own.
  std::shared_ptr<std::atomic<bool>> stop_ = std::make_shared<std::atomic<bool>>(false);
  // Since the start of the running computation.
  QElapsedTimer started_;
  QString saveFileName_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace window
