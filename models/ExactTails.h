// P(X <= k) of the binomial and hypergeometric distributions compared with a
// probability q in exact arithmetic (GMP integers), for the discrete
// quantile at a boundary: where P(X <= k) equals q, as P(X <= 0) = 0.0625 of
// a binomial with p = 1/2 and n = 4 does, the rounded value may fall on
// either side of q and the quantile would be off by one.
//
// p and q are fractions of whole numbers exactly, in lowest terms: the
// decimals a user typed (0.3 = 3 / 10), or else the extended reals they
// became (m / 2^t).  With p = a / D the binomial tail is
//   P(X <= k) = sum_{i <= k} C(n, i) a^i (D - a)^(n - i) / D^n,
// and the urn's is sum_{i <= k} C(B, i) C(R, n - i) / C(B + R, n): both
// fractions of integers, compared with q = b / Q by cross-multiplying.  The
// sum runs over the side of k with fewer terms (the other side's sum taken
// from the whole), each term the one before times a ratio of small integers,
// summed by binary splitting (ExactTails.cpp).  Only where the integers of
// that sum stay small (kExactTailSize); none otherwise, and the rounded
// tails decide.
#pragma once

#include <optional>

#include "models/BigInteger.h"
#include "models/Details.h"

namespace models {

// The most bits of the products of one exact tail: the terms summed times
// the bits of a ratio's factors, and the first term and the whole.
inline constexpr long double kExactTailSize = 0x1p20L;

// A number of [0, 1] as numerator / denominator exactly, in lowest terms:
// the ratio typed where there is one, else the extended real v.
struct ExactRatio {
  ExactRatio(long double v, const Ratio& typed);
  BigInteger numerator, denominator;
};

// 1 - q for the ratio typed, q its extended real: the difference of the
// integers exactly, then rounded (1 - q itself where none was typed).
long double ComplementOf(const Ratio& typed, long double q);

// Whether v, or the ratio typed where given, is exactly 1/2.
bool IsHalf(long double v, const Ratio& typed);
bool IsHalf(ExactRatio& v);

// The sign of numerator / denominator - q: -1, 0 or 1.
int CompareFraction(mpz_ptr numerator, mpz_ptr denominator, ExactRatio& q);

// The sign of P(X <= k) - q: -1, 0 or 1; none where the integers would pass
// kExactTailSize.  k whole, inside the support; q in (0, 1).
std::optional<int> CompareBinomialAtMost(ExactRatio& p, long double n, long double k,
                                         ExactRatio& q);
std::optional<int> CompareUrnAtMost(long double blue, long double red, long double sample,
                                    long double k, ExactRatio& q);

// sum_{i <= k} C(n, i) a^i (D - a)^(n - i) for p = a / D, 0 < p < 1, into
// sum, and D^n into whole; false (neither set) where the work would pass
// kExactTailSize.  Whole 0 <= k < n.
bool BinomialLowerSum(ExactRatio& p, long double n, long double k, mpz_ptr sum, mpz_ptr whole);

}  // namespace models
