// The calculator model: everything of the Probex window but the window.
//
// Distr/ holds the nine first functions' own arithmetic and models/ every
// distribution's model, each pure functions on extended reals.  This
// folder holds what a window (window/) or the command line (cli/) drives: the
// table of functions (Functions.h), the parsing of field texts
// (FieldParsing.h), the number texts (NumberText.h), the report routines and
// Compute, which turns one input into one result.  The model keeps no state:
// the function, the field texts and the mode are the whole input of a
// computation, and the labels, texts, focus and pointer belong to the window.
//
// The road of one Compute press: the window passes the selected function,
// the texts of its label/edit pairs and the mode to Compute.  Compute parses
// the function's fields in order (FieldParsing.h) and checks each against
// its rule in the table; every field that breaks its rule is listed, and the
// last of them keeps the focus.  With every field valid it runs the
// function's evaluate routine (Distr: TTailInverse, ...) where the table
// gives one for these arguments, or takes the model's values, formats the header
// and result lines from the numbers (NumberText.h), tests the floating-point
// flags and answers with the numbers and both lines.  A run-time error
// (Distr/Errors.h) answers with its message instead.  The window appends the
// lines to its results log, marks the invalid fields, or shows
// ErrorBoxText(message) in a message box.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calculator/Functions.h"

namespace calculator {

// The texts of the label/edit pairs, Edit_1 first; the texts of the slots a
// function does not use are ignored.
using FieldTexts = std::array<std::string, kSlotCount>;

// The texts a function's fields start with, in the mode given.
FieldTexts DefaultTexts(Function function, Mode mode = Mode::Forward);

enum class Outcome { Ok, Invalid, Error };

// What kind of run-time error ended a computation: the readers that explain
// one (the error hints) tell them apart by this, never by the message.
enum class ErrorKind { None, IntOverflow, FloatOverflow, Other };

// A field that broke its rule.
struct FieldFault {
  int index;         // the slot: 0 for Edit_1
  std::string rule;  // "a whole number from 1 to 1073741823"
  // What a user most likely got wrong, where the text says: "the field is
  // empty", "use a decimal point"; nullptr otherwise.
  const char* why = nullptr;

  // The rule, followed by the reason in parentheses where there is one.
  std::string Message() const;
};

// A parsed field that is a parameter of the function (not its x-value).
struct Parameter {
  std::string name;  // "mean", "df1", "lambda", ...
  long double value;
  bool whole;
};

struct Result {
  Function function{};
  Mode mode = Mode::Forward;  // the mode used: one the function offers
  Readings readings;          // the fields read by their root reading
  Outcome outcome = Outcome::Ok;
  // Invalid: every field that broke its rule, in field order; the last keeps
  // the focus.
  std::vector<FieldFault> faults;
  // Error: the run-time error's message, without the message box's final ".",
  // and its kind.
  std::string message;
  ErrorKind error = ErrorKind::None;
  // The parsed parameters by name (once every field parsed and kept its rule).
  std::vector<Parameter> parameters;
  Arguments arguments;  // the parsed fields by slot, once every field is valid
  // Whether the log's numbers came from the function's own arithmetic
  // (Distr/, its printed digits kept) rather than its model.
  bool byMethod = false;
  Values values;  // Ok
  LogLines lines;       // Ok: the header line and the result line

  bool Ok() const { return outcome == Outcome::Ok; }
  bool Inverse() const { return mode == Mode::Inverse; }
  // The field that keeps the focus after an invalid input.
  std::optional<int> FocusField() const {
    if (faults.empty()) return std::nullopt;
    return faults.back().index;
  }
};

// Reads `text` as the value of one field into `value`; answers the rule the
// text breaks, or nullptr.  In inverse mode the x-value is a percentile.  Raises Distr::EOverflow
// for a real text beyond the extended range.  The tables check the entries of their lists of
// degrees of freedom and percentiles by the same rules as the fields.
// With `root`, a field with a root reading reads the square root of its
// value (a standard deviation for the variance) and stores its square.
const char* ReadField(const FieldAbout& field, std::string_view text, Mode mode, long double& value,
                      bool root = false);

// The fields of one input, parsed and checked by their rules.  In inverse
// mode the x-value field is a percentile; this includes the discrete
// distributions, whose quantile the log searches (and the JSON output and
// the tables take from the engine).  Raises Distr::EOverflow for a power of ten
// past the extended range, as ParseReal does.
struct ParsedInput {
  std::vector<FieldFault> faults;  // empty: every field is valid
  Arguments arguments;
  std::vector<Parameter> parameters;  // once every field is valid
  // The slot of the x-value (or percentile) field, where the function has one.
  std::optional<int> xField;
};
ParsedInput ReadInput(Function function, const FieldTexts& texts, Mode mode,
                      Readings readings = {});

// One computation.  A mode the function's log does not offer counts as
// Forward.  Never raises for any input: run-time errors become an Error
// result.
Result Compute(Function function, const FieldTexts& texts, Mode mode, Readings readings = {});

// The message box text of a run-time error: the message with a "." appended
// when it is not empty and its last character sorts after ".".
std::string ErrorBoxText(std::string_view message);

}  // namespace calculator
