// The complement 1 - p of a probability typed as a decimal, computed on the
// decimal digits and rounded once: 0.999999 gives the extended real nearest
// 0.000001, where 1 - p of the rounded p would be off by 2.4e-14 relative.
#pragma once

#include <optional>
#include <string_view>

namespace calculator {

// 1 - p for a text that reads as a decimal p with 0 <= p <= 1 ("0.975",
// "9.99999e-1", " .5 "); none for any other text.
std::optional<long double> DecimalComplement(std::string_view text);

}  // namespace calculator
