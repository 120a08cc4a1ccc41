// HypergeometricCumulative leaves out the terms of its lower sum that are
// exactly 0 (far tails whose e^E underflows, and the zero cases), and keeps
// ln B!, ln R! and ln C(B + R, n) across the points.  Here the results are
// held against the plain sum of every term i = 0 .. x - 1 of the plain
// formula, bit for bit, on urns whose tails reach below the smallest
// denormal, through the denormals, on both sides of the mode.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "Distr/Distr.h"

namespace {

using Distr::LnBinomialCoefficient;

bool SameBits(long double a, long double b) {
  return std::memcmp(&a, &b, 10) == 0;
}

// P(X = i) = e^((ln C(B, i) + ln C(R, n - i)) - ln C(B + R, n)), 0 when
// i > B, n - i > R or i > n, with nothing kept from one call to the next.
long double PlainPoint(int32_t B, int32_t R, int32_t n, int32_t i) {
  if (i > B || n - i > R || i > n) return 0;
  return std::exp((LnBinomialCoefficient(B, i) + LnBinomialCoefficient(R, n - i)) -
                  LnBinomialCoefficient(B + R, n));
}

struct Sums {
  long double lower = 0, point = 0, upper = 0;
  int zeros = 0;      // terms of the lower sum that are exactly 0
  int denormals = 0;  // terms that are positive but below the smallest normal
};

Sums PlainCumulative(int32_t B, int32_t R, int32_t n, int32_t x) {
  Sums s;
  long double S = 0;
  if (B < x) {
    S = 1;
  } else {
    for (int32_t i = 0; i < x; ++i) {
      const long double p = PlainPoint(B, R, n, i);
      if (p == 0) ++s.zeros;
      if (p > 0 && p < std::numeric_limits<long double>::min()) ++s.denormals;
      S = S + p;
    }
  }
  s.point = std::fabs(PlainPoint(B, R, n, x));
  s.lower = std::fabs(S + s.point);
  s.upper = std::fabs(1 - S);
  return s;
}

struct Row {
  const char* label;
  int32_t B, R, n, x;
  bool vanishingTerms;  // the lower sum holds terms that underflow to 0
  bool denormalTerms;   // and terms that are denormal
};

// B = R = n = 10^5: the terms are 0 below i = 33285, denormal up to 33316,
// normal up to 66683, denormal again up to 66715 and 0 beyond.
const Row kRows[] = {
    {"only vanishing terms", 100000, 100000, 100000, 30000, true, false},
    {"vanishing, then denormal terms", 100000, 100000, 100000, 33300, true, true},
    {"into the bulk", 100000, 100000, 100000, 49000, true, true},
    {"past the mode", 100000, 100000, 100000, 60000, true, true},
    {"the whole support, vanishing at both ends", 100000, 100000, 100000, 100000, true, true},
    {"support starting at n - R", 200000, 30000, 50000, 45000, true, true},
    {"skewed urn", 20000, 200000, 100000, 5000, true, true},
    {"narrow support", 5, 100000, 50000, 5, false, false},
    {"small urn", 40, 60, 50, 30, false, false},
};

TEST(HypergeometricExactZeros, SameBitsAsThePlainSumOfEveryTerm) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.label);
    long double lower, point, upper;
    Distr::HypergeometricCumulative(row.B, row.R, row.n, row.x, lower, point, upper);
    const Sums plain = PlainCumulative(row.B, row.R, row.n, row.x);
    EXPECT_TRUE(SameBits(lower, plain.lower)) << static_cast<double>(lower);
    EXPECT_TRUE(SameBits(point, plain.point)) << static_cast<double>(point);
    EXPECT_TRUE(SameBits(upper, plain.upper)) << static_cast<double>(upper);
    // The table covers what it claims: vanishing terms, and denormal ones
    // where a row says so.
    EXPECT_EQ(plain.zeros > 0, row.vanishingTerms) << plain.zeros;
    EXPECT_EQ(plain.denormals > 0, row.denormalTerms) << plain.denormals;
  }
}

TEST(HypergeometricExactZeros, PointsKeepTheirBitsWithTheKeptFactorials) {
  // Every point of small urns, and points across large ones, against the
  // plain formula.
  for (int32_t B = 0; B <= 12; ++B)
    for (int32_t R = 0; R <= 12; ++R)
      for (int32_t n = 0; n <= B + R; ++n)
        for (int32_t x = 0; x <= n; ++x)
          ASSERT_TRUE(SameBits(Distr::HypergeometricPoint(B, R, n, x), PlainPoint(B, R, n, x)))
              << B << " " << R << " " << n << " " << x;
  for (int32_t x = 0; x <= 100000; x += 997) {
    EXPECT_TRUE(SameBits(Distr::HypergeometricPoint(100000, 100000, 100000, x),
                         PlainPoint(100000, 100000, 100000, x)))
        << x;
  }
}

TEST(HypergeometricExactZeros, TheMillionCaseIsDecidedByItsBulk) {
  // B = R = n = 10^6, x = 5 * 10^5: the lower sum is 1/2 - P(X = x)/2 by
  // symmetry, and the three results print as such.
  long double lower, point, upper;
  Distr::HypergeometricCumulative(1000000, 1000000, 1000000, 500000, lower, point, upper);
  EXPECT_NEAR(static_cast<double>(point), 1 / std::sqrt(2 * 3.14159265358979 * 125000.0), 1e-7);
  EXPECT_NEAR(static_cast<double>(lower + upper - point), 1.0, 1e-10);
  EXPECT_NEAR(static_cast<double>(lower - point / 2), 0.5, 1e-10);
}

}  // namespace
