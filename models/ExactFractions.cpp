// The exact comparisons of ExactFractions.h: the tail and q as fractions of
// GMP integers, cross-multiplied.
#include "models/ExactFractions.h"

#include <cstdint>

#include "models/Engine.h"

namespace models {

namespace {

void SetUnsigned(mpz_ptr z, uint64_t v) {
  mpz_import(z, 1, 1, sizeof v, 0, 0, &v);
}

}  // namespace

std::optional<int> CompareFailuresAtMost(ExactRatio& p, long double r, long double k,
                                         ExactRatio& q) {
  if (!(IsWhole(r) && r >= 1 && k >= 0)) return std::nullopt;
  // At most k failures before the r-th success: at least r successes in
  // r + k trials, P(X <= k) = 1 - P(Y <= r - 1), Y binomial of r + k trials.
  BigInteger below, whole;
  if (!BinomialLowerSum(p, r + k, r - 1, below.get(), whole.get())) return std::nullopt;
  mpz_sub(below.get(), whole.get(), below.get());
  return CompareFraction(below.get(), whole.get(), q);
}

int CompareCountAtMost(long double count, long double total, ExactRatio& q) {
  BigInteger numerator, denominator;
  SetUnsigned(numerator.get(), static_cast<uint64_t>(count));
  SetUnsigned(denominator.get(), static_cast<uint64_t>(total));
  return CompareFraction(numerator.get(), denominator.get(), q);
}

}  // namespace models
