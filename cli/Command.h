// probex-calc: one computation of the calculator model per command.
//
// A command is the words [--inverse] FUNCTION [FIELD...]: the function's
// command name and the texts of its visible fields in the order Edit_1 to
// Edit_4 (hidden fields skipped); fields not given keep their defaults.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calculator/Calculator.h"

namespace cli {

// A command's input to Compute.
struct Command {
  calculator::Function function = calculator::Function::Normal;
  bool inverse = false;
  calculator::FieldTexts texts;
};

// A parsed command, or the usage fault that stops it.
struct ParsedCommand {
  std::optional<Command> command;
  std::string usage;  // without a command: "no function given", ...
};

ParsedCommand ParseCommand(const std::vector<std::string>& words);

// What one command printed, and how it ended.
struct Outcome {
  enum class Kind { Lines, InvalidField, RunTimeError, Usage };
  Kind kind;
  std::vector<std::string> lines;  // Lines: the header and result lines
  std::string message;  // InvalidField: "Edit_N"; RunTimeError: the box text; Usage: the fault
};

// The outcome of a computation's result.
Outcome OutcomeOf(const calculator::Result& result);

// Parses and computes one command.
Outcome Run(const std::vector<std::string>& words);

// Splits a batch line at TAB characters; a CR before the line end is dropped.
std::vector<std::string> SplitBatchLine(std::string_view line);

// The text printed for an outcome in batch mode, without the final line end.
std::string BatchText(const Outcome& outcome);

// The names of the functions with an inverse: "normal, chisquare, t" then
// lastSeparator and "f".
std::string InverseFunctionNames(std::string_view lastSeparator);

// The FUNCTION list of --help, one line per function with its fields.
std::string FunctionHelp();

}  // namespace cli
