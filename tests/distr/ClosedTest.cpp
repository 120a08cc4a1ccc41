// The closed-form distributions: values of the exact formulas (mpmath at 30
// digits), the small tail kept where one minus the large one would lose it,
// quantiles that invert the tails, and the discrete quantile's boundary.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ostream>

#include "Distr/Closed.h"
#include "Distr/DiscreteSearch.h"
#include "Distr/Errors.h"
#include "Distr/NegativeBinomial.h"
#include "tests/distr/LongDoubleAssertions.h"

namespace {

using namespace Distr;
using distr_test::NearL;

constexpr long double kRelative = 1e-17L;

struct TailSpot {
  const char* label;
  Tails (*compute)();
  long double lower, upper;  // exact, from mpmath
};

void PrintTo(const TailSpot& spot, std::ostream* os) {
  *os << spot.label;
}

class ClosedTails : public ::testing::TestWithParam<TailSpot> {};

TEST_P(ClosedTails, EachTailToItsOwnRelativeAccuracy) {
  const TailSpot& s = GetParam();
  const Tails t = s.compute();
  EXPECT_PRED_FORMAT3(NearL, t.lower, s.lower, s.lower * kRelative * 8);
  EXPECT_PRED_FORMAT3(NearL, t.upper, s.upper, s.upper * kRelative * 8);
}

INSTANTIATE_TEST_SUITE_P(
    Spots, ClosedTails,
    ::testing::Values(
        TailSpot{"exponential_2_at_1.5", [] { return ExponentialTails(2, 1.5L); },
                 0.95021293163213605702065758435L, 0.0497870683678639429793424156501L},
        TailSpot{"weibull_1.5_2_at_3", [] { return WeibullTails(1.5L, 2, 3); },
                 1 - 0.159275908490021370450960263926L, 0.159275908490021370450960263926L},
        TailSpot{"cauchy_0_1_far", [] { return CauchyTails(0, 1, 1e10L); },
                 1 - 3.18309886183790671536706493791e-11L, 3.18309886183790671536706493791e-11L},
        TailSpot{"cauchy_1_2_at_-3", [] { return CauchyTails(1, 2, -3); },
                 0.147583617650433274175401076225L, 1 - 0.147583617650433274175401076225L},
        TailSpot{"logistic_0_1_at_50", [] { return LogisticTails(0, 1, 50); }, 1.0L,
                 1.92874984796391778301697080893e-22L},
        TailSpot{"lognormal_0_1_at_e3", [] { return LognormalTails(0, 1, std::exp(3.0L)); },
                 1 - 0.00134989803163009452665181476759L, 0.00134989803163009452665181476759L},
        TailSpot{"uniform_at_quarter", [] { return UniformTails(-1, 3, 0); }, 0.25L, 0.75L}));

struct Edge {
  const char* label;
  Tails (*compute)();
  long double lower, upper;
};

void PrintTo(const Edge& e, std::ostream* os) {
  *os << e.label;
}

class ClosedEdges : public ::testing::TestWithParam<Edge> {};

// Outside the support, at its ends and beyond the extended range the tails
// are exact, and nothing overflows.
TEST_P(ClosedEdges, AreExact) {
  const Tails t = GetParam().compute();
  EXPECT_EQ(t.lower, GetParam().lower);
  EXPECT_EQ(t.upper, GetParam().upper);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ClosedEdges,
    ::testing::Values(
        Edge{"exponential_below_0", [] { return ExponentialTails(1, -2); }, 0, 1},
        Edge{"exponential_huge_product", [] { return ExponentialTails(1e4000L, 1e4000L); }, 1, 0},
        Edge{"uniform_above_b", [] { return UniformTails(0, 1, 2); }, 1, 0},
        Edge{"weibull_at_0", [] { return WeibullTails(0.5L, 1, 0); }, 0, 1},
        Edge{"logistic_beyond_range", [] { return LogisticTails(0, 1, -12000); }, 0, 1},
        Edge{"lognormal_at_0", [] { return LognormalTails(0, 1, 0); }, 0, 1}));

// The quantiles invert the tails, for a tiny p too; the spot values are
// mpmath's for the long doubles nearest 0.975 and 1e-100.
TEST(ClosedQuantiles, InvertTheTails) {
  for (const long double p : {1e-100L, 0.025L, 0.5L, 0.975L}) {
    const long double x = CauchyQuantile(1, 2, p, Tail::Upper);
    EXPECT_PRED_FORMAT3(NearL, CauchyTails(1, 2, x).upper, p, p * 1e-17L * 16) << x;
    const long double w = WeibullQuantile(2, 1, p, Tail::Lower);
    EXPECT_PRED_FORMAT3(NearL, WeibullTails(2, 1, w).lower, p, p * 1e-17L * 16) << w;
    const long double e = ExponentialQuantile(0.5L, p, Tail::Upper);
    EXPECT_PRED_FORMAT3(NearL, ExponentialTails(0.5L, e).upper, p, p * 1e-17L * 16) << e;
    const long double l = LogisticQuantile(-3, 0.5L, p, Tail::Lower);
    EXPECT_PRED_FORMAT3(NearL, LogisticTails(-3, 0.5L, l).lower, p, p * 1e-17L * 16) << l;
  }
  EXPECT_PRED_FORMAT3(NearL, CauchyQuantile(0, 1, 0.975L, Tail::Lower),
                      12.7062047361747046570880081417L, 1e-16L);
  EXPECT_PRED_FORMAT3(NearL, WeibullQuantile(2, 1, 1e-100L, Tail::Upper),
                      15.1742712938514635086304374859L, 1e-16L);
  EXPECT_PRED_FORMAT3(NearL, ExponentialQuantile(0.5L, 1e-20L, Tail::Lower), 2e-20L, 1e-36L);
}

// Geometric with p = 1/4 at 3: 1 - (3/4)^4, (3/4)^3 and (1/4)(3/4)^3, exact
// in binary; its quantile found by the search lands on the boundary.
TEST(Geometric, ExactQuartersAndTheQuantileBoundary) {
  const DiscreteTails t = GeometricAt(0.25L, 3);
  EXPECT_PRED_FORMAT3(NearL, t.atMost, 0.68359375L, 1e-18L);
  EXPECT_PRED_FORMAT3(NearL, t.atLeast, 0.421875L, 1e-18L);
  EXPECT_PRED_FORMAT3(NearL, t.point, 0.10546875L, 1e-18L);
  const auto atMost = [](int32_t k) { return GeometricAt(0.25L, k).atMost; };
  EXPECT_EQ(SmallestReaching(atMost, t.atMost, 0), 3);
  EXPECT_EQ(SmallestReaching(atMost, t.atMost, 1000), 3);
  EXPECT_EQ(SmallestReaching(atMost, t.atMost + 1e-12L, 0), 4);
  const auto never = [](int32_t k) { return GeometricAt(1e-12L, k).atMost; };
  EXPECT_THROW(SmallestReaching(never, 0.5L, 0), EIntOverflow);
}

// The search goes down as well as up: a discrete uniform on negative
// numbers, and one whose quantile is the least int32.
TEST(DiscreteUniform, QuantileAtTheBoundaries) {
  const auto dice = [](int32_t k) { return DiscreteUniformAt(-6, -1, k).atMost; };
  EXPECT_EQ(SmallestReaching(dice, 0.5L, 0), -4);
  EXPECT_EQ(SmallestReaching(dice, 0.5000001L, 0), -3);
  EXPECT_EQ(SmallestReaching(dice, 1e-300L, 0), -6);
  const auto wide = [](int32_t k) { return DiscreteUniformAt(INT32_MIN, INT32_MAX, k).atMost; };
  EXPECT_EQ(SmallestReaching(wide, 1e-300L, 0), INT32_MIN);
  const DiscreteTails t = DiscreteUniformAt(-2, 2, 0);
  EXPECT_EQ(t.atMost, 0.6L);
  EXPECT_EQ(t.atLeast, 0.6L);
  EXPECT_EQ(t.point, 0.2L);
}

// Negative binomial r = 3, p = 1/2 at 2: P(X = 2) = C(4, 2) / 32 = 3/16,
// P(X <= 2) = (1 + 3/2 + 6/4) / 8 = 1/2 and P(X >= 2) = 1 - 5/16.
TEST(NegativeBinomial, SmallExactCase) {
  const DiscreteTails t = NegativeBinomialAt(3, 0.5L, 2);
  EXPECT_PRED_FORMAT3(NearL, t.point, 0.1875L, 1e-17L);
  EXPECT_PRED_FORMAT3(NearL, t.atMost, 0.5L, 1e-17L);
  EXPECT_PRED_FORMAT3(NearL, t.atLeast, 0.6875L, 1e-17L);
  const DiscreteTails certain = NegativeBinomialAt(3, 1, 0);
  EXPECT_EQ(certain.point, 1);
  EXPECT_EQ(NegativeBinomialAt(3, 1, 1).atLeast, 0);
}

}  // namespace
