// The root finders of the real-parameter quantiles.
//
// Both solve g(t) = 0 for a function g increasing in a transformed variable t
// (ln x for a variable on (0, inf), logit x for one on (0, 1)), within a
// finite domain [lo, hi] at whose ends g is taken to have the signs of its
// limits without being evaluated there.  g may be -inf or +inf where a tail
// underflows; such a value only moves the bracket.  The iteration counts
// depend on nothing but the arguments, so every run gives the same digits.
#pragma once

#include <cmath>

namespace Distr {

// A value of g and, for the Newton search, its derivative dg/dt.
struct Probe {
  long double value;
  long double slope;
};

// A step or bracket at most this (or RootTolerance) ends a search.
constexpr long double kRootTolerance = 0x1p-58L;
// Newton steps before the search ends regardless (bisection alone takes
// about 80 to close the widest domain).
constexpr int kNewtonMaxSteps = 120;
// Evaluations of the bracketing search before it ends regardless.
constexpr int kBracketMaxSteps = 200;
// Steps of PolishedRoot.
constexpr int kRegulaFalsiSteps = 4;

// The tolerance at t: kRootTolerance, or four units in the last place of t
// where those are larger.  t is ln x, logit x or asinh x, so that this is a
// relative tolerance on x (or 1 - x) wherever x is far from 0.
inline long double RootTolerance(long double t) {
  const long double ulps = std::fabs(t) * 0x1p-61L;
  return ulps > kRootTolerance ? ulps : kRootTolerance;
}

// Newton's method on g, started at t and kept inside the bracket known so far:
// a step that leaves it, or that g's value or slope cannot make, is replaced
// by bisecting the bracket.
template <class G>
long double NewtonInBracket(G g, long double t, long double lo, long double hi) {
  for (int step = 0; step < kNewtonMaxSteps; ++step) {
    const Probe probe = g(t);
    if (probe.value == 0) return t;
    if (probe.value < 0)
      lo = t;
    else
      hi = t;
    if (hi - lo <= RootTolerance(t)) return (lo + hi) / 2;
    long double next = (lo + hi) / 2;
    if (std::isfinite(probe.value) && probe.slope > 0 &&
        std::fabs(probe.value) <= (hi - lo) * probe.slope) {
      const long double candidate = t - probe.value / probe.slope;
      // A step below the tolerance ends the search (also one that rounding
      // has made 0, which would not be inside the bracket that t now ends).
      if (std::fabs(candidate - t) <= RootTolerance(t)) return candidate;
      if (candidate > lo && candidate < hi) next = candidate;
    }
    t = next;
  }
  return t;
}

// The Illinois variant of regula falsi on g (values only), from a start t and
// a first step h > 0: the bracket is found by steps doubling away from t,
// then narrowed by secant points, halving the value kept at an end that
// survives twice in a row, and by bisection where a value is infinite.
template <class G>
long double IllinoisInBracket(G g, long double t, long double h, long double lo, long double hi) {
  if (!(t > lo && t < hi)) t = (lo + hi) / 2;
  long double a = lo, b = hi;  // g(a) < 0 < g(b)
  long double ga = -INFINITY, gb = INFINITY;
  const long double first = g(t).value;
  int steps = 1;
  if (first == 0) return t;
  if (first < 0) {
    a = t, ga = first;
  } else {
    b = t, gb = first;
  }
  // Walk away from t, towards the side of the root, until the sign changes.
  const bool up = first < 0;
  for (long double at = t; steps < kBracketMaxSteps; ++steps) {
    const long double end = up ? hi : lo;
    if (std::fabs(end - at) <= RootTolerance(at)) return at;
    const long double stepped = up ? at + h : at - h;
    at = (up ? stepped < hi : stepped > lo) ? stepped : (at + end) / 2;
    h = h * 2;
    const long double v = g(at).value;
    if (v == 0) return at;
    if (v < 0) {
      a = at, ga = v;
    } else {
      b = at, gb = v;
    }
    if ((v < 0) != up) break;
  }
  int kept = 0;  // +1: a was replaced in the last step, -1: b was
  for (; steps < kBracketMaxSteps; ++steps) {
    const long double width = b - a;
    if (width <= RootTolerance(a) || width <= RootTolerance(b)) break;
    long double next = a + width / 2;
    if (std::isfinite(ga) && std::isfinite(gb)) {
      const long double candidate = a - ga * (width / (gb - ga));
      if (candidate > a && candidate < b) next = candidate;
    }
    const long double v = g(next).value;
    if (v == 0) return next;
    if (v < 0) {
      a = next, ga = v;
      if (kept == 1 && std::isfinite(gb)) gb = gb / 2;
      kept = 1;
    } else {
      b = next, gb = v;
      if (kept == -1 && std::isfinite(ga)) ga = ga / 2;
      kept = -1;
    }
  }
  return (a + b) / 2;
}

// A few steps of regula falsi on g (increasing) in the variable itself,
// from x with a < x < b bracketing the root closely (a search on a
// transformed scale leaves its result a few units in the last place of that
// scale off): the point of smallest |g| found, x included.
template <class G>
long double PolishedRoot(G g, long double a, long double x, long double b) {
  long double best = x;
  long double bestValue = g(x).value;
  if (bestValue == 0 || !std::isfinite(bestValue)) return x;
  long double ga = g(a).value, gb = g(b).value;
  if (bestValue < 0) {
    a = x, ga = bestValue;
  } else {
    b = x, gb = bestValue;
  }
  bestValue = std::fabs(bestValue);
  for (int step = 0; step < kRegulaFalsiSteps; ++step) {
    if (!(ga < 0 && gb > 0) || !std::isfinite(ga) || !std::isfinite(gb)) break;
    const long double next = a - ga * ((b - a) / (gb - ga));
    if (!(next > a && next < b)) break;
    const long double v = g(next).value;
    if (std::fabs(v) < bestValue) best = next, bestValue = std::fabs(v);
    if (v < 0) {
      a = next, ga = v;
    } else if (v > 0) {
      b = next, gb = v;
    } else {
      break;
    }
  }
  return best;
}

}  // namespace Distr
