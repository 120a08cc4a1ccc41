// Unevaluated sums hi + lo of two extended reals, for the few places where
// one rounding of an argument would be magnified in a far tail (the standard
// normal variable of a normal tail 150 deviations out turns one unit of the
// last place into 2e-15 of relative error).
//
// The error-free transformations are Knuth's TwoSum and Dekker's product with
// Veltkamp's split of a 64-bit mantissa into two halves of 32 bits.  They
// depend on every operation being rounded once to extended precision, which
// -ffp-contract=off and the absence of -ffast-math guarantee.
#pragma once

namespace models {

struct ExtendedPair {
  long double hi = 0;
  long double lo = 0;
};

// a + b exactly, as the rounded sum and its error.
inline ExtendedPair TwoSum(long double a, long double b) {
  const long double s = a + b;
  const long double bb = s - a;
  const long double err = (a - (s - bb)) + (b - bb);
  return {s, err};
}

// a as hi + lo, each with at most 32 significant bits.
inline ExtendedPair Split(long double a) {
  constexpr long double kSplitter = 4294967297.0L;  // 2^32 + 1
  const long double t = kSplitter * a;
  const long double hi = t - (t - a);
  return {hi, a - hi};
}

// a * b exactly, as the rounded product and its error (|a|, |b| below 2^16000).
inline ExtendedPair TwoProduct(long double a, long double b) {
  const long double p = a * b;
  const ExtendedPair as = Split(a);
  const ExtendedPair bs = Split(b);
  const long double err = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
  return {p, err};
}

// The sum, product and quotient of two pairs, as a pair: the usual
// double-length arithmetic, the leading parts exactly, the rest to first
// order.  The product and quotient are good to a few units of 2^-126
// relative, the sum to a few units of 2^-126 of its larger term (the low
// parts' sum rounds once).
inline ExtendedPair SumPair(const ExtendedPair& a, const ExtendedPair& b) {
  const ExtendedPair s = TwoSum(a.hi, b.hi);
  return TwoSum(s.hi, s.lo + (a.lo + b.lo));
}

inline ExtendedPair ProductOfPairs(const ExtendedPair& a, const ExtendedPair& b) {
  const ExtendedPair p = TwoProduct(a.hi, b.hi);
  return TwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline ExtendedPair QuotientOfPairs(const ExtendedPair& a, const ExtendedPair& b) {
  const long double q = a.hi / b.hi;
  const ExtendedPair qb = TwoProduct(q, b.hi);
  const long double rest = (((a.hi - qb.hi) - qb.lo) + a.lo - q * b.lo) / b.hi;
  return TwoSum(q, rest);
}

// a - m p as a pair, to far more than extended precision: m p exactly as
// a pair, a less its leading part exactly.
inline ExtendedPair ExactOffset(long double a, long double m, long double p) {
  const ExtendedPair mp = TwoProduct(m, p);
  const ExtendedPair offset = TwoSum(a, -mp.hi);
  return TwoSum(offset.hi, offset.lo - mp.lo);
}

}  // namespace models
