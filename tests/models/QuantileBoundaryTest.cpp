// The discrete quantile, the smallest x with P(X <= x) >= p, where p is
// exactly a value of P(X <= x): the boundary belongs to that x.  Each p is a
// fraction of a power of two, exact as an extended real, and so is the tail:
// P(X <= 0) = (1/2)^4 = 1/16, P(X <= 2) = (1 + 10 + 45)/2^10, (3/4)^3 = 27/64,
// (27 + 27)/64, and an urn's C(3, 2)/C(4, 2) = 1/2.
#include <gtest/gtest.h>

#include "models/Details.h"
#include "models/Models.h"

namespace {

struct BoundaryCase {
  const char* label;
  const models::Model& (*model)();
  models::Parameters parameters;
  long double p;
  long double quantile;
};

TEST(DiscreteQuantile, AnExactBoundaryBelongsToItsX) {
  const BoundaryCase cases[] = {
      {"binomial 1/2 4 at 1/16", models::BinomialModel, {0.5L, 4}, 0.0625L, 0},
      {"binomial 1/2 4 just above 1/16", models::BinomialModel, {0.5L, 4}, 0.0625L + 1e-18L, 1},
      {"binomial 1/2 10 at 56/1024", models::BinomialModel, {0.5L, 10}, 0.0546875L, 2},
      {"binomial 1/4 3 at 27/64", models::BinomialModel, {0.25L, 3}, 27.0L / 64, 0},
      {"binomial 1/4 3 at 54/64", models::BinomialModel, {0.25L, 3}, 54.0L / 64, 1},
      // An urn of 2 blue and 2 red, a sample of 2: P(X <= 1) = 5/6, not dyadic;
      // of 1 blue and 3 red, a sample of 2: P(X <= 0) = 3/6 = 1/2.
      {"urn 1 3 2 at 1/2", models::HypergeometricModel, {1, 3, 2}, 0.5L, 0},
      {"urn 1 3 2 just above 1/2", models::HypergeometricModel, {1, 3, 2}, 0.5L + 1e-18L, 1},
  };
  for (const BoundaryCase& c : cases) {
    const models::Value q = models::DiscreteQuantile({&c.model(), c.parameters}, c.p);
    ASSERT_TRUE(q.value.has_value()) << c.label << ": " << q.note;
    EXPECT_EQ(*q.value, c.quantile) << c.label;
  }
}

}  // namespace
