// Differences of decimals typed, computed on their digits and rounded once:
// the complement 1 - p of a probability (0.999999 gives the extended real
// nearest 0.000001, where 1 - p of the rounded p would be off by 2.4e-14
// relative), and x - location (130.1 - 100.3 is the real nearest 29.8,
// whatever the roundings of 130.1 and 100.3).
#pragma once

#include <optional>
#include <string_view>

#include "models/Details.h"

namespace calculator {

// 1 - p for a text that reads as a decimal p with 0 <= p <= 1 ("0.975",
// "9.99999e-1", " .5 "); none for any other text.
std::optional<long double> DecimalComplement(std::string_view text);

// p as the fraction of whole numbers it is exactly ("0.3" is 3 / 10), for
// a text that reads as a decimal p with 0 <= p <= 1; none for any other.
std::optional<models::Ratio> DecimalRatio(std::string_view text);

// a - b for two texts that read as decimals ("-1.5", "2e3"); none where
// either is no plain decimal or their powers of ten lie too far apart.
std::optional<long double> DecimalDifference(std::string_view a, std::string_view b);

// What the long double value read from text leaves out of it: text - value
// (or, with ofComplement, (1 - text) - value, for the complement of a
// probability), rounded once; none where the text is no plain decimal.
std::optional<long double> DecimalResidual(std::string_view text, long double value,
                                           bool ofComplement = false);

}  // namespace calculator
