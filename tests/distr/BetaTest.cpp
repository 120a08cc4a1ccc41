// Tests of the beta family: spot values, closed forms, identities, exact
// edges (0, 1, the switch at a + b = 41, the int32 limits) and errors.
//
// Six-decimal values are compared as the reports print them (Fixed-6 text).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Distr/Distr.h"
#include "tests/distr/LongDoubleAssertions.h"

namespace {

using Distr::BetaHalf;
using Distr::BetaHalfInverse;
using Distr::BetaHalfInverseOriented;
using Distr::BetaSeries;
using Distr::BinomialTail;
using Distr::FTail;
using Distr::FTailInverse;
using Distr::TTail;
using Distr::TTailInverse;

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();
constexpr long double kInf = std::numeric_limits<long double>::infinity();
// Largest whole parameter for which a + b of two equal ones stays in int32.
constexpr int32_t kHalfMaxInt = 1073741823;

using distr_test::Fixed6;

// C(n, j) for small n, exact in long double (n <= 60 stays below 2^64).
long double Choose(int n, int j) {
  long double c = 1;
  for (int i = 1; i <= j; ++i) c = c * (n - j + i) / i;
  return c;
}

// P(X >= k) for X binomial (n, p) by the direct sum of the probabilities.
long double BinomialUpperSum(int n, int k, long double p) {
  long double sum = 0;
  for (int j = k; j <= n; ++j) sum += Choose(n, j) * std::pow(p, j) * std::pow(1 - p, n - j);
  return sum;
}

// ---- BetaHalf ----

TEST(BetaHalfTest, HalfAtEqualParametersIsExactlyHalf) {
  // exact: I_(1/2)(A, A) = 1/2 by symmetry, on both sides of the switch at 41
  // and at parameters whose sum would overflow (the rule comes first).
  for (int32_t a : {1, 2, 3, 19, 20, 21, 40, 41, 1000, 5001, 1000000, kHalfMaxInt, kMaxInt}) {
    SCOPED_TRACE(a);
    EXPECT_EQ(BetaHalf(a, a, 0.5L), 0.5L);
  }
}

TEST(BetaHalfTest, OutsideTheUnitIntervalIsZeroOrOne) {
  struct Row {
    const char* label;
    int32_t a, b;
  };
  const Row rows[] = {{"smallest", 1, 1},        {"first series", 7, 12},
                      {"second series", 30, 41}, {"unbalanced", 1, 5000},
                      {"large", 1000000, 3},     {"sum at int32 limit", 1, kMaxInt - 1}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    for (long double x : {0.0L, -0.0L, -1e-4000L, -0.5L, -7.0L, -kInf}) {
      EXPECT_EQ(BetaHalf(row.a, row.b, x), 0.0L) << "x=" << static_cast<double>(x);
    }
    for (long double x : {1.0L, 1.0000001L, 2.0L, 1e300L, kInf}) {
      EXPECT_EQ(BetaHalf(row.a, row.b, x), 1.0L) << "x=" << static_cast<double>(x);
    }
  }
}

TEST(BetaHalfTest, ClosedForms) {
  struct Row {
    const char* label;
    int32_t a, b;
    long double x;
    long double expected;
    long double tolerance;
  };
  const Row rows[] = {
      // I_x(1, 1) = x
      {"uniform 0.2", 2, 2, 0.2L, 0.2L, 1e-19L},
      {"uniform 0.5", 2, 2, 0.5L, 0.5L, 0},
      {"uniform 0.7 (reflected)", 2, 2, 0.7L, 0.7L, 1e-19L},
      {"uniform 1e-10", 2, 2, 1e-10L, 1e-10L, 1e-28L},
      // I_x(1/2, 1/2) = (2/pi) arcsin(sqrt(x)): arcsin(1/2) = pi/6, so 1/3 and 2/3
      {"arcsine 0.25", 1, 1, 0.25L, 1.0L / 3, 1e-18L},
      {"arcsine 0.75", 1, 1, 0.75L, 2.0L / 3, 1e-18L},
      {"arcsine 0.1", 1, 1, 0.1L, 2 / kPi * std::asin(std::sqrt(0.1L)), 1e-18L},
      // I_x(1/2, 1) = sqrt(x); I_x(1, 1/2) = 1 - sqrt(1 - x)
      {"sqrt 0.3", 1, 2, 0.3L, std::sqrt(0.3L), 1e-18L},
      {"sqrt 0.9", 1, 2, 0.9L, std::sqrt(0.9L), 1e-18L},
      {"1 - sqrt(1 - x) 0.3", 2, 1, 0.3L, 1 - std::sqrt(0.7L), 1e-18L},
      // I_x(A, 1) = x^A, first series up to a + b = 40, second series from 41
      {"x^19 (sum 40)", 38, 2, 0.4L, std::pow(0.4L, 19), 1e-23L},
      {"x^19.5 (sum 41)", 39, 2, 0.4L, std::pow(0.4L, 19.5L), 1e-23L},
      {"x^19.5 at 0.8 (sum 41, reflected)", 39, 2, 0.8L, std::pow(0.8L, 19.5L), 1e-17L},
      // (the first term comes from ln Gamma values near 2.5e3, each good to about 3e-16)
      {"x^500.5", 1001, 2, 0.999L, std::pow(0.999L, 500.5L), 1e-15L},
      // I_x(1, B) = 1 - (1 - x)^B
      {"1 - (1 - x)^2", 2, 4, 0.3L, 1 - 0.49L, 1e-18L},
      {"1 - (1 - x)^19.5 (sum 41)", 2, 39, 0.05L, 1 - std::pow(0.95L, 19.5L), 1e-17L},
      {"1 - (1 - x)^50", 2, 100, 0.01L, 1 - std::pow(0.99L, 50), 1e-17L},
      // I_0.6(3, 2) = P(Bin(4, 0.6) >= 3) = 4 (0.6^3)(0.4) + 0.6^4 = 0.4752
      {"0.4752", 6, 4, 0.6L, 0.4752L, 1e-18L},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_NEAR_L(BetaHalf(row.a, row.b, row.x), row.expected, row.tolerance);
  }
}

TEST(BetaHalfTest, MethodSwitchAtSum41) {
  struct Row {
    const char* label;
    int32_t a, b;
    const char* fixed6;
  };
  const Row rows[] = {
      {"sum 40, first series", 20, 20, "0.032553"},   // given value
      {"sum 41, second series", 20, 21, "0.039752"},  // given value
      {"sum 40, first series", 19, 21, "0.053433"},   // given value
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(Fixed6(BetaHalf(row.a, row.b, 0.3L)), row.fixed6);
  }
  // Below the switch BetaHalf is BetaSeries itself (w = x <= 1/2, not reflected).
  EXPECT_EQ(BetaHalf(20, 20, 0.3L), BetaSeries(20, 20, 0.3L));
  EXPECT_EQ(BetaHalf(19, 21, 0.3L), BetaSeries(19, 21, 0.3L));
  EXPECT_EQ(BetaHalf(1, 39, 0.5L), BetaSeries(1, 39, 0.5L));
}

TEST(BetaHalfTest, ReflectionIdentity) {
  // identity: I_x(A, B) + I_(1-x)(B, A) = 1
  struct Row {
    const char* label;
    int32_t a, b;
    long double x;
  };
  const Row rows[] = {
      {"first series", 3, 7, 0.2L},
      {"first series, large terms", 1, 39, 0.5L},
      {"first series, odd v", 5, 9, 0.45L},
      {"at the switch", 20, 21, 0.3L},
      {"second series", 30, 41, 0.6L},
      {"second series, far tail", 100, 200, 0.05L},
      {"second series, large", 100000, 300000, 0.2501L},
      {"unbalanced", 1, 5000, 1e-4L},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_NEAR_L(BetaHalf(row.a, row.b, row.x) + BetaHalf(row.b, row.a, 1 - row.x), 1.0L, 1e-15L);
  }
}

TEST(BetaHalfTest, ValuesStayWithinZeroAndOne) {
  for (int32_t a : {1, 2, 5, 20, 21, 40, 41, 1000, 1000000})
    for (int32_t b : {1, 2, 5, 20, 21, 40, 41, 1000, 1000000})
      for (long double x : {1e-12L, 0.001L, 0.3L, 0.5L, 0.7L, 0.999L, 1 - 1e-12L}) {
        const long double v = BetaHalf(a, b, x);
        EXPECT_TRUE(v >= 0 && v <= 1) << a << " " << b << " " << static_cast<double>(x);
      }
}

TEST(BetaSeriesTest, AgreesWithClosedForms) {
  // exact: I_x(1/2, 1/2) at 1/4 is 1/3; I_x(1, 1) = x; I_x(1/2, 1) = sqrt(x)
  EXPECT_NEAR_L(BetaSeries(1, 1, 0.25L), 1.0L / 3, 1e-18L);
  EXPECT_NEAR_L(BetaSeries(2, 2, 0.375L), 0.375L, 1e-19L);
  EXPECT_NEAR_L(BetaSeries(1, 2, 0.5L), std::sqrt(0.5L), 1e-18L);
  // identity: I_(1/2)(1/2, 39/2) + I_(1/2)(39/2, 1/2) = 1, terms near 100 in the first
  EXPECT_NEAR_L(BetaSeries(1, 39, 0.5L) + BetaSeries(39, 1, 0.5L), 1.0L, 1e-16L);
}

// ---- FTail, TTail ----

TEST(FTailTest, SpotValues) {
  EXPECT_EQ(FTail(2, 2, 1), 0.5L);                 // exact: z = 1/2 and a = b
  EXPECT_NEAR_L(FTail(4, 6, 1), 0.4752L, 1e-18L);  // exact: I_0.6(3, 2) = 0.4752
  EXPECT_EQ(Fixed6(FTail(4, 6, 1)), "0.475200");
  EXPECT_EQ(Fixed6(FTail(5, 10, 3.325835L)), "0.050000");  // given value
  // exact: F(2, 2) has P(F > x) = 1 / (1 + x); F(2, b) has (b / (2x + b))^(b/2)
  EXPECT_NEAR_L(FTail(2, 2, 3), 0.25L, 1e-18L);
  EXPECT_NEAR_L(FTail(2, 7, 1.5L), std::pow(7.0L / 10, 3.5L), 1e-18L);
  EXPECT_NEAR_L(FTail(2, 60, 0.8L), std::pow(60.0L / 61.6L, 30), 1e-17L);
  // exact: F(1, 1) = T(1)^2 has P(F > x) = 1 - (2/pi) arctan(sqrt(x))
  EXPECT_NEAR_L(FTail(1, 1, 3), 1 - 2 / kPi * std::atan(std::sqrt(3.0L)), 1e-18L);
}

TEST(FTailTest, NonPositiveXGivesOne) {
  // An F variable is never negative: P(F > x) = 1 for x <= 0, also at x = -b/a
  // (where the reduction would divide by zero) and beyond it.
  struct Row {
    const char* label;
    int32_t a, b;
    long double x;
  };
  const Row rows[] = {
      {"zero", 5, 10, 0},
      {"negative zero", 5, 10, -0.0L},
      {"between -b/a and 0", 5, 10, -1},
      {"at -b/a", 5, 10, -2},
      {"below -b/a", 5, 10, -3},
      {"minus infinity", 5, 10, -kInf},
      {"zero, large", 1000000, 1, 0},
      {"zero, equal", 3, 3, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(FTail(row.a, row.b, row.x), 1.0L);
  }
}

TEST(TTailTest, SpotValues) {
  for (int32_t n : {1, 2, 3, 10, 41, 5000, kMaxInt}) EXPECT_EQ(TTail(n, 0), 0.5L) << n;  // exact
  EXPECT_EQ(TTail(1, 1), 0.25L);   // exact: z = 1/2 and a = b = 1
  EXPECT_EQ(TTail(1, -1), 0.75L);  // exact
  // exact: t(2) has P(T > x) = 1/2 - x / (2 sqrt(x^2 + 2))
  EXPECT_NEAR_L(TTail(2, 1), 0.5L - 1 / (2 * std::sqrt(3.0L)), 1e-18L);
  EXPECT_EQ(Fixed6(TTail(2, 1)), "0.211325");
  // exact: t(3) has P(T > 1) = 1/3 - sqrt(3) / (4 pi)
  EXPECT_NEAR_L(TTail(3, 1), 1.0L / 3 - std::sqrt(3.0L) / (4 * kPi), 1e-18L);
  EXPECT_EQ(Fixed6(TTail(3, 1)), "0.195501");
  EXPECT_EQ(Fixed6(TTail(10, 2.228139L)), "0.025000");  // given value
  // exact: t(1) is Cauchy, P(T > x) = 1/2 - arctan(x) / pi
  for (long double x : {0.3L, 2.0L, 10.0L, -4.0L, 1e6L}) {
    EXPECT_NEAR_L(TTail(1, x), 0.5L - std::atan(x) / kPi, 1e-18L) << static_cast<double>(x);
  }
}

TEST(TTailTest, Symmetry) {
  // identity: P(T > x) + P(T > -x) = 1
  for (int32_t n : {1, 2, 3, 7, 40, 41, 100, 5000, 1000000})
    for (long double x : {1e-8L, 0.1L, 1.0L, 2.5L, 30.0L}) {
      EXPECT_NEAR_L(TTail(n, x) + TTail(n, -x), 1.0L, 1e-18L) << n << " " << static_cast<double>(x);
    }
}

TEST(TTailTest, HugeXOverflows) {
  // x * x beyond the extended range (about 1.19e4932)
  EXPECT_THROW(TTail(5, 1.1e2466L), Distr::EOverflow);
  EXPECT_THROW(TTail(5, -1.1e2466L), Distr::EOverflow);
  EXPECT_EQ(TTail(5, 1e2466L), 0.0L);  // x * x = 1e4932 still fits; the tail underflows
}

// ---- BinomialTail ----

TEST(BinomialTailTest, SpotValues) {
  // exact: 1 - sum_{j<3} C(10, j) 0.3^j 0.7^(10-j) = 0.6172172136
  EXPECT_NEAR_L(BinomialTail(10, 3, 0.3L), 0.6172172136L, 1e-17L);
  EXPECT_EQ(Fixed6(BinomialTail(10, 3, 0.3L)), "0.617217");
  EXPECT_EQ(Fixed6(BinomialTail(100, 60, 0.5L)), "0.028444");  // given value, second series
}

TEST(BinomialTailTest, ProbabilityZeroAndOne) {
  // exact: P(X >= k) is 0 at p = 0 and 1 at p = 1 for 1 <= k <= n
  const int32_t pairs[][2] = {{1, 1},    {10, 1},   {10, 10},        {40, 20},
                              {100, 60}, {5000, 1}, {1000000000, 3}, {kHalfMaxInt, kHalfMaxInt}};
  for (const auto& nk : pairs) {
    SCOPED_TRACE(nk[0]);
    EXPECT_EQ(BinomialTail(nk[0], nk[1], 0), 0.0L);
    EXPECT_EQ(BinomialTail(nk[0], nk[1], 1), 1.0L);
  }
}

TEST(BinomialTailTest, MedianOfOddNumberOfTrialsIsExactlyHalf) {
  // exact: P(X >= k) = 1/2 for n = 2k - 1 and p = 1/2 (I_(1/2)(k, k))
  for (int32_t k : {1, 2, 10, 20, 21, 100, 1000000, 536870912, kHalfMaxInt}) {
    SCOPED_TRACE(k);
    EXPECT_EQ(BinomialTail(2 * k - 1, k, 0.5L), 0.5L);
  }
}

TEST(BinomialTailTest, AgreesWithDirectSum) {
  // identity: I_p(k, n - k + 1) = sum_{j >= k} C(n, j) p^j (1 - p)^(n - j).
  // Up to n = 19 the power series alternates with terms up to about 10^3 (the
  // worst case here, n = 19, k = 4, p = 1/2, is off by 4.4e-16), so the
  // tolerance is 2e-15 rather than a few units of 1e-19.
  for (int n : {1, 2, 5, 10, 19, 20, 21, 40, 60})
    for (int k = 1; k <= n; k += (n > 10 ? 3 : 1))
      for (long double p : {0.01L, 0.1L, 0.37L, 0.5L, 0.8L, 0.999L}) {
        EXPECT_NEAR_L(BinomialTail(n, k, p), BinomialUpperSum(n, k, p), 2e-15L)
            << "n=" << n << " k=" << k << " p=" << static_cast<double>(p);
      }
}

// ---- Inverses ----

TEST(BetaHalfInverseTest, ClosedForms) {
  EXPECT_NEAR_L(BetaHalfInverse(1, 1, 0.5L), 0.5L, 1e-18L);  // exact: sin^2(pi/4) = 1/2
  EXPECT_EQ(Fixed6(BetaHalfInverse(1, 1, 0.5L)), "0.500000");
  EXPECT_EQ(BetaHalfInverse(1, 2, 0.3L), 0.3L * 0.3L);                  // exact: y^2
  EXPECT_NEAR_L(BetaHalfInverse(1, 2, 0.3L), 0.09L, 1e-19L);            // 0.09
  EXPECT_NEAR_L(BetaHalfInverse(2, 1, 0.3L), 0.51L, 1e-19L);            // exact: 1 - 0.7^2
  EXPECT_EQ(BetaHalfInverse(2, 1, 0.3L), 1 - (1 - 0.3L) * (1 - 0.3L));  // as formed
  // identity: the closed forms invert BetaHalf.  At y = 0.999999 the roots of
  // (1, 1) and (2, 1) lie within 1e-11 of 1, where one rounding of r (5e-20)
  // moves I_r by about 1e-14: the tolerance follows the conditioning.
  struct Row {
    long double y;
    long double tolerance;
  };
  const Row rows[] = {{1e-6L, 1e-19L}, {0.25L, 1e-18L}, {0.5L, 1e-18L}, {0.999999L, 1e-13L}};
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<double>(row.y));
    EXPECT_EQ(BetaHalfInverse(2, 2, row.y), row.y);  // exact: I_r(1, 1) = r
    EXPECT_NEAR_L(BetaHalf(1, 1, BetaHalfInverse(1, 1, row.y)), row.y, row.tolerance);
    EXPECT_NEAR_L(BetaHalf(1, 2, BetaHalfInverse(1, 2, row.y)), row.y, row.tolerance);
    EXPECT_NEAR_L(BetaHalf(2, 1, BetaHalfInverse(2, 1, row.y)), row.y, row.tolerance);
  }
}

