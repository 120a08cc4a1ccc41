// The probability between two bounds where the difference of two tails
// would cancel or where a tail leaves the extended range: each against
// mpmath at 40 digits or more on the same binary inputs.
#include <gtest/gtest.h>

#include <cmath>

#include "models/Details.h"
#include "models/Models.h"

namespace {

// Narrow intervals are integrated; a difference of tails lost up to 2.4e-10.
constexpr long double kRelativeTolerance = 1e-14L;

struct Case {
  const char* label;
  const models::Model& model;
  models::Parameters parameters;
  long double a, b;
  long double between, outside;
};

TEST(Between, AgreesWhereTailsCancelOrLeaveTheRange) {
  const Case cases[] = {
      {"narrow at the mode", models::NormalModel(), {0, 1}, 0, 1e-10L,
       3.9894228040143268e-11L, 0.99999999996010577L},
      {"narrow beside it", models::NormalModel(), {0, 1}, 1, 1.001L,
       0.00024184973917704397L, 0.99975815026082296L},
      {"narrow gamma", models::GammaModel(), {2, 1}, 5, 5.00001L, 3.3689600236824251e-7L,
       0.99999966310399763L},
      {"a bound far below the range", models::NormalModel(), {0, 1}, -1e6L, -5,
       2.8665157187919391e-7L, 0.99999971334842812L},
      {"both bounds in a tail below 1e-1700", models::ChiSquareModel(), {8053}, 88.913937L,
       1311.1066L, 4.8964879120252563623e-1713L, 1},
      {"the lower tail below the range", models::LogisticModel(), {1e20L, 1}, 0, 1e20L, 0.5L,
       0.5L},
  };
  for (const Case& c : cases) {
    const models::IntervalValues v = models::Between({&c.model, c.parameters}, c.a, c.b);
    ASSERT_TRUE(v.between.value && v.outside.value) << c.label;
    EXPECT_LE(std::fabs(*v.between.value / c.between - 1), kRelativeTolerance) << c.label;
    EXPECT_LE(std::fabs(*v.outside.value / c.outside - 1), kRelativeTolerance) << c.label;
  }
}

// A location of 1e300 at a scale of 1e10, its decimal's residual given: the
// first-order correction must not move the halves (it did, to 0.49999995).
TEST(Between, ResidualsOfAHugeLocationLeaveTheHalves) {
  models::Residuals residuals;
  residuals.parameters[0] = residuals.b = 5.2e280L;
  const models::IntervalValues v =
      models::Between({&models::CauchyModel(), {1e300L, 1e10L}}, 2, 1e300L, residuals);
  ASSERT_TRUE(v.between.value && v.outside.value);
  EXPECT_LE(std::fabs(*v.between.value - 0.5L), 1e-18L);
  EXPECT_LE(std::fabs(*v.outside.value - 0.5L), 1e-18L);
}

}  // namespace
