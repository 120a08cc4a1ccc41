// Sums over a Poisson number of extra degrees of freedom, for the noncentral
// chi-square and F distributions: with weights w_j = e^-mu mu^j / j!
// (Loader's term, Stirling.h),
//   S = sum_{j >= 0} w_j term(j),
// where term(j) is a tail or density of the central distribution with j more
// halves of degrees of freedom, each positive and accurate by itself, so that
// the sum keeps their relative accuracy (no differences), far tails
// included.  The sum runs from the mode of the weights upward, then downward,
// each way until a term falls below kSumTolerance of the sum and below the
// one before it (the terms rise to one peak and fall: past it the weights
// fall ever faster).  Up to mu = kMixtureLimit: beyond, the models take
// Boost's distributions.
#pragma once

#include <cmath>

#include "models/Stirling.h"
#include "models/TermSums.h"

namespace models {

// The largest mean of the weights that the sums serve: some 4 sqrt(mu) terms
// around the mode, more in a far tail.
inline constexpr long double kMixtureLimit = 10000;
// A guard on the count of terms each way, far beyond any sum that converges.
inline constexpr long kMixtureMaxTerms = 1L << 20;

namespace mixture {

// Adds w_j term(j) for j = from, from + step, ... to sum, until they fall
// away (or j passes 0 going down).
template <class Term>
void AddFrom(long double mu, long double from, int step, Term& term, long double& sum) {
  long double previous = 0;
  for (long n = 0; n < kMixtureMaxTerms && from + n * step >= 0; ++n) {
    const long double j = from + n * step;
    const long double weight = PoissonTerm(j, mu);
    const long double t = weight * term(j);
    sum += t;
    const bool falling = t <= previous && t <= sum * kSumTolerance;
    if (falling && (sum > 0 || weight == 0)) return;
    previous = t;
  }
}

}  // namespace mixture

// sum_j e^-mu mu^j / j! term(j), mu > 0.
template <class Term>
long double PoissonMixture(long double mu, Term&& term) {
  const long double mode = std::floor(mu);
  long double sum = 0;
  mixture::AddFrom(mu, mode, +1, term, sum);
  if (mode > 0) mixture::AddFrom(mu, mode - 1, -1, term, sum);
  return sum;
}

}  // namespace models