TEST(BetaHalfInverseTest, OutsideTheOpenIntervalIsZeroOrOne) {
  const int32_t pairs[][2] = {{1, 1}, {2, 2}, {3, 7}, {1, 5000}, {kHalfMaxInt, kHalfMaxInt}};
  for (const auto& ab : pairs) {
    SCOPED_TRACE(ab[0]);
    for (long double y : {0.0L, -1e-30L, -1.0L, -kInf})
      EXPECT_EQ(BetaHalfInverse(ab[0], ab[1], y), 0.0L);
    for (long double y : {1.0L, 1.5L, kInf}) EXPECT_EQ(BetaHalfInverse(ab[0], ab[1], y), 1.0L);
  }
}

TEST(BetaHalfInverseTest, InvertsBetaHalf) {
  // identity: I_r(a/2, b/2) = y at the root, chi-square start (a = 1) and mean start
  for (int32_t a : {1, 3, 4, 10, 41})
    for (int32_t b : {3, 5, 10, 41, 5000})
      for (long double y : {1e-6L, 0.05L, 0.5L, 0.95L, 0.999999L}) {
        const long double r = BetaHalfInverseOriented(a, b, y);
        EXPECT_TRUE(r > 0 && r < 1);
        EXPECT_NEAR_L(BetaHalf(a, b, r), y, 1e-9L)
            << "a=" << a << " b=" << b << " y=" << static_cast<double>(y);
      }
}

