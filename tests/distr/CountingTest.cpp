// Tests of the counting functions: ln C(n, k) with its domain, and the
// hypergeometric point and cumulative probabilities.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "Distr/Distr.h"
#include "tests/distr/LongDoubleAssertions.h"

namespace {

using Distr::HypergeometricCumulative;
using Distr::HypergeometricPoint;
using Distr::LnBinomialCoefficient;

constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();
// Largest n for which 2(n + 1), the argument of ln n!, stays in int32.
constexpr int32_t kLargestN = 1073741822;

using distr_test::Fixed6;

// C(n, k) in exact integer arithmetic, for small n.
uint64_t Choose(int n, int k) {
  if (k < 0 || k > n) return 0;
  uint64_t c = 1;
  for (int i = 1; i <= k; ++i) c = c * static_cast<uint64_t>(n - k + i) / static_cast<uint64_t>(i);
  return c;
}

struct Cumulative {
  long double lower, point, upper;
};

Cumulative Hypergeometric(int32_t B, int32_t R, int32_t n, int32_t x) {
  Cumulative c{};
  HypergeometricCumulative(B, R, n, x, c.lower, c.point, c.upper);
  return c;
}

// The cumulative probabilities summed term by term over every i < x, in
// increasing order, with no term skipped.
Cumulative PlainSum(int32_t B, int32_t R, int32_t n, int32_t x) {
  long double S = 0;
  if (B < x) {
    S = 1;
  } else {
    for (int32_t i = 0; i < x; ++i) S = S + HypergeometricPoint(B, R, n, i);
  }
  Cumulative c{};
  c.point = std::fabs(HypergeometricPoint(B, R, n, x));
  c.lower = std::fabs(S + c.point);
  c.upper = std::fabs(1 - S);
  return c;
}

// ---- LnBinomialCoefficient ----

TEST(LnBinomialCoefficientTest, EndsAreExactlyZero) {
  // exact: ln C(n, 0) = ln C(n, n) = 0, the equal terms cancel and ln 0! = 0
  for (int32_t n : {0, 1, 2, 7, 248, 249, 250, 251, 499, 500, 1000, 123456, kLargestN}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(LnBinomialCoefficient(n, 0), 0.0L);
    EXPECT_EQ(LnBinomialCoefficient(n, n), 0.0L);
  }
}

TEST(LnBinomialCoefficientTest, Values) {
  struct Row {
    const char* label;
    int32_t n, k;
    long double expected;
    long double tolerance;
  };
  const Row rows[] = {
      {"C(5, 2) = 10", 5, 2, std::log(10.0L), 1e-18L},
      {"C(10, 3) = 120", 10, 3, std::log(120.0L), 1e-17L},
      {"C(52, 5) = 2598960", 52, 5, std::log(2598960.0L), 1e-16L},
      {"C(60, 30) = 118264581564861424", 60, 30, std::log(118264581564861424.0L), 1e-15L},
      // exact: C(n, 1) = C(n, n - 1) = n, here through Stirling's series
      {"C(1000, 1) = 1000", 1000, 1, std::log(1000.0L), 1e-14L},
      {"C(1000, 999) = 1000", 1000, 999, std::log(1000.0L), 1e-14L},
      {"C(2^30 - 2, 1)", kLargestN, 1, std::log(static_cast<long double>(kLargestN)), 1e-7L},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_NEAR_L(LnBinomialCoefficient(row.n, row.k), row.expected, row.tolerance);
  }
}

TEST(LnBinomialCoefficientTest, SubtractsInTheOrderOfTheDefinition) {
  // ln C(n, k) = (ln n! - ln (n - k)!) - ln k!, with ln m! = LnGammaHalf(2m + 2);
  // another order of the two subtractions differs in the last bits.
  const int32_t rows[][2] = {{5, 2},      {10, 3},      {52, 5},       {249, 17},    {250, 1},
                             {600, 7},    {600, 593},   {1000, 333},   {4321, 1234}, {99999, 50000},
                             {123456, 7}, {1000000, 1}, {kLargestN, 3}};
  for (const auto& nk : rows) {
    const int32_t n = nk[0], k = nk[1];
    SCOPED_TRACE(std::to_string(n) + ", " + std::to_string(k));
    const long double expected =
        (Distr::LnGammaHalf(2 * n + 2) - Distr::LnGammaHalf(2 * (n - k) + 2)) -
        Distr::LnGammaHalf(2 * k + 2);
    EXPECT_EQ(LnBinomialCoefficient(n, k), expected);
  }
}

TEST(LnBinomialCoefficientTest, ArgumentsOutsideTheDomainRaise) {
  // Even where n alone would overflow (kMaxInt), the domain answers first.
  const int32_t rows[][2] = {{3, 5},       {-1, 0}, {4, -2},     {-3, -3},
                             {kMinInt, 0}, {0, 1},  {0, kMinInt}, {kMaxInt, -1}};
  for (const auto& nk : rows) {
    SCOPED_TRACE(std::to_string(nk[0]) + ", " + std::to_string(nk[1]));
    EXPECT_THROW(LnBinomialCoefficient(nk[0], nk[1]), Distr::EDomainError);
  }
}

TEST(LnBinomialCoefficientTest, IntegerOverflow) {
  // 2(n + 1) leaves int32 from n = 2^30 - 1 on
  const int32_t rows[][2] = {{1073741823, 1}, {1073741823, 0}, {kMaxInt, 5}, {kMaxInt, kMaxInt}};
  for (const auto& nk : rows) {
    SCOPED_TRACE(nk[0]);
    EXPECT_THROW(LnBinomialCoefficient(nk[0], nk[1]), Distr::EIntOverflow);
  }
}

// ---- HypergeometricPoint ----

TEST(HypergeometricPointTest, ZeroCases) {
  struct Row {
    const char* label;
    int32_t B, R, n, x;
  };
  const Row rows[] = {
      {"more blue than the urn holds", 3, 10, 5, 4},
      {"more red than the urn holds", 10, 2, 8, 5},
      {"more blue than the sample", 10, 10, 3, 4},
      {"sample larger than the urn", 2, 2, 5, 2},
      {"zero cases before any overflow", kMaxInt, kMaxInt, 5, 6},
      {"huge sample", 5, 5, kMaxInt, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(HypergeometricPoint(row.B, row.R, row.n, row.x), 0.0L);
  }
}

TEST(HypergeometricPointTest, AgreesWithExactRatios) {
  // exact: C(B, x) C(R, n - x) / C(B + R, n) in integers
  const int32_t urns[][3] = {{10, 7, 8}, {5, 5, 5}, {20, 30, 12}, {1, 1, 1}, {0, 6, 3}};
  for (const auto& u : urns) {
    const int32_t B = u[0], R = u[1], n = u[2];
    for (int32_t x = 0; x <= n; ++x) {
      SCOPED_TRACE(std::to_string(B) + " " + std::to_string(R) + " " + std::to_string(n) + " " +
                   std::to_string(x));
      const long double exact = static_cast<long double>(Choose(B, x) * Choose(R, n - x)) /
                                static_cast<long double>(Choose(B + R, n));
      EXPECT_NEAR_L(HypergeometricPoint(B, R, n, x), exact, 1e-16L);
    }
  }
}

TEST(HypergeometricPointTest, AddsAndSubtractsInTheOrderOfTheDefinition) {
  // P(X = x) = e^((ln C(B, x) + ln C(R, n - x)) - ln C(B + R, n)), in this order
  const int32_t rows[][4] = {{5, 5, 5, 2},
                             {10, 7, 8, 3},
                             {300, 200, 250, 140},
                             {1000, 3000, 800, 190},
                             {50000, 70000, 60000, 25010}};
  for (const auto& r : rows) {
    const int32_t B = r[0], R = r[1], n = r[2], x = r[3];
    SCOPED_TRACE(std::to_string(B) + " " + std::to_string(R) + " " + std::to_string(n) + " " +
                 std::to_string(x));
    const long double expected =
        std::exp((LnBinomialCoefficient(B, x) + LnBinomialCoefficient(R, n - x)) -
                 LnBinomialCoefficient(B + R, n));
    EXPECT_EQ(HypergeometricPoint(B, R, n, x), expected);
  }
}

TEST(HypergeometricPointTest, IntegerOverflow) {
  // ln C(B, x) with B = 2^30 - 1 forms 2(B + 1) = 2^31
  EXPECT_THROW(HypergeometricPoint(1073741823, 5, 3, 1), Distr::EIntOverflow);
  EXPECT_THROW(HypergeometricPoint(5, 1073741823, 3, 1), Distr::EIntOverflow);
  // B + R = 2^30 - 1 + 2^30 - 2 is fine, but ln C(B + R, n) overflows
  EXPECT_THROW(HypergeometricPoint(kLargestN, kLargestN, 3, 1), Distr::EIntOverflow);
}

// ---- HypergeometricCumulative ----

TEST(HypergeometricCumulativeTest, SpotValues) {
  // exact: B = R = n = 5, x = 2: 126/252, 100/252 and 226/252
  const Cumulative c = Hypergeometric(5, 5, 5, 2);
  EXPECT_NEAR_L(c.lower, 126.0L / 252, 1e-18L);
  EXPECT_NEAR_L(c.point, 100.0L / 252, 1e-18L);
  EXPECT_NEAR_L(c.upper, 226.0L / 252, 1e-18L);
  EXPECT_EQ(Fixed6(c.lower), "0.500000");
  EXPECT_EQ(Fixed6(c.point), "0.396825");
  EXPECT_EQ(Fixed6(c.upper), "0.896825");
}

TEST(HypergeometricCumulativeTest, ExactEdges) {
  struct Row {
    const char* label;
    int32_t B, R, n, x;
    long double lower, point, upper;
  };
  const Row rows[] = {
      // exact: x > B gives 1, 0, 0
      {"x > B", 3, 4, 5, 4, 1, 0, 0},
      {"x > B, huge", 3, kMaxInt, kMaxInt, kMaxInt, 1, 0, 0},
      // exact: a sample larger than the urn makes every point 0
      {"n > B + R, x = 0", 2, 2, 5, 0, 0, 0, 1},
      {"n > B + R, x = B", 2, 2, 5, 2, 0, 0, 1},
      {"n > B + R, x > B", 2, 2, 5, 3, 1, 0, 0},
      {"n > B + R, huge n", 5, 5, kMaxInt, 3, 0, 0, 1},
      // exact: no blue balls, X = 0 for certain
      {"B = 0, n < R", 0, 5, 3, 0, 1, 1, 1},
      {"B = 0, n = R", 0, 5, 5, 0, 1, 1, 1},
      {"empty urn and sample", 0, 0, 0, 0, 1, 1, 1},
      // exact: x = 0 runs no sum, P(X >= 0) = 1
      {"x = 0, sample of one", 1, 1, 1, 0, 0.5L, 0.5L, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    const Cumulative c = Hypergeometric(row.B, row.R, row.n, row.x);
    EXPECT_EQ(c.lower, row.lower);
    EXPECT_EQ(c.point, row.point);
    EXPECT_EQ(c.upper, row.upper);
  }
}

TEST(HypergeometricCumulativeTest, SameBitsAsTheFullSum) {
  // The sum skips only terms that are exactly 0 (i < n - R and i > n) and forms
  // ln C(B + R, n) once; the results equal the term-by-term sum to the bit.
  struct Row {
    const char* label;
    int32_t B, R, n, x;
  };
  const Row rows[] = {
      {"no skip", 10, 7, 8, 5},
      {"x = B", 10, 7, 8, 8},
      {"skip below n - R", 30, 3, 20, 19},
      {"skip below n - R, x at the lower end", 30, 3, 20, 17},
      {"skip below n - R, x below it", 30, 3, 20, 10},
      {"skip above n", 1000, 1000, 5, 900},
      {"skip on both sides", 400, 2, 6, 300},
      {"large", 3000, 2500, 4000, 2100},
      {"Stirling terms", 700, 900, 800, 350},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    const Cumulative fast = Hypergeometric(row.B, row.R, row.n, row.x);
    const Cumulative plain = PlainSum(row.B, row.R, row.n, row.x);
    EXPECT_EQ(fast.lower, plain.lower);
    EXPECT_EQ(fast.point, plain.point);
    EXPECT_EQ(fast.upper, plain.upper);
  }
}

TEST(HypergeometricCumulativeTest, LowerPlusUpperMinusPointIsOne) {
  // identity: P(X <= x) + P(X >= x) - P(X = x) = 1
  struct Row {
    const char* label;
    int32_t B, R, n, x;
  };
  const Row rows[] = {
      {"small", 5, 5, 5, 2},          {"lower end", 10, 7, 8, 1},
      {"upper end", 10, 7, 8, 8},     {"skewed", 50, 500, 100, 9},
      {"far tail", 50, 500, 100, 30}, {"large", 100000, 100000, 100000, 50000},
      {"few red", 1000, 3, 500, 499}, {"huge blue, tiny sample", 1000000000, 1, 1, 999999999},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    const Cumulative c = Hypergeometric(row.B, row.R, row.n, row.x);
    EXPECT_NEAR_L(c.lower + c.upper - c.point, 1.0L, 1e-15L);
  }
}

TEST(HypergeometricCumulativeTest, AgreesWithExactSums) {
  // exact: the cumulative sums of C(B, i) C(R, n - i) / C(B + R, n)
  const int32_t B = 10, R = 7, n = 8;
  const long double all = static_cast<long double>(Choose(B + R, n));
  uint64_t below = 0;  // sum of C(B, i) C(R, n - i) for i < x
  for (int32_t x = 0; x <= B + 1; ++x) {
    SCOPED_TRACE(x);
    const uint64_t at = Choose(B, x) * Choose(R, n - x);
    const Cumulative c = Hypergeometric(B, R, n, x);
    if (x <= B) {
      EXPECT_NEAR_L(c.lower, static_cast<long double>(below + at) / all, 1e-16L);
      EXPECT_NEAR_L(c.point, static_cast<long double>(at) / all, 1e-16L);
      EXPECT_NEAR_L(c.upper, 1 - static_cast<long double>(below) / all, 1e-16L);
    }
    below += at;
  }
}

TEST(HypergeometricCumulativeTest, SymmetricUrnHalfway) {
  // identity: with B = R = n the distribution is symmetric about n/2, so
  // P(X <= n/2) = P(X >= n/2) = (1 + P(X = n/2)) / 2.  Each point is
  // e^(difference of ln factorials near ln 200000! = 2.2e6), whose last bit
  // is 2.3e-13, so the points are good to about 1e-12 relative.
  const Cumulative c = Hypergeometric(100000, 100000, 100000, 50000);
  EXPECT_NEAR_L(c.lower, (1 + c.point) / 2, 1e-12L);
  EXPECT_NEAR_L(c.upper, (1 + c.point) / 2, 1e-12L);
  // and with few enough balls that the logarithms are small, much closer
  const Cumulative d = Hypergeometric(40, 40, 40, 20);
  EXPECT_NEAR_L(d.lower, (1 + d.point) / 2, 1e-17L);
  EXPECT_NEAR_L(d.upper, (1 + d.point) / 2, 1e-17L);
}

TEST(HypergeometricCumulativeTest, IntegerOverflow) {
  // ln C(B, i) with B = 2^30 - 1
  long double lower, point, upper;
  EXPECT_THROW(HypergeometricCumulative(1073741823, 1, 1, 1, lower, point, upper),
               Distr::EIntOverflow);
}

}  // namespace
