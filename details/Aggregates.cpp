// The aggregates that the JSON output and the details pane show: every value
// of one forward or inverse computation together.
#include <algorithm>
#include <cmath>

#include "details/Engine.h"

namespace details {

namespace {

// min(1, 2 min(lower, upper)): the probability of a deviation at least as
// large as x's on either side.
Value TwoTailed(const Value& lower, const Value& upper) {
  // A tail missing for being below the range is the smaller one, and twice it
  // is below the range too; when both are missing they share the reason.
  if (!lower.value) return lower;
  if (!upper.value) return upper;
  return Value::Of(std::min(1.0L, 2 * std::min(*lower.value, *upper.value)));
}

}  // namespace

ContinuousForward Forward(const Distribution& d, long double x) {
  ContinuousForward f{x, Lower(d, x), Upper(d, x), Density(d, x), {}};
  f.twoTailed = TwoTailed(f.lower, f.upper);
  return f;
}

ContinuousInverse Inverse(const Distribution& d, long double p) {
  ContinuousInverse inv{p, QuantileLower(d, p), QuantileUpper(d, p), {}, {}};
  if (d.kind == Kind::Normal || d.kind == Kind::T) {
    // Symmetric about the centre c: [c - w, c + w] with P(|X - c| < w) = p.
    const Value w = CentralHalfWidth(d, p);
    const long double centre = d.kind == Kind::Normal ? d.parameters[0] : 0;
    inv.centralLow = w.value ? Finite(centre - *w.value) : w;
    inv.centralHigh = w.value ? Finite(centre + *w.value) : w;
    return inv;
  }
  // P(X < a) = P(X > b) = (1 - p) / 2, near 1/2 only where a and b lie in
  // the middle of the distribution, far from 0.
  const long double outside = (1 - p) / 2;
  const bool inRange = p > 0 && p < 1;
  inv.centralLow = inRange ? QuantileLower(d, outside) : Value::None(kProbabilityRange);
  inv.centralHigh = inRange ? QuantileUpper(d, outside) : Value::None(kProbabilityRange);
  return inv;
}

DiscreteForward DiscreteAt(const Distribution& d, long double x) {
  // For whole x: P(X < x) = P(X <= x - 1) and P(X > x) = P(X >= x + 1).
  const long double below = std::ceil(x) - 1;
  const long double above = std::floor(x) + 1;
  return {x, AtMost(d, below), AtMost(d, x), Point(d, x), AtLeast(d, x), AtLeast(d, above)};
}

DiscreteInverse DiscreteInv(const Distribution& d, long double p) {
  return {p, DiscreteQuantile(d, p)};
}

}  // namespace details
