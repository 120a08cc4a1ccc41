// P(X <= k) of the negative binomial (and so the geometric) and the discrete
// uniform distributions compared with a probability q in exact arithmetic
// (GMP integers), for the discrete quantile at a boundary, as ExactTails.h
// does for the binomial and the urn.
//
// At most k failures before the r-th success are at least r successes in
// r + k trials: with p = a / D exactly (ExactTails.h),
//   P(X <= k) = 1 - sum_{j < r} C(r + k, j) a^j (D - a)^(r + k - j) / D^(r + k),
// the binomial sum of ExactTails.h over r terms (or k + 1, from the other
// side).  That of the discrete uniform distribution on n points is
// count / n.  Both are compared with q by cross-multiplying.
#pragma once

#include <optional>

#include "models/ExactTails.h"

namespace models {

// The sign of P(X <= k) - q for the negative binomial distribution of r
// successes of probability p: -1, 0 or 1; none for r not whole, or where
// the integers would pass kExactTailSize.  k whole, at least 0; q in (0, 1).
std::optional<int> CompareFailuresAtMost(ExactRatio& p, long double r, long double k,
                                         ExactRatio& q);

// The sign of count / total - q, for whole 0 <= count <= total < 2^64.
int CompareCountAtMost(long double count, long double total, ExactRatio& q);

}  // namespace models
