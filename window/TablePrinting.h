// Printing a table of values.
//
// Every page carries the column headings at its top and "Page n of m"
// centred at its foot; the first page starts with the title line (the
// distribution, its parameters and what the table shows).  The cells stand
// right-aligned in columns as wide as their widest text, in "Courier New" at
// kTablePrintPoints, or smaller (not below kSmallestTablePrintPoints) when
// the widest row would run past the page width.  Black on white paper.
#pragma once

#include "tables/Tables.h"

class QPainter;
class QPrinter;

namespace window {

inline constexpr int kTablePrintPoints = 10;
inline constexpr int kSmallestTablePrintPoints = 5;

// Prints `table` as one job; `painter` is active on `printer`.  Answers the
// number of pages.
int PrintTable(QPainter& painter, QPrinter& printer, const tables::Table& table);

}  // namespace window
