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
#include <algorithm>
#include <climits>
#include <limits>

#include "Distr/DiscreteSearch.h"
#include "calculator/Overloaded.h"
#include "calculator/Reports.h"

namespace calculator::reports {

namespace {

constexpr long double kHalf = 0.5L;

Values ForwardAt(const FunctionAbout& about, Arguments a, int slot, long double x) {
  a.value[slot] = x;
  return about.evaluate(a, Mode::Forward);
}

// The four tails at one x of a forward report, for both families: below
// it, from it on, up to it and above it (for a continuous distribution the
// strict and the non-strict tails are one).  The other kinds of numbers are
// no forward report: none.
struct Sides {
  long double below, from, upTo, above;
};
constexpr long double kNone = std::numeric_limits<long double>::quiet_NaN();
constexpr Sides kNoSides{kNone, kNone, kNone, kNone};

Sides SidesAt(const Values& at) {
  const auto none = [](const auto&) { return kNoSides; };
  return std::visit(
      Overloaded{[](const TailsAt& t) { return Sides{t.lower, t.upper, t.lower, t.upper}; },
                 // P(X<x) = P(X<=x) - P(X=x) and P(X>x) = P(X>=x) - P(X=x).
                 [](const DiscreteAt& d) {
                   return Sides{d.atMost - d.point, d.atLeast, d.atMost, d.atLeast - d.point};
                 },
                 [&](std::monostate m) { return none(m); },
                 [&](const PointsOf& p) { return none(p); },
                 [&](const QuantileAt& q) { return none(q); },
                 [&](const Between& b) { return none(b); },
                 [&](const WholeBetween& w) { return none(w); },
                 [&](const CountingValue& c) { return none(c); }},
      at);
}

}  // namespace

Values DiscreteQuantile(const FunctionAbout& about, const Arguments& a) {
  const int slot = about.XField()->slot;
  const long double p = a.value[slot];
  const auto atMost = [&](int32_t k) {
    return SidesAt(ForwardAt(about, a, slot, k)).upTo;
  };
  const int32_t x = Distr::SmallestReaching(atMost, p, 0);
  const long double below = x == INT32_MIN ? 0 : atMost(x - 1);
  return QuantileAt{p, static_cast<long double>(x), atMost(x), below};
}

Values Interval(const FunctionAbout& about, const Arguments& a) {
  const int slot = about.XField()->slot;
  const long double lowBound = a.value[slot];
  const long double highBound = a.value[about.BoundSlot()];
  // A bound below the x-value's own range (the urn's x from 0) is below
  // the support: the tails there are those at the range's start.
  const long double from = std::max(lowBound, about.XField()->low);
  const Sides atA = SidesAt(ForwardAt(about, a, slot, from));
  const Sides atB = SidesAt(ForwardAt(about, a, slot, highBound));
  const long double outside = atA.below + atB.above;
  long double inside;
  if (atA.from <= kHalf)
    inside = atA.from - atB.above;
  else if (atB.upTo <= kHalf)
    inside = atB.upTo - atA.below;
  else
    inside = 1 - outside;
  if (about.family == Family::Discrete)
    return WholeBetween{a.Whole(slot), a.Whole(about.BoundSlot()), inside, outside};
  return Between{lowBound, highBound, inside, outside};
}

}  // namespace calculator::reports
