// The details of a result as rows of text for the details pane: a label and
// the value with 10 significant digits (scientific where a fixed text would
// hide digits: 9.865876450e-10), or the sentence saying why there is none.
#pragma once

#include <string>
#include <vector>

#include "calculator/ResultDetails.h"

namespace calculator {

struct DetailRow {
  std::string label;  // "P(X<130)", "Density f(x)", "Mean", ...
  std::string text;   // the value, or why there is none
};

std::vector<DetailRow> DetailRows(const ResultDetails& details);

// 10 significant digits: fixed from 0.0001 to below 10^10, scientific
// otherwise ("9.865876450e-10"); "0" for zero.
std::string TenDigitText(long double value);

}  // namespace calculator
