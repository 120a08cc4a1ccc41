// Bounds of the inverse iterations (shared by the gamma and beta inverses).
//
// The stopping tolerances of the inverses are absolute.  For degrees of
// freedom near 10^9 the rounding noise of a tail divided by the density
// exceeds them, and the iteration would never settle.  Past kInversePlainSteps
// steps (more than any well-conditioned case takes) a step within
// kInverseRelativeTolerance of the iterate also ends the iteration, and
// kInverseMaxSteps ends it in any case, with the last iterate as the result.
#pragma once

#include <cmath>

namespace Distr {

constexpr int kInversePlainSteps = 50;
constexpr long double kInverseRelativeTolerance = 1e-12L;
constexpr int kInverseMaxSteps = 200;

// True when an inverse iteration may stop: its step is within the tolerance,
// or, past the steps that a well-conditioned case needs, within the relative
// bound that the rounding noise of the tail allows, or the step budget is spent.
// A routine whose well-conditioned cases settle sooner may pass a smaller
// plainSteps, so that the noisy cases end sooner too.
inline bool InverseSettled(long double delta, long double tolerance, long double at, int steps,
                           int plainSteps = kInversePlainSteps) {
  if (!(delta > tolerance)) return true;
  if (steps >= plainSteps && delta <= std::fabs(at) * kInverseRelativeTolerance) return true;
  return steps >= kInverseMaxSteps;
}

}  // namespace Distr
