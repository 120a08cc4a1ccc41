// probex-calc's tables: --table prints probabilities over a range of
// x-values, --critical the x-values with P(X>x) = alpha.
//
//   probex-calc --table FUNCTION [FIELD...] [--from A] [--to B] [--step H]
//   probex-calc --critical FUNCTION [FIELD...] [--alpha LIST]
//                                   [--df LIST | --df1 LIST --df2 LIST]
//
// The FIELDs are the function's fields without the x-value (and, for
// --critical, without the degrees of freedom, which the lists give), in
// order; fields and options not given keep the table window's presets (the
// textbook tables for --critical).  Lists separate their entries by commas.
// The table is printed as TAB-separated text with a header row, every cell
// as the log writes that number; a cell whose computation fails holds the
// error's message.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tables/Tables.h"

namespace cli {

// Whether the words ask for a table (the first is --table or --critical).
bool IsTableCommand(const std::vector<std::string>& words);

// The words read and validated: the table's plan, or why the command is
// refused, with the exit status and the text RunTableCommand prints to
// stderr.  Computes no row.
struct TableCommand {
  std::optional<tables::Plan> plan;
  int exitStatus = 0;  // 0, 2 (a value breaks its rule) or 64 (usage)
  std::string fault;   // empty with a plan
};
TableCommand PrepareTableCommand(const std::vector<std::string>& words);

// Prints the table to `out`, or the fault to `err`; answers the exit status:
// 0, 2 for a value that breaks its field's rule (probex-calc's invalid
// field), 64 for a wrong option, function or list and for a range of more
// rows than a table holds.
int RunTableCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace cli
