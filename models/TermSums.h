// Tails of a discrete distribution summed from its point probabilities, for
// counts too large for Boost's prefixes to keep their relative accuracy.
//
// The terms of a distribution give Point(j), the ratios Up(j) = P(j + 1)/P(j) and
// Down(j) = P(j - 1)/P(j), its support [Lowest(), Highest()] and Mode().  A
// tail is summed from x outward on the side of x away from the mode, where
// the terms fall, until a term adds less than kSumTolerance of the sum; the
// tail that holds the mode is one minus the other, which then lies above
// about 1/2.  Every kAnchorSteps steps the term is taken afresh from Point,
// so that the roundings of the ratios cannot pile up over a long sum (a sum
// from the mode of a binomial with n = 10^9 runs 10^5 terms).
#pragma once

#include "models/Model.h"

namespace models {

inline constexpr long double kSumTolerance = 0x1p-66L;
inline constexpr int kAnchorSteps = 64;
// A binomial or Poisson distribution with a standard deviation of at most
// this has short sums: they run over at most some 10 times as many terms,
// faster than two incomplete beta or gamma functions.
inline constexpr long double kShortSumSpread = 16;

// P(X <= x) summed downward (step -1) or P(X >= x) upward (step +1).
template <class Terms>
long double SumFrom(const Terms& m, long double x, int step) {
  long double term = m.Point(x);
  long double sum = term;
  const long double end = step < 0 ? m.Lowest() : m.Highest();
  int sinceAnchor = 0;
  for (long double j = x; j != end && term > sum * kSumTolerance;) {
    const long double next = j + step;
    if (++sinceAnchor == kAnchorSteps) {
      term = m.Point(next);
      sinceAnchor = 0;
    } else {
      term *= step < 0 ? m.Down(j) : m.Up(j);
    }
    sum += term;
    j = next;
  }
  return sum;
}

// P(X <= x) for x inside the support, below its top.
template <class Terms>
long double SummedAtMost(const Terms& m, long double x) {
  if (x < m.Mode()) return SumFrom(m, x, -1);
  return 1 - SumFrom(m, x + 1, +1);
}

// P(X > x) for x inside the support, below its top.
template <class Terms>
long double SummedAbove(const Terms& m, long double x) {
  if (x >= m.Mode()) return SumFrom(m, x + 1, +1);
  return 1 - SumFrom(m, x, -1);
}

// P(X = x) and the strict tails P(X < x), P(X > x) for whole x strictly
// inside the support, from one sum on the side of x away from the mode; the
// other strict tail is one minus that sum and the point, and so at least
// about 1/2.
template <class Terms>
DiscreteSplit SplitAround(const Terms& m, long double x) {
  const long double point = m.Point(x);
  if (x < m.Mode()) {
    const long double below = SumFrom(m, x - 1, -1);
    return {point, below, 1 - (below + point)};
  }
  const long double above = SumFrom(m, x + 1, +1);
  return {point, 1 - (above + point), above};
}

}  // namespace models
