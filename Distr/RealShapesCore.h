// The pieces of the real-parameter gamma and beta functions that the
// noncentral distributions build on: the power terms that start every series
// and ladder of incomplete gamma and beta values, and the incomplete beta
// function with the complement of its argument passed in exactly.
#pragma once

#include <cmath>
#include <initializer_list>

#include "Distr/Errors.h"
#include "Distr/Tails.h"

namespace Distr {

// The domains of the public routines: a shape or degrees of freedom is a
// finite real > 0, a noncentrality a finite real >= 0 (or any finite real
// for the t), a probability a real strictly between 0 and 1, an argument not
// NaN.  Anything else raises EDomainError.
inline void RequireShape(long double a) {
  if (!(a > 0) || std::isinf(a)) throw EDomainError();
}
inline void RequireProbability(long double p) {
  if (!(p > 0 && p < 1)) throw EDomainError();
}
inline void RequireArgument(long double x) {
  if (std::isnan(x)) throw EDomainError();
}

// Both tails within [0, 1]: rounding in the power terms of extreme shapes,
// or in a sum of weights, may pass an end by an ulp or two.
inline Tails Clamped(Tails tails) {
  for (long double* tail : {&tails.lower, &tails.upper}) {
    if (*tail < 0) *tail = 0;
    if (*tail > 1) *tail = 1;
  }
  return tails;
}

// ln Gamma(1 + a), accurate relative to its own size also for small |a|.
long double LnGamma1p(long double a);

// ln Gamma(b + a) - ln Gamma(b) for a, b > 0, accurate relative to its own
// size also for a much smaller than b.
long double LnGammaShift(long double b, long double a);

// ln Gamma*(a) = ln Gamma(a) - (a - 1/2) ln a + a - ln sqrt(2 pi), the
// remainder of Stirling's formula, for a > 0.
long double LnGammaStar(long double a);

// r - 1 - ln r, given both r > 0 and rMinus1 = r - 1 (the latter accurately
// where r is near 1).
long double LogExcess(long double rMinus1, long double r);

// x^a e^-x / Gamma(a + 1) for a >= 0, x >= 0: the first term of the series
// of P(a, x), the Poisson probability of a at mean x, and the step
// P(a, x) - P(a + 1, x).
long double GammaPowerTerm(long double a, long double x);

// x^a y^b / B(a, b) for a, b > 0 and y = 1 - x: a times the first term of the
// series of I_x(a, b), and a times the step I_x(a, b) - I_x(a + 1, b).
long double BetaPowerTerm(long double a, long double b, long double x, long double y);

// A start for the standard normal quantile of a lower tail q <= 1/2 (within
// 5e-4), for any q down to the smallest extended real.
long double RoughNormalQuantile(long double q);

// BetaTails(a, b, x) with y = 1 - x given exactly, so that the upper tail
// keeps its accuracy where x is within rounding of 1.
Tails BetaTailsOf(long double a, long double b, long double x, long double y);

}  // namespace Distr
