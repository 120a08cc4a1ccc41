// A quantile refined on the model's own tails: Newton's steps on the
// logarithm of the tail, from a first guess (Boost's quantile, whose own
// tails are less accurate far out: 1e-3 relative at p = 1e-100 for the
// noncentral F), so that the quantile agrees with the tails the model
// reports.
#pragma once

#include <cmath>

namespace details {

// Steps at most; each roughly squares the relative error of the guess.
inline constexpr int kRefinementSteps = 32;
// A step below this fraction of x ends the refinement.
inline constexpr long double kRefinementTolerance = 0x1p-63L;

// The x > 0 with tail(x) = q, tail(x) the upper tail when upper, else the
// lower, density(x) its slope, from guess > 0.  ln tail(x) - ln q changes
// by -+density/tail per unit of x; a step is kept within a factor 2 of x.
template <class Tail, class Density>
long double RefinedQuantile(long double guess, long double q, bool upper, Tail&& tail,
                            Density&& density) {
  const long double logQ = std::log(q);
  long double x = guess;
  for (int step = 0; step < kRefinementSteps; ++step) {
    const long double t = tail(x), f = density(x);
    if (!(t > 0 && f > 0 && std::isfinite(t) && std::isfinite(f))) return x;
    const long double move = (std::log(t) - logQ) * (t / f);
    const long double next = std::fmin(std::fmax(upper ? x + move : x - move, x / 2), 2 * x);
    if (std::fabs(next - x) <= kRefinementTolerance * x) return next;
    x = next;
  }
  return x;
}

}  // namespace details
