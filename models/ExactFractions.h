// P(X <= k) of the negative binomial (and so the geometric) and the discrete
// uniform distributions compared with a probability q in exact arithmetic
// (GMP integers), for the discrete quantile at a boundary, as ExactTails.h
// does for the binomial and the urn.
//
// With p = a / D exactly (ExactTails.h), the probability of at most k
// failures before the r-th success is
//   P(X <= k) = a^r sum_{i <= k} C(r + i - 1, i) (D - a)^i D^(k - i) / D^(r + k),
// and that of the discrete uniform distribution on n points is count / n;
// both are compared with q by cross-multiplying.
#pragma once

#include <optional>

#include "models/ExactTails.h"

namespace models {

// The sign of P(X <= k) - q for the negative binomial distribution of r
// successes of probability p: -1, 0 or 1; none where the integers would
// pass kExactTailBits.  k whole, at least 0; q in (0, 1).
std::optional<int> CompareFailuresAtMost(ExactRatio& p, long double r, long double k,
                                         ExactRatio& q);

// The sign of count / total - q, for whole 0 <= count <= total < 2^64.
int CompareCountAtMost(long double count, long double total, ExactRatio& q);

}  // namespace models
