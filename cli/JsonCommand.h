// probex-calc --json: one computation as one JSON object, with the details
// of every value (calculator/ResultDetails.h) beside the two log lines.
//
// Keys: "function", "inverse", "status" ("ok", "invalid", "error", or
// "usage" for a malformed batch line), "field" (invalid: "Edit_N", the field
// that keeps the focus) with "rule", "message" (error and usage),
// "parameters" (the parsed fields by name), "lines" (the two log lines), the
// values of the function's family and mode, "mean" and "variance", and
// "notes": why a value is null, and where the log's digits hide or differ
// from the accurate value.  Numbers are written from the extended value with
// 17 significant digits (values below double's range included); a value the
// engine cannot give is null.
#pragma once

#include <string>
#include <vector>

#include "cli/Command.h"

namespace cli {

struct JsonAnswer {
  std::string json;  // one line, no line end
  int exitStatus;    // as without --json: 0, 1 (error), 2 (invalid), 64 (usage)
};

// The words [--inverse] FUNCTION [FIELD...] of one command.
JsonAnswer RunJson(const std::vector<std::string>& words);

}  // namespace cli