TEST(BetaHalfInverseTest, StepThatWouldLeaveTheIntervalIsHalved) {
  // From the start at the mean 1/4 the Newton step for y = 1e-30 lands below 0;
  // halving keeps the iterate inside and the iteration reaches the root.  For
  // small r, I_r(1/2, 3/2) = (4/pi) sqrt(r) (1 + O(r)), so r = (pi y / 4)^2.
  const long double r = BetaHalfInverse(1, 3, 1e-30L);
  EXPECT_GT(r, 0.0L);
  EXPECT_NEAR_L(r, (kPi * 1e-30L / 4) * (kPi * 1e-30L / 4), 1e-66L);
  // Likewise towards 0 from the mean 3/4: I_r(3/2, 1/2) = r^(3/2) / (3 pi / 4) (1 + O(r)).
  const long double s = BetaHalfInverse(3, 1, 1e-30L);
  EXPECT_GT(s, 0.0L);
  EXPECT_NEAR_L(s, std::pow(3 * kPi / 4 * 1e-30L, 2.0L / 3), 1e-25L);
}

TEST(BetaHalfInverseTest, OrientationTakesTheSmallerParameterFirst) {
  // identity: I_r(a, b) = y <=> I_(1-r)(b, a) = 1 - y
  EXPECT_EQ(BetaHalfInverseOriented(7, 3, 0.2L), 1 - BetaHalfInverse(3, 7, 1 - 0.2L));
  EXPECT_EQ(BetaHalfInverseOriented(3, 7, 0.2L), BetaHalfInverse(3, 7, 0.2L));
  EXPECT_EQ(BetaHalfInverseOriented(5, 5, 0.2L), BetaHalfInverse(5, 5, 0.2L));
}

