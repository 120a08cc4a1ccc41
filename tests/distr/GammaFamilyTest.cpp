// The gamma family: spot values, identities and exact edges.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "Distr/Distr.h"
#include "tests/distr/LongDoubleAssertions.h"

namespace {

using namespace Distr;

std::string Fixed6(long double x) {
  return distr_test::Fixed6(x);
}

struct Spot {
  const char* label;
  long double (*compute)();
  const char* expected;  // six decimals
};

// The label, which names the function and its inputs, stands for the spot.
void PrintTo(const Spot& spot, std::ostream* os) {
  *os << spot.label;
}

class GammaSpot : public ::testing::TestWithParam<Spot> {};

TEST_P(GammaSpot, PrintsSixDecimals) {
  const Spot& spot = GetParam();
  EXPECT_EQ(Fixed6(spot.compute()), spot.expected) << spot.label;
}

// Values: exact closed forms where noted, otherwise the six-decimal values of
// the exact distributions (normal and chi-square tables).
INSTANTIATE_TEST_SUITE_P(
    Values, GammaSpot,
    ::testing::Values(
        Spot{"ln sqrt(pi)", [] { return LnGammaHalf(1); }, "0.572365"},
        Spot{"ln Gamma(3/2) = ln(sqrt(pi)/2)", [] { return LnGammaHalf(3); }, "-0.120782"},
        Spot{"ln 249!, last direct sum", [] { return LnGammaHalf(500); }, "1128.523771"},
        Spot{"ln Gamma(250.5), first Stirling", [] { return LnGammaHalf(501); }, "1131.284001"},
        Spot{"NormalTail(1)", [] { return NormalTail(1); }, "0.158655"},
        Spot{"NormalTail(1.959964)", [] { return NormalTail(1.959964L); }, "0.025000"},
        Spot{"NormalTail(-1.959964)", [] { return NormalTail(-1.959964L); }, "0.975000"},
        Spot{"chi2(2) at 2 = e^-1", [] { return ChiSquareTail(2, 2); }, "0.367879"},
        Spot{"chi2(1) at 3.841459", [] { return ChiSquareTail(1, 3.841459L); }, "0.050000"},
        Spot{"chi2(10) at 18.307038", [] { return ChiSquareTail(10, 18.307038L); }, "0.050000"},
        Spot{"Poisson(3) P(X>=1) = 1 - e^-3", [] { return PoissonTail(1, 3); }, "0.950213"},
        Spot{"Poisson(3) P(X>=3) = 1 - 8.5 e^-3", [] { return PoissonTail(3, 3); }, "0.576810"},
        Spot{"Poisson P(X>=0)", [] { return PoissonTail(0, 7.5L); }, "1.000000"},
        Spot{"z for 0.025", [] { return NormalTailInverse(0.025L); }, "1.959964"},
        Spot{"z for 0.975", [] { return NormalTailInverse(0.975L); }, "-1.959964"},
        Spot{"z for 0.05", [] { return NormalTailInverse(0.05L); }, "1.644854"},
        Spot{"z for 1e-6", [] { return NormalTailInverse(0.000001L); }, "4.753424"},
        Spot{"chi2 0.05 n=1, normal path", [] { return ChiSquareTailInverse(1, 0.05L); },
             "3.841459"},
        Spot{"chi2 0.05 n=2", [] { return ChiSquareTailInverse(2, 0.05L); }, "5.991465"},
        Spot{"chi2 0.05 n=10", [] { return ChiSquareTailInverse(10, 0.05L); }, "18.307038"},
        Spot{"chi2 0.05 n=100, mean start", [] { return ChiSquareTailInverse(100, 0.05L); },
             "124.342113"},
        Spot{"chi2 0.05 n=101, Fisher start", [] { return ChiSquareTailInverse(101, 0.05L); },
             "125.458419"},
        Spot{"chi2 0.05 n=200", [] { return ChiSquareTailInverse(200, 0.05L); }, "233.994269"}),
    [](const ::testing::TestParamInfo<Spot>& info) { return "Case" + std::to_string(info.index); });

TEST(LnGammaHalf, ExactZerosAndRecurrence) {
  for (int32_t n : {2, 0, -1, -7, INT32_MIN}) EXPECT_EQ(LnGammaHalf(n), 0.0L) << n;
  // Gamma(h + 1) = h Gamma(h) across the switch from the sum to Stirling.
  for (int32_t n : {3, 10, 99, 498, 499, 500, 501, 502, 5001}) {
    const long double h = static_cast<long double>(n) / 2;
    EXPECT_NEAR_L(LnGammaHalf(n + 2) - LnGammaHalf(n), std::log(h), 1e-15L * (1 + LnGammaHalf(n)))
        << n;
  }
}

TEST(GammaTail, EdgesAreExact) {
  for (int32_t n : {1, 2, 3, 100, 1000000}) {
    EXPECT_EQ(GammaTail(n, 0), 1.0L) << n;
    EXPECT_EQ(GammaTail(n, -5), 1.0L) << n;
    EXPECT_EQ(ChiSquareTail(n, -0.5L), 1.0L) << n;
  }
  // n = 1 from x = 42 on: the upper sum has no term with h - k >= 1.
  EXPECT_EQ(GammaTail(1, 42), 0.0L);
  // n = 3 at 42: sqrt(42) e^-42 / Gamma(3/2), without the erfc(sqrt 42) part.
  const long double expected =
      std::sqrt(42.0L) * std::exp(-42.0L) / (std::sqrt(3.14159265358979323846L) / 2);
  EXPECT_NEAR_L(GammaTail(3, 42), expected, expected * 1e-15L);
  EXPECT_EQ(NormalTail(0), 0.5L);
  EXPECT_EQ(NormalTail(9.17L), 0.0L);
  EXPECT_EQ(NormalTail(-9.17L), 1.0L);
  EXPECT_EQ(NormalTailInverse(0.5L), 0.0L);
  EXPECT_EQ(PoissonTail(5, 0), 0.0L);
  EXPECT_EQ(PoissonTail(5, -1), 0.0L);
}

TEST(GammaTail, EvenShapeIsTheFiniteSum) {
  // Q(m, x) = e^-x sum_{j<m} x^j / j! for whole m, on both sides of the switch.
  for (long double x : {0.5L, 3.0L, 41.0L, 43.0L, 60.0L}) {
    for (int m : {1, 2, 5, 20}) {
      long double term = std::exp(-x), sum = 0;
      for (int j = 0; j < m; ++j) {
        sum += term;
        term = term * x / (j + 1);
      }
      EXPECT_NEAR_L(GammaTail(2 * m, x), sum, 1e-17L + sum * 1e-15L) << "m=" << m << " x=" << x;
    }
  }
}

TEST(GammaTail, LowerAndUpperMethodsMeetAtTheSwitch) {
  // Both sides of x = 42 (lower series below, upper sum from 42 on) are continuous.
  for (int32_t n : {10, 40, 80}) {
    const long double below = GammaTail(n, std::nextafter(42.0L, 0.0L));
    const long double at = GammaTail(n, 42);
    EXPECT_NEAR_L(below, at, 1e-16L + at * 1e-14L) << n;
  }
}

TEST(NormalTailInverse, RoundTripAcrossTheAcceptedRange) {
  for (long double p : {0.000001L, 0.001L, 0.3L, 0.5L, 0.7L, 0.999L, 0.999999L}) {
    EXPECT_NEAR_L(NormalTail(NormalTailInverse(p)), p, 1e-12L) << p;
  }
}

TEST(ChiSquareTailInverse, RoundTripOverDegreesOfFreedom) {
  for (int32_t n : {1, 2, 3, 7, 50, 100, 101, 1000, 100000}) {
    for (long double p : {0.000001L, 0.05L, 0.5L, 0.95L, 0.999999L}) {
      const long double x = ChiSquareTailInverse(n, p);
      EXPECT_NEAR_L(ChiSquareTail(n, x), p, 1e-9L) << "n=" << n << " p=" << p;
    }
  }
}

TEST(ChiSquareTailInverse, HugeDegreesOfFreedomEnd) {
  // The rounding noise of the tail keeps the absolute tolerance from settling
  // here; the iteration must still end near the mean n.
  for (int32_t n : {1000000000, 1073741823}) {
    const long double x = ChiSquareTailInverse(n, 0.05L);
    EXPECT_GT(x, static_cast<long double>(n)) << n;
    EXPECT_LT(x, static_cast<long double>(n) * 1.0001L) << n;
  }
}

struct OverflowCase {
  const char* label;
  void (*run)();
};

TEST(IntegerLimits, RaiseIntegerOverflow) {
  const OverflowCase cases[] = {
      {"Poisson k = 2^30", [] { PoissonTail(1073741824, 5); }},
      {"chi2 inverse n = 2^30", [] { ChiSquareTailInverse(1073741824, 0.05L); }},
      {"chi2 lower series n + 2", [] { ChiSquareTail(2147483647, 1000); }},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(c.run(), EIntOverflow) << c.label;
  }
}

TEST(FloatErrors, BecomeRunTimeErrors) {
  // z^2 beyond the extended range.
  EXPECT_THROW(NormalTail(1e2470L), EOverflow);
  // An infinite point makes 0 * inf in the upper sum's stopping test.
  EXPECT_THROW(GammaTail(4, HUGE_VALL), EInvalidOp);
  // A later, valid computation is not troubled by the earlier flags.
  EXPECT_EQ(Fixed6(NormalTail(1)), "0.158655");
}

}  // namespace
