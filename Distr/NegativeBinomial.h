// The negative binomial distribution: X counts the failures before the r-th
// success of independent trials of success probability 0 < p <= 1, so
// P(X = k) = C(k + r - 1, k) p^r (1 - p)^k for k = 0, 1, 2, ...  Its tails
// are incomplete beta functions: P(X <= k) = I_p(r, k + 1) and
// P(X >= k) = 1 - I_p(r, k), each taken directly.
#pragma once

#include <cstdint>

#include "Distr/Closed.h"

namespace Distr {

DiscreteTails NegativeBinomialAt(int32_t r, long double p, int32_t k);

}  // namespace Distr
