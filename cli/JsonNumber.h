// Extended reals as JSON number texts, quickly.
//
// printf needs about a microsecond for one long double, more than the whole
// of a typical report; JSON output writes eight of them per line.  Here the
// value is scaled by a power of ten in extended arithmetic and rounded to a
// 17-digit whole number: a few roundings of 2^-64 each, so the digits are
// those of the extended value to within a unit of the 17th digit, far below
// the 1e-15 to which the values are accurate.  Powers up to 10^27 are exact
// in the extended format, so values with few digits (100, 0.376953125) come
// out exactly.
#pragma once

#include <string>

namespace cli {

// 17 significant digits, trailing zeros dropped, fixed form for decimal
// exponents from -5 to 16 and "d.ddde-N" form otherwise (as %.17Lg, but
// without the exponent's leading zero); "null" for an infinity or NaN, which
// JSON cannot carry.
std::string JsonNumber(long double value);
// The same text appended to `json`.
void AppendJsonNumber(std::string& json, long double value);

}  // namespace cli
