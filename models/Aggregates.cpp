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

BothTails Tails(const Distribution& d, long double x) {
  HeldFloatEnvironment held;  // once for both
  BothTails t;
  if (LowerLikelySmaller(d, x)) {
    t.lower = Lower(d, x);
    t.upper = OtherTail(t.lower, [&] { return Upper(d, x); });
  } else {
    t.upper = Upper(d, x);
    t.lower = OtherTail(t.upper, [&] { return Lower(d, x); });
  }
  return t;
}

ContinuousForward Forward(const Distribution& d, long double x) {
  HeldFloatEnvironment held;  // once for all the values
  const BothTails t = Tails(d, x);
  return {x, t.lower, t.upper, Density(d, x), TwoTailed(t.lower, t.upper)};
}

BothQuantiles Quantiles(const Distribution& d, long double p, long double complement) {
  HeldFloatEnvironment held;  // once for both
  if (complement > 0 && p > 0.5L) return {QuantileUpper(d, complement), QuantileLower(d, complement)};
  return {QuantileLower(d, p), QuantileUpper(d, p)};
}

ContinuousInverse Inverse(const Distribution& d, long double p, long double complement) {
  HeldFloatEnvironment held;  // once for all the values
  const BothQuantiles x = Quantiles(d, p, complement);
  ContinuousInverse inv{p, x.xLower, x.xUpper, {}, {}};
  // Near p = 1 each end leaves half of the exact complement outside.
  const Interval central = d.model == nullptr
                               ? Interval{Value::None(kNoModel), Value::None(kNoModel)}
                           : complement > 0 && p > 0.5L
                               ? Interval{QuantileLower(d, complement / 2),
                                          QuantileUpper(d, complement / 2)}
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

DiscreteForward DiscreteForwardAt(const Distribution& d, long double x) {
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
// either is none, except that a tail below the extended range counts as 0
// beside one within it (what it adds is below the other's last digit).
template <class Op>
Value Combined(const Value& a, const Value& b, Op op) {
  if (a.BelowRange() && b.value) return Value::Of(op(0.0L, *b.value));
  if (b.BelowRange() && a.value) return Value::Of(op(*a.value, 0.0L));
  if (!a.value) return a;
  if (!b.value) return b;
  return Value::Of(op(*a.value, *b.value));
}

// Where a difference of two tails keeps less than this share of the tail it
// is taken from, it has lost as many digits; the density's integral is
// taken instead.
constexpr long double kCancelling = 1e-3L;
// Gauss-Legendre, 8 points on [-1, 1] (the positive half; symmetric), on
// each of kPanels equal parts of a narrow interval: the density there is
// smooth on the interval's scale, since the interval holds little of the
// tail beside it.
constexpr int kPanels = 4;
constexpr long double kNodes[] = {0.1834346424956498049394761L, 0.5255324099163289858177390L,
                                  0.7966664774136267395915539L, 0.9602898564975362316835609L};
constexpr long double kWeights[] = {0.3626837833783619829651504L, 0.3137066458778872873379622L,
                                    0.2223810344533744705443560L, 0.1012285362903762591525314L};

// The integral of the density from a to b, none where it has no value.
Value DensityIntegral(const Distribution& d, long double a, long double b) {
  const long double width = (b - a) / kPanels;
  long double sum = 0;
  for (int panel = 0; panel < kPanels; ++panel) {
    const long double centre = a + (panel + 0.5L) * width;
    for (int i = 0; i < 4; ++i)
      for (const long double side : {-1.0L, 1.0L}) {
        const Value f = Density(d, centre + side * kNodes[i] * width / 2);
        if (!f.value) return f;
        sum += kWeights[i] * *f.value;
      }
  }
  return Value::Of(sum * width / 2);
}

}  // namespace

IntervalValues Between(const Distribution& d, long double a, long double b) {
  HeldFloatEnvironment held;
  // The tail below a, from a on, up to b and above b.
  Value belowA, fromA, upToB, aboveB;
  if (IsDiscrete(d)) {
    const DiscreteForward atA = DiscreteForwardAt(d, a), atB = DiscreteForwardAt(d, b);
    belowA = atA.below, fromA = atA.atLeast, upToB = atB.atMost, aboveB = atB.above;
  } else {
    belowA = Lower(d, a), fromA = Upper(d, a), upToB = Lower(d, b), aboveB = Upper(d, b);
  }
  IntervalValues v{a, b, IsDiscrete(d), {}, Combined(belowA, aboveB, std::plus<>())};
  const auto minus = std::minus<>();
  long double minuend = 0;  // the tail a difference is taken from
  if (fromA.value && *fromA.value <= kHalf)
    v.between = Combined(fromA, aboveB, minus), minuend = *fromA.value;
  else if (upToB.value && *upToB.value <= kHalf)
    v.between = Combined(upToB, belowA, minus), minuend = *upToB.value;
  else if (!fromA.value)  // the probability is at most P(X >= a), itself out of reach
    v.between = fromA;
  else if (!upToB.value)  // likewise at most P(X <= b): a bound below the support, b = 0
    v.between = upToB;
  else  // both outer tails below 1/2: what each leaves of its half
    v.between = Combined(belowA, aboveB,
                         [](long double l, long double u) { return (kHalf - l) + (kHalf - u); });
  if (!IsDiscrete(d) && v.between.value && *v.between.value < kCancelling * minuend &&
      std::isfinite(a) && std::isfinite(b))
    if (const Value integral = DensityIntegral(d, a, b); integral.value) v.between = integral;
  if (v.between.value && *v.between.value < 0) v.between = Value::Of(0);  // a rounding
  return v;
}

}  // namespace models
