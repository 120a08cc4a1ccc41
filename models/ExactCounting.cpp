// The counting functions n! and C(n, k): the exact integer from GMP whenever
// its decimal expansion has at most kMaxExactDigits digits, and log10 always.
//
// Whether the integer fits is decided on the logarithm first, so that no
// integer of millions of digits is ever formed.  When the integer is there,
// log10 is read from it (its leading 64 bits m and the shift e of m 2^e), so
// that log10 C(2^31 - 1, 1) is log10(2^31 - 1) to the last place and not the
// difference of three logarithms of size 10^10.  Otherwise ln Gamma is taken
// in Stirling's form with its error term, arranged so that nothing large
// cancels:
//   ln n!     = n (ln n - 1) + ln sqrt(2 pi n) + s(n),
//   ln C(n,k) = k ln(n/k) - j ln(1 - k/n) + (1/2) ln(n / (2 pi k j)) + s(n) - s(k) - s(j),
// with j = n - k, k <= j, and s the error of Stirling's formula (Stirling.h).
#include <gmp.h>

#include <algorithm>
#include <boost/math/constants/constants.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "models/BigInteger.h"
#include "models/BoostPolicy.h"
#include "models/Engine.h"
#include "models/Stirling.h"

namespace models {

namespace {

// Counts below 2^63 fit GMP's unsigned long arguments.
constexpr long double kCountLimit = 9223372036854775808.0L;  // 2^63
// Up to this many factors C(n, k) is the plain sum of ln((n - k + i) / i).
constexpr long double kDirectFactors = 15;
constexpr long double kLog10E = 0.434294481903251827651128918916605082L;
// The exact integer is formed when log10 says at most kMaxExactDigits digits,
// with this much room for the rounding of log10.
constexpr long double kDigitsSlack = 1e-6L;

bool Whole(long double v) {
  return std::isfinite(v) && v == std::floor(v);
}

long double LnRootTwoPi() {
  return std::log(boost::math::constants::root_two_pi<long double>());
}

long double LnFactorial(long double n) {
  if (n <= kDirectFactors) return boost::math::lgamma(n + 1, BoostPolicy());
  return n * (std::log(n) - 1) + (LnRootTwoPi() + std::log(n) / 2) + StirlingError(n);
}

// ln C(n, k) for 1 <= k <= n - k.
long double LnBinomial(long double n, long double k) {
  const long double j = n - k;
  if (k <= kDirectFactors) {
    long double sum = 0;
    for (long double i = 1; i <= k; ++i) sum += std::log((j + i) / i);
    return sum;
  }
  const long double twoPi = boost::math::constants::two_pi<long double>();
  return k * std::log(n / k) - j * std::log1p(-k / n) + std::log(n / (twoPi * k * j)) / 2 +
         (StirlingError(n) - StirlingError(k) - StirlingError(j));
}

std::string TooManyDigits(long double log10) {
  char text[96];
  std::snprintf(text, sizeof text, "%.0Lf digits, more than the %d written in full",
                std::floor(log10) + 1, kMaxExactDigits);
  return text;
}

// The counting result of an integer whose log10 is estimated; fill forms it.
template <class Fill>
Counting Count(long double log10, Fill&& fill) {
  if (log10 >= kMaxExactDigits + kDigitsSlack)
    return {std::nullopt, Value::Of(log10), TooManyDigits(log10)};
  BigInteger value;
  fill(value.get());
  std::string digits = value.Decimal();
  if (digits.size() > static_cast<size_t>(kMaxExactDigits))
    return {std::nullopt, Value::Of(value.Log10()), TooManyDigits(log10)};
  return {std::move(digits), Value::Of(value.Log10()), ""};
}

Counting Refused(const std::string& why) {
  return {std::nullopt, Value::None(why), why};
}

}  // namespace

Counting Factorial(long double n) {
  HeldFloatEnvironment held;
  if (!Whole(n) || n < 0 || n >= kCountLimit)
    return Refused("n must be a whole number from 0 to 2^63 - 1");
  const auto whole = static_cast<unsigned long>(n);
  return Count(LnFactorial(n) * kLog10E, [&](mpz_ptr z) { mpz_fac_ui(z, whole); });
}

Counting BinomialCoefficient(long double n, long double k) {
  HeldFloatEnvironment held;
  if (!Whole(n) || n < 0 || n >= kCountLimit)
    return Refused("n must be a whole number from 0 to 2^63 - 1");
  if (!Whole(k) || k < 0 || k > n) return Refused("k must be a whole number from 0 to n");
  const long double smaller = std::min(k, n - k);
  const long double log10 = smaller == 0 ? 0 : LnBinomial(n, smaller) * kLog10E;
  const auto wholeN = static_cast<unsigned long>(n), wholeK = static_cast<unsigned long>(smaller);
  return Count(log10, [&](mpz_ptr z) { mpz_bin_uiui(z, wholeN, wholeK); });
}

}  // namespace models
