// P(X <= k) of the binomial and hypergeometric distributions compared with a
// probability q in exact arithmetic (GMP integers), for the discrete
// quantile at a boundary: where P(X <= k) equals q, as P(X <= 0) = 0.0625 of
// a binomial with p = 1/2 and n = 4 does, the rounded value may fall on
// either side of q and the quantile would be off by one.
//
// p and q are fractions of whole numbers exactly: the decimals a user typed
// (0.3 = 3 / 10), or else the extended reals they became (m / 2^t).  With
// p = a / D the binomial tail is
//   P(X <= k) = sum_{i <= k} C(n, i) a^i (D - a)^(n - i) / D^n,
// and the urn's is sum_{i <= k} C(B, i) C(R, n - i) / C(B + R, n): both
// fractions of integers, compared with q = b / Q by cross-multiplying.
// Only where the integers stay small (kExactTailBits); none otherwise.
#pragma once

#include <optional>

#include "models/BigInteger.h"
#include "models/Details.h"

namespace models {

// The most bits of the integers compared: beyond, no answer.
inline constexpr long kExactTailBits = 1L << 17;

// A number of [0, 1] as numerator / denominator exactly: the ratio typed
// where there is one, else the extended real v.
struct ExactRatio {
  ExactRatio(long double v, const Ratio& typed);
  BigInteger numerator, denominator;
};

// The sign of numerator / denominator - q: -1, 0 or 1.
int CompareFraction(mpz_ptr numerator, mpz_ptr denominator, ExactRatio& q);

// The sign of P(X <= k) - q: -1, 0 or 1; none where the integers would be too
// large.  k whole, inside the support; q in (0, 1).
std::optional<int> CompareBinomialAtMost(ExactRatio& p, long double n, long double k,
                                         ExactRatio& q);
std::optional<int> CompareUrnAtMost(long double blue, long double red, long double sample,
                                    long double k, ExactRatio& q);

}  // namespace models
