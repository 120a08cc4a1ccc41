// A result from the words of a probex-calc command, for the plot's tests.
#pragma once

#include <string>
#include <vector>

#include "calculator/Calculator.h"
#include "cli/Command.h"

inline calculator::Result ResultOf(const std::vector<std::string>& words) {
  const cli::ParsedCommand parsed = cli::ParseCommand(words);
  if (!parsed.command) return {};
  const cli::Command& c = *parsed.command;
  return calculator::Compute(c.function, c.texts, c.mode);
}
