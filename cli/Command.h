// probex-calc: one computation of the calculator model per command.
//
// A command is the words [--inverse] FUNCTION [FIELD...]: the function's
// command name and the texts of its fields in the table's order; fields not
// given keep their defaults.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calculator/Calculator.h"

namespace cli {

// probex-calc's exit statuses.
constexpr int kExitRunTimeError = 1;
constexpr int kExitInvalidField = 2;
constexpr int kExitUsage = 64;

// A command's input to Compute.
struct Command {
  calculator::Function function{};
  calculator::Mode mode = calculator::Mode::Forward;
  calculator::FieldTexts texts;
  calculator::Readings readings;  // --sd: the field read by its root reading

  bool Inverse() const { return mode == calculator::Mode::Inverse; }
};

// A parsed command, or the usage fault that stops it.
struct ParsedCommand {
  std::optional<Command> command;
  std::string usage;  // without a command: "no function given", ...
};

// With `quantiles`, --inverse is also taken for the discrete distributions
// (their quantiles, for --json); the log's commands take it only for the
// functions with an inverse.
ParsedCommand ParseCommand(const std::vector<std::string>& words, bool quantiles = false);

// What one command printed, and how it ended.
struct Outcome {
  enum class Kind { Lines, InvalidField, RunTimeError, Usage };
  Kind kind;
  std::vector<std::string> lines;  // Lines: the header and result lines
  std::string message;  // InvalidField: "Edit_N"; RunTimeError: the box text; Usage: the fault
  // InvalidField: the field's caption and rule as the window's status bar
  // says them, "Variance: a number of at least 0.000001".
  std::string fieldRule;

  // What a single command prints on standard error for an invalid field:
  // "invalid field: Edit_2: Variance: a number of at least 0.000001".  A
  // batch line keeps the first words alone (BatchText).
  std::string InvalidFieldText() const;
};

// The outcome of a computation's result.
Outcome OutcomeOf(const calculator::Result& result);

// Parses and computes one command.
Outcome Run(const std::vector<std::string>& words);

// The longest batch line that is read (without its LF), and the most words a
// command can have: --inverse, the function and a field per label/edit pair.
constexpr size_t kMaxBatchLineBytes = size_t{1} << 20;
constexpr size_t kMaxCommandWords = 2 + calculator::kSlotCount;

// Reads one batch line (up to LF or the end of the input) into `line`.  A
// line longer than kMaxBatchLineBytes is read to its end but not kept: the
// answer is LineTooLong and `line` holds only its first bytes, so memory does
// not grow with the line.
enum class LineRead { Line, LineTooLong, End };
LineRead ReadBatchLine(std::istream& in, std::string& line);

// Splits a batch line at TAB characters; a CR before the line end is dropped.
// Past kMaxCommandWords words the rest of the line is not split: one more,
// empty word stands for it, which no command accepts ("too many fields").
std::vector<std::string> SplitBatchLine(std::string_view line);

// The text printed for an outcome in batch mode, without the final line end.
std::string BatchText(const Outcome& outcome);

// The names of the functions with an inverse: "normal, chisquare, t" then
// lastSeparator and "f".
std::string InverseFunctionNames(std::string_view lastSeparator);

// A function's fields as --help and --list-functions word them: their
// captions, comma-separated, the x-value of a function with an inverse as
// "x-value (or Percentile)".
std::string FieldList(const calculator::FunctionAbout& about);

// A caption without its access-key mark: "H&ypergeometric Distribution"
// reads "Hypergeometric Distribution" ("&&" stands for one "&").
std::string PlainCaption(std::string_view caption);

// The text of --list-functions: one line per function in the table's order,
// its command name, caption, fields (FieldList) and modes ("forward" or
// "forward inverse"), separated by TAB characters.
std::string FunctionList();

}  // namespace cli
