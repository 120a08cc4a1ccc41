// The number texts of the log lines.
//
// Reals are written by one conversion with a minimum width w and either d
// decimals (the fixed form) or none (the scientific form).  The conversion
// scales the value to s * 10^k with s in [1, 16), takes D = s * 10^17 rounded
// to a whole number as 19 decimal positions (position 0, the 10^18 place, is
// 0 or 1) and keeps 18 significant digits (19 when position 0 is 1); any
// further digit is written as 0.  From 2^120 on (k > 35) the fixed form gives
// way to the short scientific form.
#pragma once

#include <cstdint>
#include <string>

namespace calculator {

// Decimal digits, "-" when negative, no blanks, no separators.
std::string IntegerText(int32_t value);

// How the scientific form keeps its digits where the mantissa s is 10 or
// more: Cut, as the nine first functions' log lines always have, keeps one
// digit fewer than it rounded to (1.555e87 is " 1.5E+0087"); Rounded gives
// the digits correctly rounded (" 1.6E+0087"), as every other line does.
enum class ShortForm { Cut, Rounded };

// The general conversion: decimals >= 0 asks for the fixed form with that
// many decimals, decimals < 0 for the scientific form; padded on the left with
// blanks to width.
std::string RealText(long double value, int width, int decimals, ShortForm form = ShortForm::Cut);

std::string Fixed6Text(long double value, ShortForm form = ShortForm::Cut);  // 0.025 -> "0.025000"
std::string Fixed4Text(long double value);        // 5912.128178 -> "5912.1282"
std::string WholeText(long double value);         // 120 -> "120"; 2.048e600 -> " 2.0E+0600"
std::string Scientific20Text(long double value);  // 19! -> " 1.21645100408E+0017"

// A probability: Fixed6Text, except that a tiny negative value (a difference
// of two tails that rounded below 0) prints as "0.000000", never as a
// negative probability.
std::string ProbabilityText(long double value);

}  // namespace calculator
