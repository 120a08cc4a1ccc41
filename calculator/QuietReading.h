// Field texts read for the tables, where a text beyond the extended range
// is invalid input like any other: ParseReal and ReadField raise
// Distr::EOverflow for it (Compute answers it as a run-time error), these
// routines answer it in their result instead.
#pragma once

#include <optional>
#include <string_view>

#include "calculator/Calculator.h"

namespace calculator {

// ReadField; a real text beyond the extended range breaks the rule that an
// empty text breaks (the field's, or the percentile's) and leaves `value`.
const char* QuietReadField(const FieldAbout& field, std::string_view text, Mode mode,
                           long double& value);

// ParseReal's value, whether the text is valid or not; none for a text
// beyond the extended range.
std::optional<long double> QuietRealValue(std::string_view text);

}  // namespace calculator
