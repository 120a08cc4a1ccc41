// The calculator model: everything of the Probex window but the window.
//
// Distr/ holds the mathematics: pure functions on extended reals.  This
// folder holds the model that a window (window/) or the command line (cli/)
// drives: the nine functions and the radio buttons that select them, the four
// labelled edit fields and the inverse option, the parsing of field texts, the
// number texts, the nine report routines and the results log.  The model keeps
// no numbers between commands: the selected function, the field texts and the
// inverse option are the whole input of a computation.
//
// The road of one Compute press: the window copies what the user typed into
// the model (SetFieldText) and calls ComputeBtnClick.  That sets the busy
// pointer and runs the report of the selected function, say TReport.  The
// report parses its fields in a fixed order (FieldParsing.h); each invalid
// field is marked, which gives it the focus, and then nothing is appended.
// Otherwise it calls Distr (TTailInverse, ...), builds its header and result
// lines from the number texts (NumberText.h), tests the floating-point flags
// and appends both lines at once.  A run-time error (Distr/Errors.h) leaves
// the log as it was and reaches the caller, which shows ErrorBoxText(error);
// the pointer is back to default either way.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Distr/Errors.h"

namespace calculator {

enum class Function {
  Normal,
  ChiSquare,
  T,
  F,
  Binomial,
  Poisson,
  Hypergeometric,
  Factorial,
  BinomialCoefficient,
};

struct FunctionInfo {
  Function function;
  const char* radioName;    // component name of the radio button
  const char* caption;      // radio caption, "&" before the access key
  const char* commandName;  // the name probex-calc takes
  bool continuous;          // has the inverse option
};

// The nine functions in the order of the radio buttons, top to bottom.
const std::array<FunctionInfo, 9>& FunctionCatalogue();
const FunctionInfo& InfoOf(Function function);
std::optional<Function> FunctionByCommandName(std::string_view name);

// The four label/edit pairs: Label_1/Edit_1 is index 0.
constexpr int kFieldCount = 4;
constexpr int kEdit1 = 0;
constexpr int kEdit2 = 1;
constexpr int kEdit3 = 2;
constexpr int kEdit4 = 3;

enum class PointerShape { Default, Busy };

// The message box text of a run-time error: the message with a "." appended
// when it is not empty and its last character sorts after ".".
std::string ErrorBoxText(std::string_view message);

class Calculator {
 public:
  Calculator();

  // Radio buttons.  SelectFunction is a radio button becoming checked: it
  // runs ArrangeFields, unless that function is selected already.
  Function Selected() const { return selected_; }
  void SelectFunction(Function function);
  void ArrangeFields();

  // The inverse option "In&vers Distribution".  A change of its state runs
  // InversCheckBoxClick, whoever makes it.
  bool InverseVisible() const { return inverseVisible_; }
  bool InverseChecked() const { return inverseChecked_; }
  void SetInverseChecked(bool checked);

  // Label_N / Edit_N for N = index + 1; a label is visible with its field.
  const std::string& LabelCaption(int index) const { return labels_.at(index); }
  const std::string& FieldText(int index) const { return texts_.at(index); }
  bool FieldVisible(int index) const { return visible_.at(index); }
  void SetFieldText(int index, std::string text);

  // The field that holds the keyboard focus, as the window reports it or as
  // validation gives it; none while the focus is elsewhere.
  std::optional<int> FocusedField() const { return focused_; }
  void SetFocusedField(std::optional<int> index) { focused_ = index; }

  // The Compute command: runs the report of the selected function.  Raises
  // Distr::ERunTimeError (the log unchanged, the pointer back to default).
  void ComputeBtnClick();
  // Whether the last Compute found every field valid.
  bool LastComputeValid() const { return lastValid_; }

  // The results log.  Reports append two lines at a time; the observer hears
  // of each appended line (a window mirrors them into its text pane).
  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  void SetAppendObserver(std::function<void(const std::string&)> observer) {
    appendObserver_ = std::move(observer);
  }

  // The application-wide pointer shape; the observer hears of each change.
  PointerShape Pointer() const { return pointer_; }
  void SetPointerObserver(std::function<void(PointerShape)> observer) {
    pointerObserver_ = std::move(observer);
  }

 private:
  void InversCheckBoxClick();
  void SetPointer(PointerShape shape);
  void ShowPair(int index, const char* caption, const char* text);
  void HidePair(int index);

  // Services of the reports.
  bool ReadReal(int index, long double& value);
  bool ReadInteger(int index, int32_t& value);
  void MarkInvalid(int index);
  void Append(const std::string& header, const std::string& result);
  // Edit_4 of a continuous distribution: an x-value, or in inverse mode a
  // percentile within the accepted bounds.
  bool ReadPointOrPercentile(long double& w);
  // The result line of a continuous distribution: the tails at the x-value w,
  // or in inverse mode the points whose lower and upper tails are w.
  void AppendTailsOrPoints(const std::string& header, long double w,
                           const std::function<long double(long double)>& upperTail,
                           const std::function<long double(long double)>& upperPoint);

  // Chi Square and t: one degrees-of-freedom field and Edit_4.
  using UpperTail = long double (*)(int32_t, long double);
  using UpperPoint = long double (*)(int32_t, long double);
  void DegreesOfFreedomReport(const char* name, UpperTail tail, UpperPoint point);

  void NormalReport();
  void ChiSquareReport();
  void TReport();
  void FReport();
  void BinomialReport();
  void PoissonReport();
  void HypergeometricReport();
  void FactorialReport();
  void BinomialCoefficientReport();

  Function selected_ = Function::Normal;
  bool inverseVisible_ = true;
  bool inverseChecked_ = false;
  std::array<std::string, kFieldCount> labels_{"Label_1", "Label_2", "Label_3", "Label_4"};
  std::array<std::string, kFieldCount> texts_{"Edit_1", "Edit_2", "Edit_3", "Edit_4"};
  std::array<bool, kFieldCount> visible_{true, true, true, true};
  std::optional<int> focused_;
  bool runFailed_ = false;
  bool lastValid_ = true;
  std::vector<std::string> log_;
  PointerShape pointer_ = PointerShape::Default;
  std::function<void(const std::string&)> appendObserver_;
  std::function<void(PointerShape)> pointerObserver_;
};

}  // namespace calculator
