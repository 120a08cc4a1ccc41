// The double-length arithmetic of ExtendedPair.h on values whose exact
// results are known: with e = 2^-40, (1 + e)(1 - e) = 1 - 2^-80, whose last
// bits fall below extended precision, and back again by division; a sum whose
// leading parts cancel; and the identities (v / w) w = v to about 2^-126.
#include <gtest/gtest.h>

#include <cmath>

#include "models/ExtendedPair.h"

namespace {

using models::ExtendedPair;

const long double kE = std::ldexp(1.0L, -40);

struct ExactCase {
  const char* label;
  ExtendedPair result, expected;
};

TEST(ExtendedPair, ExactResultsKeepTheirLastBits) {
  const ExtendedPair nearOne{1, -std::ldexp(1.0L, -80)};
  const ExactCase cases[] = {
      {"(1 + e)(1 - e)", models::ProductOfPairs({1 + kE, 0}, {1 - kE, 0}), nearOne},
      {"(1 - 2^-80) / (1 - e)", models::QuotientOfPairs(nearOne, {1 - kE, 0}), {1 + kE, 0}},
      {"(2^70 + 1) + (2^-10 - 2^70)",
       models::SumPair({std::ldexp(1.0L, 70), 1}, {-std::ldexp(1.0L, 70), std::ldexp(1.0L, -10)}),
       {1 + std::ldexp(1.0L, -10), 0}},
      {"(1 - 2^-80) (1 - 2^-80)", models::ProductOfPairs(nearOne, nearOne),
       {1, -std::ldexp(1.0L, -79)}},
  };
  for (const ExactCase& c : cases) {
    EXPECT_EQ(c.result.hi, c.expected.hi) << c.label;
    EXPECT_EQ(c.result.lo, c.expected.lo) << c.label;
  }
}

TEST(ExtendedPair, QuotientTimesDivisorIsTheDividend) {
  const ExtendedPair values[][2] = {
      {{1, 0}, {3, 0}}, {{22, 0}, {7, 0}}, {{1e300L, 1e280L}, {-3e-200L, 1e-220L}},
      {{0.1L, 1e-21L}, {0.7L, -3e-21L}}};
  for (const auto& v : values) {
    const ExtendedPair back = models::ProductOfPairs(models::QuotientOfPairs(v[0], v[1]), v[1]);
    const long double gap = (back.hi - v[0].hi) + (back.lo - v[0].lo);
    EXPECT_LE(std::fabs(gap), std::ldexp(std::fabs(v[0].hi), -120)) << v[0].hi << " / " << v[1].hi;
  }
}

}  // namespace
