// ln Gamma(n/2) up to n = 500 comes from a table that the direct sum fills
// once; here every entry is held against the sum computed anew, bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "Distr/Distr.h"

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kTwoPi = 6.283185307179586476925286766559005768L;

// The direct sum, step by step: r = 0, m = n; while m > 2: m = m - 2,
// r = r + ln(m/2); then r = r + ln(pi)/2 when m = 1.
long double PlainDirectSum(int32_t n) {
  long double r = 0;
  int32_t m = n;
  while (m > 2) {
    m = m - 2;
    r = r + std::log(static_cast<long double>(m) / 2);
  }
  if (m == 1) r = r + std::log(kPi) / 2;
  return r;
}

// Stirling's series, step by step, as used above n = 500.
long double PlainStirling(int32_t n) {
  const long double h = static_cast<long double>(n) / 2;
  const long double a = std::log(kTwoPi) / 2;
  const long double b = std::log(h) * (h - 0.5L) + a;
  const long double c = (b - h) + 1 / (h * 12);
  return c - (((1.0L / 360) / h) / h) / h;
}

bool SameBits(long double a, long double b) {
  return std::memcmp(&a, &b, 10) == 0;
}

TEST(LnGammaHalfDirectSum, EveryTableEntryIsTheSumToTheBit) {
  for (int32_t n = -5; n <= 500; ++n) {
    const long double expected = PlainDirectSum(n);
    const long double actual = Distr::LnGammaHalf(n);
    EXPECT_TRUE(SameBits(actual, expected)) << "n = " << n << ": " << static_cast<double>(actual)
                                            << " vs " << static_cast<double>(expected);
  }
}

TEST(LnGammaHalfDirectSum, NonPositiveArgumentsArePositiveZero) {
  for (int32_t n : {0, -1, -2, -499, INT32_MIN}) {
    const long double value = Distr::LnGammaHalf(n);
    EXPECT_EQ(value, 0.0L) << n;
    EXPECT_FALSE(std::signbit(value)) << n;
  }
}

TEST(LnGammaHalfDirectSum, StirlingTakesOverAfterTheTable) {
  // The last table entry and the first Stirling values, against their plain forms.
  EXPECT_TRUE(SameBits(Distr::LnGammaHalf(500), PlainDirectSum(500)));
  for (int32_t n : {501, 502, 503, 1000, 123457, 2147483647}) {
    EXPECT_TRUE(SameBits(Distr::LnGammaHalf(n), PlainStirling(n))) << "n = " << n;
  }
}

TEST(LnGammaHalfDirectSum, RepeatedCallsGiveTheSameBits) {
  // The table is built once; later calls read the same entries.
  for (int32_t n : {1, 2, 3, 249, 250, 499, 500}) {
    const long double first = Distr::LnGammaHalf(n);
    for (int repeat = 0; repeat < 3; ++repeat) EXPECT_TRUE(SameBits(Distr::LnGammaHalf(n), first));
  }
}

}  // namespace