TEST(TTailInverseTest, SpotValues) {
  for (int32_t n : {1, 2, 3, 10, 41, 5000, kHalfMaxInt})
    EXPECT_EQ(TTailInverse(n, 0.5L), 0.0L) << n;
  struct Row {
    int32_t n;
    long double y;
    const char* fixed6;
  };
  const Row rows[] = {
      {10, 0.025L, "2.228139"},   // given value
      {10, 0.975L, "-2.228139"},  // given value (the t report's example)
      {1, 0.025L, "12.706205"},   // given value
      {5, 0.05L, "2.015048"},     // given value
      {30, 0.95L, "-1.697261"},   // given value
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fixed6);
    EXPECT_EQ(Fixed6(TTailInverse(row.n, row.y)), row.fixed6);
  }
  // exact: t(1) is Cauchy, t = tan(pi (1/2 - y)) = cot(pi y), formed from the
  // smaller of y and 1 - y as the routine does; t(2) has t = (1 - 2y) / sqrt(2 y (1 - y))
  for (long double y : {1e-6L, 0.025L, 0.3L, 0.7L, 0.999999L}) {
    SCOPED_TRACE(static_cast<double>(y));
    const long double cauchy = y <= 0.5L ? 1 / std::tan(kPi * y) : -1 / std::tan(kPi * (1 - y));
    EXPECT_NEAR_L(TTailInverse(1, y), cauchy, std::fabs(cauchy) * 1e-15L);
    const long double two = (1 - 2 * y) / std::sqrt(2 * y * (1 - y));
    EXPECT_NEAR_L(TTailInverse(2, y), two, std::fabs(two) * 1e-9L);
  }
}

