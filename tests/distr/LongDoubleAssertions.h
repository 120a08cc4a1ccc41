// Assertions on extended reals for the Distr tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace distr_test {

// EXPECT_NEAR compares in double; this compares in long double, so that
// tolerances below 1e-16 (and values beyond the double range) mean what they say.
inline ::testing::AssertionResult NearL(const char* aText, const char* bText, const char* tolText,
                                        long double a, long double b, long double tolerance) {
  if (std::fabs(a - b) <= tolerance) return ::testing::AssertionSuccess();
  char text[256];
  std::snprintf(text, sizeof text, "%.21Lg vs %.21Lg: difference %.3Lg exceeds %.3Lg", a, b,
                std::fabs(a - b), tolerance);
  return ::testing::AssertionFailure()
         << aText << " and " << bText << " (tolerance " << tolText << "): " << text;
}

// Six decimals, as a report prints a probability or a quantile.
inline std::string Fixed6(long double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.6Lf", v);
  return text;
}

}  // namespace distr_test

#define EXPECT_NEAR_L(a, b, tolerance) EXPECT_PRED_FORMAT3(::distr_test::NearL, a, b, tolerance)
