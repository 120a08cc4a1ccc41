// Hints for run-time errors: which field drove a computation out of range,
// and the limit that keeps it in.
//
// A run-time error ("Integer overflow", "Floating point overflow") carries
// no field: the mathematics only knows that a whole number left the 32-bit
// range or a real left the extended range.  For the common causes the input
// tells which field it was: a whole-number parameter beyond the size the
// tails' arithmetic can double (degrees of freedom from 2^30 on), or a real
// so large that its square overflows.  ErrorHint reads the field texts again
// and names that field with its limit, in a sentence for the message box.
#pragma once

#include <optional>
#include <string>

#include "calculator/Calculator.h"

namespace calculator {

// "Degrees of freedom: at most 1073741823." for an Error result whose cause
// the texts show; empty for any other result or cause.  `texts` are the
// field texts the result was computed from.
std::optional<std::string> ErrorHint(const Result& result, const FieldTexts& texts);

}  // namespace calculator