TEST(FTailInverseTest, SpotValues) {
  struct Row {
    int32_t a, b;
    long double y;
    const char* fixed6;
  };
  const Row rows[] = {
      {5, 10, 0.05L, "3.325835"},   // given value
      {1, 1, 0.05L, "161.447639"},  // given value
      {4, 6, 0.05L, "4.533677"},    // given value
      {10, 10, 0.01L, "4.849147"},  // given value
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fixed6);
    EXPECT_EQ(Fixed6(FTailInverse(row.a, row.b, row.y)), row.fixed6);
  }
  // exact: F(1, 1) = T(1)^2 gives x = tan^2((1 - y) pi / 2) = cot^2(y pi / 2);
  // F(2, 2) gives x = 1/y - 1
  const long double t = 1 / std::tan(0.05L * kPi / 2);
  EXPECT_NEAR_L(FTailInverse(1, 1, 0.05L), t * t, t * t * 1e-15L);
  EXPECT_NEAR_L(FTailInverse(2, 2, 0.2L), 4.0L, 1e-17L);
  for (int32_t a : {1, 2, 7, 5000, kHalfMaxInt})
    for (int32_t b : {1, 2, 7, 5000, kHalfMaxInt}) {
      EXPECT_EQ(FTailInverse(a, b, 1), 0.0L) << a << " " << b;  // exact: c = 1
    }
}

