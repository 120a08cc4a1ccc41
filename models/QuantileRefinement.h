// A quantile refined on the model's own tails: Newton's steps on the
// logarithm of the tail against the logarithm of x, from a first guess
// (Boost's quantile, whose own tails are less accurate far out: 1e-3
// relative at p = 1e-100 for the noncentral F, and which gives up beyond
// some 1e-50; the median where it does), so that the quantile agrees with
// the tails the model reports.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

namespace models {

// Steps at most; near the answer each roughly squares the relative error.
inline constexpr int kRefinementSteps = 64;
// A step below this fraction of x ends the refinement.
inline constexpr long double kRefinementTolerance = 0x1p-63L;
// The largest step in ln x: e^10 at a time from a guess far off.
inline constexpr long double kLargestLogStep = 10;
// Below this size a step no smaller than the one before it ends the
// refinement: the steps are then the rounding of the tails, which moves x
// back and forth by some units of 1e-18 relative where the tail falls slowly
// (F(0.2, 82280004) at 0.1), and would go on to kRefinementSteps.
inline constexpr long double kRoundingSteps = 0x1p-40L;

// The x > 0 with tail(x) = q, tail(x) the upper tail when upper, else the
// lower, density(x) its slope, from guess > 0.  With u = ln x,
// d ln tail / du = -+x density / tail, and x moves by the factor e^(step);
// where a step lands on a tail or density outside the extended range it is
// halved.
template <class Tail, class Density>
long double RefinedQuantile(long double guess, long double q, bool upper, Tail&& tail,
                            Density&& density) {
  const long double logQ = std::log(q);
  long double x = guess, good = 0, last = kLargestLogStep;
  for (int step = 0; step < kRefinementSteps; ++step) {
    const long double t = tail(x), f = density(x);
    if (!(t > 0 && f > 0 && std::isfinite(t) && std::isfinite(f))) {
      if (good == 0) return x;
      x = std::sqrt(x) * std::sqrt(good);  // half the step, in ln x
      continue;
    }
    good = x;
    const long double slope = x * f / t;  // |d ln tail / d ln x|
    const long double move =
        std::clamp((std::log(t) - logQ) / slope, -kLargestLogStep, kLargestLogStep);
    if (std::fabs(move) < kRoundingSteps && std::fabs(move) >= last) return x;
    last = std::fabs(move);
    x *= std::exp(upper ? move : -move);
    if (std::fabs(move) <= kRefinementTolerance) return x;
  }
  return x;
}

}  // namespace models

namespace models {

// Steps at most of BracketedQuantile.
inline constexpr int kBracketedSteps = 200;
// The rounding of a tail's logarithm, relative to max(1, |ln q|).
inline constexpr long double kLogRounding = 8 * std::numeric_limits<long double>::epsilon();

// The x > 0 with ln tail(x) = ln q, the tail falling in x when upper, else
// rising, from logTail(x) and logDensity(x) (the logarithms keep tails far
// below the extended range), from guess > 0; infinity where even the largest
// real leaves the tail on guess's side of q, 0 where the smallest does.  In
// v = ln x the tail's logarithm has the slope -+x density / tail.  Newton's
// steps in v, at most 1, 2, 4, ... until the root is bracketed (a tail far
// out that turns from a normal fall to a power of x throws plain Newton's
// steps off the range); then, within the bracket, Newton's step from the
// newest point, else from either end of the bracket, else its midpoint.
template <class LogTail, class LogDensity>
long double BracketedQuantile(long double guess, long double q, bool upper, LogTail&& logTail,
                              LogDensity&& logDensity) {
  const long double logQ = std::log(q), sign = upper ? 1 : -1;
  const long double top = std::log(std::numeric_limits<long double>::max());
  const long double bottom = std::log(std::numeric_limits<long double>::min());
  // h(v) = -+(ln tail - ln q) falls through 0 at the root; its Newton's step.
  struct Point {
    long double v, h, step;
  };
  const auto at = [&](long double v) {
    const long double x = std::min(std::exp(v), std::numeric_limits<long double>::max());
    const long double lnTail = logTail(x), h = sign * (lnTail - logQ);
    return Point{v, h, h / std::exp(v + logDensity(x) - lnTail)};
  };
  Point lo{bottom, NAN, NAN}, hi{top, NAN, NAN}, p = at(std::log(guess));
  bool bracketed = false;
  long double limit = 1, last = top - bottom;
  for (int i = 0; i < kBracketedSteps && p.h != 0; ++i) {
    (p.h > 0 ? lo : hi) = p;
    bracketed = !std::isnan(lo.h) && !std::isnan(hi.h);
    const long double tolerance = kRefinementTolerance * std::max(1.0L, std::fabs(p.v));
    // Where ln tail is within its rounding of ln q, so is x within what q
    // decides.
    if (std::fabs(p.step) <= tolerance || std::fabs(p.h) <= kLogRounding * std::max(1.0L, -logQ))
      break;
    long double next = p.v + p.step;
    if (!bracketed) {
      if (p.v == (p.h > 0 ? top : bottom)) return p.h > 0 ? INFINITY : 0;
      const long double reach = p.h > 0 ? limit : -limit;
      if (!(std::fabs(p.step) <= limit)) next = p.v + reach;
      next = std::clamp(next, bottom, top);
      limit *= 2;
    } else {
      const auto inside = [&](long double v) { return v > lo.v && v < hi.v; };
      if (!inside(next)) next = hi.v + hi.step;
      if (!inside(next)) next = lo.v + lo.step;
      if (!inside(next)) next = (lo.v + hi.v) / 2;
    }
    const long double move = std::fabs(next - p.v);
    // Steps that no longer shrink at the tails' rounding end the search.
    if (move <= tolerance || (move < kRoundingSteps && move >= last)) break;
    if (bracketed && hi.v - lo.v <= tolerance) break;
    last = move;
    p = at(next);
  }
  return std::exp(p.v);
}

}  // namespace models
