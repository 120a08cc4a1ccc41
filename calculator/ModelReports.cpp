// The log's numbers of every function that takes them from its model: the
// same calls as the details of a result, so that each printed digit is the
// model's value correctly rounded, and the log and the details agree.  A
// value the model leaves without a number (beyond the extended range) is a
// quiet NaN here, written "null" in the line; the details give its note.
#include <cmath>
#include <limits>

#include "calculator/Reports.h"
#include "calculator/ResultDetails.h"

namespace calculator::reports {

namespace {

constexpr long double kNull = std::numeric_limits<long double>::quiet_NaN();

// A value below the extended range is 0 to every digit the log prints.
long double OrNull(const models::Value& v) {
  return v.BelowRange() ? 0 : v.value.value_or(kNull);
}

Values Forward(const FunctionAbout& about, const Arguments& a, const models::Distribution& d) {
  const int slot = about.XField()->slot;
  const long double x = a.value[slot];
  if (about.family == Family::Discrete) {
    const models::DiscreteForward f = models::DiscreteForwardAt(d, x);
    return DiscreteAt{a.Whole(slot), OrNull(f.atMost), OrNull(f.atLeast), OrNull(f.point)};
  }
  const LocatedAt at = Located(about, a, d, x);
  const models::BothTails t = models::Tails(at.d, at.x);
  return TailsAt{x, OrNull(t.lower), OrNull(t.upper)};
}

Values Inverse(const FunctionAbout& about, const Arguments& a, const models::Distribution& d) {
  const int slot = about.XField()->slot;
  const long double p = a.value[slot];
  if (about.family == Family::Discrete) {
    const models::Value k = models::DiscreteInv(d, p, TypedOf(about, a)).quantile;
    if (!k.value) return QuantileAt{p, kNull, kNull, kNull};
    return QuantileAt{p, *k.value, OrNull(models::AtMost(d, *k.value)),
                      OrNull(models::AtMost(d, *k.value - 1))};
  }
  const models::BothQuantiles x = models::Quantiles(d, p, a.complement[slot]);
  return PointsOf{p, OrNull(x.xLower), OrNull(x.xUpper)};
}

Values Interval(const FunctionAbout& about, const Arguments& a, const models::Distribution& d) {
  const int from = about.XField()->slot, to = about.BoundSlot();
  const long double low = a.value[from], high = a.value[to];
  const models::IntervalValues v = models::Between(d, low, high);
  if (about.family == Family::Discrete)
    return WholeBetween{a.Whole(from), a.Whole(to), OrNull(v.between), OrNull(v.outside)};
  return Between{low, high, OrNull(v.between), OrNull(v.outside)};
}

}  // namespace

Values ModelValues(const FunctionAbout& about, const Arguments& a, Mode mode) {
  const std::optional<models::Distribution> d = DistributionOf(about.function, a);
  if (!d || about.XField() == nullptr) return std::monostate{};
  switch (mode) {
    case Mode::Forward:
      return Forward(about, a, *d);
    case Mode::Inverse:
      return Inverse(about, a, *d);
    case Mode::Interval:
      return Interval(about, a, *d);
  }
  return std::monostate{};
}

}  // namespace calculator::reports