TEST(InverseTest, ZeroAndOneDivideByZero) {
  // c = 0 in x = (b/a)(1 - c)/c
  for (int32_t n : {1, 2, 3, 10, 5000}) {
    SCOPED_TRACE(n);
    EXPECT_THROW(FTailInverse(n, 4, 0), Distr::EZeroDivide);
    EXPECT_THROW(FTailInverse(4, n, 0), Distr::EZeroDivide);
    EXPECT_THROW(TTailInverse(n, 0), Distr::EZeroDivide);
    EXPECT_THROW(TTailInverse(n, 1), Distr::EZeroDivide);
  }
}

TEST(InverseTest, RoundTripsAtTheEndsOfTheReportedRange) {
  // identity: the tail of the inverse gives back y, for y at the ends of the
  // range the reports accept and every combination of degrees of freedom.
  const int32_t degrees[] = {1, 3, 10, 100, 5000};
  const long double probabilities[] = {0.000001L, 0.999999L};
  for (long double y : probabilities) {
    for (int32_t n : degrees) {
      SCOPED_TRACE("t n=" + std::to_string(n) + " y=" + Fixed6(y));
      EXPECT_NEAR_L(TTail(n, TTailInverse(n, y)), y, 1e-7L);
    }
    for (int32_t a : degrees)
      for (int32_t b : degrees) {
        SCOPED_TRACE("F a=" + std::to_string(a) + " b=" + std::to_string(b) + " y=" + Fixed6(y));
        EXPECT_NEAR_L(FTail(a, b, FTailInverse(a, b, y)), y, 1e-7L);
      }
  }
}

