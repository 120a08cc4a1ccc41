// Scaling an extended real by a power of ten, shared by the parser and the
// number texts.  Each step multiplies or divides by an exactly representable
// power (10^27 is the largest whose 5^27 fits the 64-bit mantissa), so a
// power up to 27 costs one correctly rounded operation.
#pragma once

#include <cstdint>

namespace calculator {

// x * 10^power, rounded step by step; infinities and 0 come out where the
// extended range ends.
long double ScaleByPowerOfTen(long double x, int64_t power);

}  // namespace calculator
