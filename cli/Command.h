// probex-calc: one computation of the calculator model per command.
//
// A command is the words [--inverse] FUNCTION [FIELD...]: the function's
// command name and the texts of its visible fields in the order Edit_1 to
// Edit_4 (hidden fields skipped); fields not given keep their defaults.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calculator/Calculator.h"

namespace cli {

// What one command printed, and how it ended.
struct Outcome {
  enum class Kind { Lines, InvalidField, RunTimeError, Usage };
  Kind kind;
  std::vector<std::string> lines;  // Lines: the header and result lines
  std::string message;  // InvalidField: "Edit_N"; RunTimeError: the box text; Usage: the fault
};

// Runs one command on the model (which is arranged afresh for it; its log is
// emptied afterwards, so a long batch keeps no history).
Outcome Run(calculator::Calculator& model, const std::vector<std::string>& words);

// Splits a batch line at TAB characters; a CR before the line end is dropped.
std::vector<std::string> SplitBatchLine(std::string_view line);

// The text printed for an outcome in batch mode, without the final line end.
std::string BatchText(const Outcome& outcome);

}  // namespace cli