TEST(InverseTest, HugeDegreesOfFreedomEndPromptly) {
  // Degrees of freedom up to 2^30 - 1 end with a finite result or a run-time
  // error, never a hang (the iteration is bounded).
  struct Row {
    const char* label;
    std::function<long double()> call;
  };
  const Row rows[] = {
      {"TTailInverse(2^30-1, 0.025)", [] { return TTailInverse(kHalfMaxInt, 0.025L); }},
      {"TTailInverse(2^30-1, 0.999999)", [] { return TTailInverse(kHalfMaxInt, 0.999999L); }},
      {"FTailInverse(2^30-1, 2^30-1, 0.05)",
       [] { return FTailInverse(kHalfMaxInt, kHalfMaxInt, 0.05L); }},
      {"FTailInverse(2^30-1, 2^30-1, 0.000001)",
       [] { return FTailInverse(kHalfMaxInt, kHalfMaxInt, 0.000001L); }},
      {"FTailInverse(1, 2^30-1, 0.05)", [] { return FTailInverse(1, kHalfMaxInt, 0.05L); }},
      {"FTailInverse(2^30-1, 1, 0.05)", [] { return FTailInverse(kHalfMaxInt, 1, 0.05L); }},
      {"FTailInverse(2^30-1, 1000000, 0.000001)",
       [] { return FTailInverse(kHalfMaxInt, 1000000, 0.000001L); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    try {
      EXPECT_TRUE(std::isfinite(row.call()));
    } catch (const Distr::ERunTimeError&) {
      SUCCEED();
    }
  }
}

TEST(ReductionTest, TailsAndInversesAreTheirBetaForms) {
  // identity, to the bit: P(F > x) = I_z(b/2, a/2) with z = b / (a x + b);
  // P(T > x) = I_z(n/2, 1/2) / 2 with z = n / (x^2 + n); P(X >= k) = I_p(k, n - k + 1);
  // the F inverse is (b/a)(1 - c)/c at the beta root c; T^2 ~ F(1, n).
  struct Row {
    int32_t a, b;
    long double x, y;
  };
  const Row rows[] = {{5, 10, 3.325835L, 0.05L}, {1, 1, 0.7L, 0.3L},    {4, 6, 1.3L, 0.9L},
                      {30, 11, 0.8L, 0.5L},      {2, 77, 2.5L, 0.001L}, {100, 3, 1.01L, 0.999L},
                      {41, 41, 1.1L, 0.025L},    {1, 5000, 4.0L, 0.2L}};
  for (const Row& row : rows) {
    const int32_t a = row.a, b = row.b;
    const long double x = row.x, y = row.y;
    SCOPED_TRACE(std::to_string(a) + " " + std::to_string(b));
    EXPECT_EQ(FTail(a, b, x), BetaHalf(b, a, b / (a * x + b)));
    EXPECT_EQ(TTail(a, x), BetaHalf(a, 1, a / (x * x + a)) / 2);
    EXPECT_EQ(TTail(a, -x), 1 - BetaHalf(a, 1, a / (x * x + a)) / 2);
    EXPECT_EQ(BinomialTail(a + b, a, y), BetaHalf(2 * a, 2 * b + 2, y));
    const long double c = BetaHalfInverseOriented(b, a, y);
    EXPECT_EQ(FTailInverse(a, b, y), ((static_cast<long double>(b) / a) * (1 - c)) / c);
    EXPECT_EQ(TTailInverse(a, y), y > 0.5L ? -std::sqrt(FTailInverse(1, a, (1 - y) * 2))
                                           : std::sqrt(FTailInverse(1, a, y * 2)));
  }
}

// ---- Errors ----

TEST(BetaErrorTest, IntegerOverflow) {
  struct Row {
    const char* label;
    std::function<long double()> call;
  };
  const Row rows[] = {
      {"BinomialTail 2(n - k)", [] { return BinomialTail(kMaxInt, 1, 0.5L); }},
      {"BinomialTail 2(n - k) + 2", [] { return BinomialTail(1073741824, 1, 0.3L); }},
      {"BinomialTail 2k", [] { return BinomialTail(kMaxInt, 1073741824, 0.3L); }},
      {"BinomialTail n - k", [] { return BinomialTail(kMinInt, 1, 0.3L); }},
      {"BinomialTail a + b", [] { return BinomialTail(kHalfMaxInt, 1, 0.3L); }},
      {"BetaHalf a + b", [] { return BetaHalf(kMaxInt, 1, 0.3L); }},
      {"BetaHalf a + b, equal", [] { return BetaHalf(1073741824, 1073741824, 0.3L); }},
      {"BetaHalfInverse a + b", [] { return BetaHalfInverse(kMaxInt, 3, 0.3L); }},
      {"FTailInverse a + b", [] { return FTailInverse(kMaxInt, 1, 0.05L); }},
      {"TTailInverse 1 + n", [] { return TTailInverse(kMaxInt, 0.05L); }},
      {"FTail a + b", [] { return FTail(kMaxInt, 2, 1); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_THROW(row.call(), Distr::EIntOverflow);
  }
}

TEST(BetaErrorTest, WholeParametersBelowOne) {
  // No caller passes them; every routine rejects them with a range error.
  struct Row {
    const char* label;
    std::function<long double()> call;
  };
  const Row rows[] = {
      {"BetaHalf a = 0", [] { return BetaHalf(0, 3, 0.3L); }},
      {"BetaHalf b = 0", [] { return BetaHalf(3, 0, 0.3L); }},
      {"BetaHalf a < 0", [] { return BetaHalf(-1, 5, 0.3L); }},
      {"BetaHalf a = min", [] { return BetaHalf(kMinInt, kMaxInt, 0.3L); }},
      {"BetaSeries u = 0", [] { return BetaSeries(0, 5, 0.2L); }},
      {"BetaSeries v < 0", [] { return BetaSeries(3, -2, 0.2L); }},
      {"BetaSeries w = 1", [] { return BetaSeries(3, 5, 1); }},
      {"FTail a = 0", [] { return FTail(0, 3, 1); }},
      {"FTail b < 0", [] { return FTail(3, -1, 1); }},
      {"TTail n = 0", [] { return TTail(0, 1); }},
      {"TTail n < 0", [] { return TTail(-1, 1); }},
      {"BinomialTail k = 0", [] { return BinomialTail(5, 0, 0.3L); }},
      {"BinomialTail k > n", [] { return BinomialTail(3, 5, 0.3L); }},
      {"BetaHalfInverse a = 0", [] { return BetaHalfInverse(0, 4, 0.5L); }},
      {"BetaHalfInverseOriented b = 0", [] { return BetaHalfInverseOriented(4, 0, 0.5L); }},
      {"FTailInverse a = 0", [] { return FTailInverse(0, 5, 0.05L); }},
      {"FTailInverse b = 0", [] { return FTailInverse(5, 0, 0.05L); }},
      {"TTailInverse n = 0", [] { return TTailInverse(0, 0.05L); }},
      {"TTailInverse n < 0", [] { return TTailInverse(-7, 0.5L); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_THROW(row.call(), Distr::ERangeError);
  }
}

}  // namespace
