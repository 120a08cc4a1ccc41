// The discrete models at their extremes where reference.csv cannot reach: p
// near 1 with its decimal's complement, intervals reaching outside the
// support, the quantile's definition at extreme parameters and percentiles.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "models/Details.h"
#include "models/Models.h"

namespace {

using models::Distribution;
using models::Value;

constexpr long double kRelativeTolerance = 1e-15L;
// An exact boundary may lie on either side of the rounded tails by this.
constexpr long double kBoundarySlack = 1e-12L;

// r = 10^6, p = 0.999999 and r = 2.5, p = 1 - 10^-10 as typed, the
// complement in the last place; mpmath at 40 digits on the decimals.
TEST(DiscreteExtremes, ProbabilityNearOneFromItsComplement) {
  const models::Parameters million{1e6L, 0.999999L, 0, 0, 0, 1e-6L};
  const models::Parameters dispersed{2.5L, 0.9999999999L, 0, 0, 0, 1e-10L};
  const struct {
    models::Parameters parameters;
    Value (*function)(const Distribution&, long double);
    long double k, expected;
  } cases[] = {{million, models::Point, 0, 0.3678792572316450942857981L},
               {million, models::AtLeast, 4, 0.0189882795028998905070335L},
               {dispersed, models::Point, 0, 0.99999999975000000001875L},
               {dispersed, models::AtLeast, 3, 6.562499999261718750014766e-30L}};
  for (const auto& c : cases) {
    const Value v = c.function({&models::NegativeBinomialModel(), c.parameters}, c.k);
    ASSERT_TRUE(v.value.has_value()) << v.note;
    EXPECT_LE(std::fabs(*v.value / c.expected - 1), kRelativeTolerance) << c.expected;
  }
}

// P(a <= X <= b) is P(X <= b) for a below the support, P(X >= a) for b above
// it, 0 wholly outside it; where that tail is below the range, so is it.
TEST(DiscreteExtremes, IntervalsReachingOutsideTheSupport) {
  const struct {
    Distribution d;
    long double a, b;
  } cases[] = {{{&models::HypergeometricModel(), {50, 50, 20}}, -1, 0},
               {{&models::HypergeometricModel(), {50, 50, 20}}, 18, 25},
               {{&models::BinomialModel(), {0.3L, 10}}, 11, 12},
               {{&models::BinomialModel(), {0.5L, 2147483647}}, -1, 0},
               {{&models::PoissonModel(), {1e9L}}, -1, 0}};
  for (const auto& c : cases) {
    const auto [lo, hi] = models::Support(c.d);
    const Value between = models::Between(c.d, c.a, c.b).between;
    const Value want = c.b < lo || c.a > hi ? Value::Of(0)
                       : c.a < lo           ? models::AtMost(c.d, c.b)
                                            : models::AtLeast(c.d, c.a);
    ASSERT_EQ(between.value.has_value(), want.value.has_value()) << c.a << ": " << between.note;
    if (want.value) {
      EXPECT_NEAR(*between.value, *want.value, kRelativeTolerance * *want.value) << c.a;
    } else {
      EXPECT_NE(between.note.find("below the smallest"), std::string::npos) << c.a;
    }
  }
}

// P(X <= j) >= q (P(X > j) <= 1 - q above 1/2), slack in the tail's favour.
bool Reaches(const Distribution& d, long double j, long double q, long double slack) {
  if (q <= 0.5L) return models::AtMost(d, j).value.value_or(0) >= q * (1 - slack);
  return models::AtLeast(d, j + 1).value.value_or(0) <= (1 - q) * (1 + slack);
}

// The smallest k with P(X <= k) >= q, on the accurate tails, at the fields'
// extremes and percentiles from 1e-300 to 1 - 1e-15.
TEST(DiscreteExtremes, QuantileMeetsItsDefinitionAtTheExtremes) {
  const Distribution distributions[] = {
      {&models::BinomialModel(), {0.5L, 2147483647}},
      {&models::BinomialModel(), {0.999999999999999L, 1000000}},
      {&models::PoissonModel(), {1e15L}},
      {&models::HypergeometricModel(), {2147483647, 2147483647, 2147483647}},
      {&models::GeometricModel(), {1e-12L}},
      {&models::NegativeBinomialModel(), {2147483647, 1e-6L}},
      {&models::NegativeBinomialModel(), {1e-6L, 0.01L}},
      {&models::NegativeBinomialModel(), {40, 0.999999L}},
      {&models::DiscreteUniformModel(), {-2147483648.0L, 2147483647}}};
  for (const Distribution& d : distributions) {
    for (const long double q :
         {1e-300L, 1e-15L, 1e-6L, 0.3L, 0.5L, 0.999999L, 0.999999999999999L}) {
      SCOPED_TRACE(std::to_string(static_cast<double>(d.parameters[0])) + " at " +
                   std::to_string(static_cast<double>(q)));
      const Value k = models::DiscreteQuantile(d, q);
      ASSERT_TRUE(k.value.has_value()) << k.note;
      EXPECT_TRUE(Reaches(d, *k.value, q, kBoundarySlack));
      if (*k.value > models::Support(d).first) {
        EXPECT_FALSE(Reaches(d, *k.value - 1, q, -kBoundarySlack));
      }
    }
  }
}

}  // namespace
