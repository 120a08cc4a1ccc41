// The aggregates that the JSON output and the details pane show: every value
// of one forward or inverse computation together, the model choosing which
// tail to compute first and how to form the central interval.
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "models/Engine.h"

namespace models {

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

// Whether P(X < x) is likely the smaller tail: x below the model's rough
// median.  A wrong guess costs one more tail, never accuracy.
bool LowerLikelySmaller(const Distribution& d, long double x) {
  return d.model == nullptr || x < d.model->RoughMedian(d.parameters);
}

// The tail that is not `first`: one minus it where it is at most 1/2, so that
// the complement, at least 1/2, keeps the relative accuracy of `first`;
// otherwise computed by itself, since it may be tiny.
template <class Direct>
Value OtherTail(const Value& first, Direct&& direct) {
  if (first.value && *first.value <= 0.5L) return Value::Of(1 - *first.value);
  return direct();
}

}  // namespace

ContinuousForward Forward(const Distribution& d, long double x) {
  HeldFloatEnvironment held;  // once for all the values
  ContinuousForward f{x, {}, {}, Density(d, x), {}};
  if (LowerLikelySmaller(d, x)) {
    f.lower = Lower(d, x);
    f.upper = OtherTail(f.lower, [&] { return Upper(d, x); });
  } else {
    f.upper = Upper(d, x);
    f.lower = OtherTail(f.upper, [&] { return Lower(d, x); });
  }
  f.twoTailed = TwoTailed(f.lower, f.upper);
  return f;
}

ContinuousInverse Inverse(const Distribution& d, long double p, long double complement) {
  HeldFloatEnvironment held;  // once for all the values
  const bool byComplement = complement > 0 && p > 0.5L;
  ContinuousInverse inv{p,
                        byComplement ? QuantileUpper(d, complement) : QuantileLower(d, p),
                        byComplement ? QuantileLower(d, complement) : QuantileUpper(d, p),
                        {},
                        {}};
  const Interval central = d.model == nullptr
                               ? Interval{Value::None(kNoModel), Value::None(kNoModel)}
                               : d.model->CentralInterval(d.parameters, p);
  inv.centralLow = central.low;
  inv.centralHigh = central.high;
  return inv;
}

namespace {

// The five values from one short sum (ShortSums), where the distribution
// has one: the strict tail on the side away from the mode, then the others
// by adding the point and complementing.
std::optional<DiscreteForward> Summed(const Distribution& d, long double x) {
  try {
    const std::optional<DiscreteSplit> s = ShortSums(d, x);
    if (!s) return std::nullopt;
    return DiscreteForward{x,
                           Positive(s->below),
                           Positive(s->below + s->point),
                           Positive(s->point),
                           Positive(s->above + s->point),
                           Positive(s->above)};
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

DiscreteForward DiscreteAt(const Distribution& d, long double x) {
  HeldFloatEnvironment held;  // once for all the values
  if (auto summed = Summed(d, x)) return *summed;
  // For whole x: P(X < x) = P(X <= x - 1) and P(X > x) = P(X >= x + 1); one
  // strict tail by itself, the other (where it is at least 1/2) as one minus
  // it and the point, the non-strict tails as sums of the point and a strict
  // tail: sums of positive terms, as accurate as their terms.
  const auto below = [&] { return AtMost(d, std::ceil(x) - 1); };
  const auto above = [&] { return AtLeast(d, std::floor(x) + 1); };
  DiscreteForward f{x, {}, {}, Point(d, x), {}, {}};
  // A probability: the sum's rounding may not carry it past 1.
  const auto withPoint = [&](const Value& tail) {
    return tail.value && f.point.value ? Value::Of(std::fmin(*tail.value + *f.point.value, 1.0L))
                                       : Value{};
  };
  if (LowerLikelySmaller(d, x)) {
    f.below = below();
    f.above = OtherTail(withPoint(f.below), above);
  } else {
    f.above = above();
    f.below = OtherTail(withPoint(f.above), below);
  }
  // A tail or point below the extended range leaves no sum: computed directly.
  f.atMost = withPoint(f.below);
  if (!f.atMost.value) f.atMost = AtMost(d, x);
  f.atLeast = withPoint(f.above);
  if (!f.atLeast.value) f.atLeast = AtLeast(d, x);
  return f;
}

DiscreteInverse DiscreteInv(const Distribution& d, long double p, const Typed& typed) {
  return {p, DiscreteQuantile(d, p, typed)};
}

namespace {

constexpr long double kHalf = 0.5L;

// The sum or difference of two values, none (with the first note) when
// either is none.
template <class Op>
Value Combined(const Value& a, const Value& b, Op op) {
  if (!a.value) return a;
  if (!b.value) return b;
  return Value::Of(op(*a.value, *b.value));
}

}  // namespace

IntervalValues Between(const Distribution& d, long double a, long double b) {
  HeldFloatEnvironment held;
  // The tail below a, from a on, up to b and above b.
  Value belowA, fromA, upToB, aboveB;
  if (IsDiscrete(d)) {
    const DiscreteForward atA = DiscreteAt(d, a), atB = DiscreteAt(d, b);
    belowA = atA.below, fromA = atA.atLeast, upToB = atB.atMost, aboveB = atB.above;
  } else {
    belowA = Lower(d, a), fromA = Upper(d, a), upToB = Lower(d, b), aboveB = Upper(d, b);
  }
  // A tail below the extended range adds nothing the other cannot hold.
  const auto orZero = [](const Value& tail, const Value& other) {
    return !tail.value && tail.note == kBelowRange && other.value ? Value::Of(0) : tail;
  };
  IntervalValues v{a, b, IsDiscrete(d), {},
                   Combined(orZero(belowA, aboveB), orZero(aboveB, belowA), std::plus<>())};
  const auto minus = std::minus<>();
  if (fromA.value && *fromA.value <= kHalf)
    v.between = Combined(fromA, orZero(aboveB, fromA), minus);
  else if (upToB.value && *upToB.value <= kHalf)
    v.between = Combined(upToB, orZero(belowA, upToB), minus);
  else  // both outer tails below 1/2: what each leaves of its half
    v.between = Combined(orZero(belowA, aboveB), orZero(aboveB, belowA),
                         [](long double l, long double u) { return (kHalf - l) + (kHalf - u); });
  if (v.between.value && *v.between.value < 0) v.between = Value::Of(0);  // a rounding
  return v;
}

}  // namespace models
