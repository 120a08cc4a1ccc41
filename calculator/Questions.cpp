// The questions every distribution answers from its forward report, with the
// log's own arithmetic: the discrete quantile, the smallest x with
// P(X<=x) >= p, searched on the P(X<=x) the forward report prints; and the
// probabilities between two bounds and outside them, from the tails at each
// bound.
//
// Between the bounds, each value is taken where it is a sum or a difference
// of small tails: P(X<A or X>B) = P(X<A) + P(X>B) always, and P(A<X<B) as
// P(X>A) - P(X>B) where A lies in the upper half (both tails small there),
// as P(X<B) - P(X<A) where B lies in the lower half, and as one minus the
// outside where the bounds lie on both sides of the middle (both outer tails
// below 1/2): each to an absolute error of a few units of 1e-19, which is
// what the log's six decimals need.
#include <climits>

#include "Distr/DiscreteSearch.h"
#include "calculator/Reports.h"

namespace calculator::reports {

namespace {

constexpr long double kHalf = 0.5L;

Values ForwardAt(const FunctionAbout& about, Arguments a, int slot, long double x) {
  a.value[slot] = x;
  return about.evaluate(a, Mode::Forward);
}

// P(lowTail < a), and so on, for both families: the tail below the interval,
// the tail from its start, the tail up to its end and above it.
struct Edges {
  long double belowA, fromA, upToB, aboveB;
};

Edges EdgesOf(const Values& atA, const Values& atB) {
  if (const auto* a = std::get_if<TailsAt>(&atA)) {
    const auto& b = std::get<TailsAt>(atB);
    return {a->lower, a->upper, b.lower, b.upper};
  }
  const auto& a = std::get<DiscreteAt>(atA);
  const auto& b = std::get<DiscreteAt>(atB);
  // P(X<A) = P(X<=A) - P(X=A) and P(X>B) = P(X>=B) - P(X=B).
  return {a.atMost - a.point, a.atLeast, b.atMost, b.atLeast - b.point};
}

}  // namespace

Values DiscreteQuantile(const FunctionAbout& about, const Arguments& a) {
  const int slot = about.XField()->slot;
  const long double p = a.value[slot];
  const auto atMost = [&](int32_t k) {
    return std::get<DiscreteAt>(ForwardAt(about, a, slot, k)).atMost;
  };
  const int32_t x = Distr::SmallestReaching(atMost, p, 0);
  const long double below = x == INT32_MIN ? 0 : atMost(x - 1);
  return QuantileAt{p, static_cast<long double>(x), atMost(x), below};
}

Values Interval(const FunctionAbout& about, const Arguments& a) {
  const int slot = about.XField()->slot;
  const long double lowBound = a.value[slot];
  const long double highBound = a.value[about.BoundSlot()];
  const Edges e =
      EdgesOf(ForwardAt(about, a, slot, lowBound), ForwardAt(about, a, slot, highBound));
  const long double outside = e.belowA + e.aboveB;
  long double inside;
  if (e.fromA <= kHalf)
    inside = e.fromA - e.aboveB;
  else if (e.upToB <= kHalf)
    inside = e.upToB - e.belowA;
  else
    inside = 1 - outside;
  if (about.family == Family::Discrete)
    return WholeBetween{a.Whole(slot), a.Whole(about.BoundSlot()), inside, outside};
  return Between{lowBound, highBound, inside, outside};
}

}  // namespace calculator::reports
