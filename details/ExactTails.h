// P(X <= k) of the binomial and hypergeometric distributions compared with a
// probability q in exact arithmetic (GMP integers), for the discrete
// quantile at a boundary: where P(X <= k) equals q, as P(X <= 0) = 0.0625 of
// a binomial with p = 1/2 and n = 4 does, the rounded value may fall on
// either side of q and the quantile would be off by one.
//
// Every extended real is a fraction m / 2^t exactly, so with p = a / D
// (D = 2^t) the binomial tail is
//   P(X <= k) = sum_{i <= k} C(n, i) a^i (D - a)^(n - i) / D^n,
// and the urn's is sum_{i <= k} C(B, i) C(R, n - i) / C(B + R, n): both
// fractions of integers, compared with q = b / 2^s by cross-multiplying.
// Only where the integers stay small (kExactTailBits); none otherwise.
#pragma once

#include <optional>

namespace details {

// The most bits of the integers compared: beyond, no answer.
inline constexpr long kExactTailBits = 1L << 17;

// The sign of P(X <= k) - q: -1, 0 or 1; none where the integers would be too
// large.  k whole, inside the support; q in (0, 1).
std::optional<int> CompareBinomialAtMost(long double p, long double n, long double k,
                                         long double q);
std::optional<int> CompareUrnAtMost(long double blue, long double red, long double sample,
                                    long double k, long double q);

}  // namespace details
