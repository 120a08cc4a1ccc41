// The picture of one result, computed from the details engine.
//
// Continuous: the range runs from the 10^-4 to the 1 - 10^-4 quantile (for a
// normal or near-normal distribution: the mean -+ 3.72 standard deviations), cut
// to at most kHeavyTailReach interquartile ranges beyond the quartiles (t
// with 1 degree of freedom would otherwise spread over +-3000), started and
// ended at the ends of the support when they are near, and widened to show
// the x-values of the report when they are not too far out.  The density is
// sampled at kCurveSamples points and at the x-values themselves, so that
// every shaded area ends on a sample; the tails are areas under the sampled
// curve, never a tail computed per point.  A pole at an end of the support (chi-square
// with 1 degree of freedom, F with df1 = 1, gamma and Weibull with shape
// below 1, beta with a parameter below 1, at either end) leaves the top of
// the area, and the note says so.
//
// Discrete: the range is the mean +-(kDiscreteReach standard deviations +
// kDiscreteReachFloor) within the support, trimmed to the values whose
// probability is at least kTrimHeight of the largest, and widened to show x.
// Up to kMostBars values get a bar each; a wider range (a binomial n of 10^9
// spans some 10^5 visible values) is a stepped outline through kOutlineSteps
// values, so a redraw never evaluates more than a few hundred probabilities.
#include "plot/PlotModel.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <string_view>

#include "calculator/NumberText.h"
#include "calculator/Overloaded.h"
#include "calculator/ResultDetails.h"
#include "models/Details.h"

namespace plot {

namespace {

using calculator::Function;
using models::Distribution;

// Continuous ranges.
// The range holds the bulk between this tail and its mirror.
constexpr long double kBulkTail = 1e-4L;
constexpr long double kQuartileTail = 0.25L;
// The standard normal's upper kBulkTail quantile, z with Q(z) = 10^-4.
constexpr long double kBulkZ = 3.71901648545568L;
constexpr long double kHeavyTailReach = 6;  // interquartile ranges beyond the quartiles
// A range this near the support's end (a share of its width) starts there.
constexpr long double kSnapToSupport = 0.1;
constexpr long double kMostWidening = 3;  // x widens the range to at most this many bulk widths
// Room beside an x-value at the end of the range, a share of its width.
constexpr long double kEdgeMargin = 0.03;
constexpr int kCurveSamples = 400;
constexpr long double kHeadroom = 1.08;  // the top of the area above the highest point
constexpr double kCeiling = 1.05;        // outline heights end just above the top of the area
// A density higher than kPoleCap times the highest one away from the
// support's ends (beyond kPoleSkip of the width) is a pole there.
constexpr long double kPoleSkip = 0.015L;
constexpr long double kPoleCap = 1.5L;
// How the details engine's note on a density begins at a pole.
constexpr std::string_view kPoleNote = "infinite";
// Probability beyond the range shown from which the picture says so.
constexpr long double kOutsideNote = 0.005L;
// A range narrower than this share of its distance from 0 cannot be resolved
// by the extended reals (their precision is 2^-63 ~ 1.1e-19) into pixels.
constexpr long double kResolution = 1e-15L;

// Discrete ranges.
constexpr long double kDiscreteReach = 8;       // standard deviations around the mean
constexpr long double kDiscreteReachFloor = 5;  // values added to each side
constexpr long double kTrimHeight = 1e-4L;      // of the largest probability
constexpr long double kFewestValues = 5;
constexpr int kMostBars = 300;
constexpr int kOutlineSteps = 200;
// A first look at the range takes this many values, to find where the
// probability is before the values are drawn.
constexpr int kScoutSamples = 64;
// A bar of x lower than this share of the area also gets the line at x.
constexpr double kVisibleBar = 0.01;

struct Range {
  long double low, high;
  long double Width() const { return high - low; }
  double At(long double x) const { return static_cast<double>((x - low) / (high - low)); }
};

std::optional<long double> Finite(const models::Value& v) {
  if (v.value && std::isfinite(*v.value)) return *v.value;
  return std::nullopt;
}

QString Text(const std::string& s) {
  return QString::fromStdString(s).trimmed();
}
QString Fixed(long double v) {
  return Text(calculator::Fixed6Text(v));
}
QString Whole(int32_t v) {
  return Text(calculator::IntegerText(v));
}

PlotModel Nothing(QString message) {
  PlotModel model;
  model.message = std::move(message);
  return model;
}

// The header line without its end and without any x it carries.
QString TitleOf(const calculator::Result& result) {
  return Text(
      calculator::HeaderTitle(calculator::AboutFunction(result.function), result.arguments));
}

Marker MarkerAt(const Range& range, long double x, QString label, bool line = true) {
  const int beyond = x < range.low ? -1 : x > range.high ? 1 : 0;
  const double at = beyond < 0 ? 0 : beyond > 0 ? 1 : range.At(x);
  return {at, beyond, line, std::move(label)};
}

// Widens `range` to show each x-value that lies within kMostWidening bulk
// widths of it, with a margin (at least `least`) beside it.
void Widen(Range& range, std::span<const long double> xs, long double least) {
  const Range bulk = range;
  const long double reach = bulk.Width() * kMostWidening;
  for (long double x : xs) {
    if (x < range.low && x >= bulk.high - reach) range.low = x;
    if (x > range.high && x <= bulk.low + reach) range.high = x;
  }
  const long double margin = std::max(least, range.Width() * kEdgeMargin);
  for (long double x : xs) {
    if (x == range.low && x < bulk.low) range.low -= margin;
    if (x == range.high && x > bulk.high) range.high += margin;
  }
}

bool Resolvable(const Range& r) {
  return std::isfinite(r.low) && std::isfinite(r.high) && r.high > r.low &&
         r.Width() > kResolution * std::max(std::fabs(r.low), std::fabs(r.high));
}

// --- Continuous ---------------------------------------------------------

// Whether the distribution is normal, or so near it (Model::NearNormal) that
// its mean and variance place the bulk as well as its quantiles would, which
// cost the engine milliseconds at large degrees of freedom.
bool NearNormal(const Distribution& d) {
  return d.model->NearNormal(d.parameters);
}

// The bulk of a (near-)normal distribution: mean -+ kBulkZ standard deviations.
std::optional<Range> NormalBulk(const Distribution& d) {
  const auto mean = Finite(models::Mean(d));
  const auto variance = Finite(models::Variance(d));
  if (!mean || !variance || !(*variance > 0)) return std::nullopt;
  const long double sd = std::sqrt(*variance);
  return Range{*mean - kBulkZ * sd, *mean + kBulkZ * sd};
}

// The range of the bulk between the kBulkTail quantiles, cut to at most
// kHeavyTailReach interquartile ranges beyond the quartiles (`clipped`: then
// more than 2 * kBulkTail may lie outside).
std::optional<Range> BulkRange(const Distribution& d, bool& clipped) {
  std::optional<Range> bulk = NearNormal(d) ? NormalBulk(d) : std::nullopt;
  if (!bulk) {
    // No tail precision is needed here: the lower quantile of 1 - q serves
    // for the upper one of q, and is often much cheaper.
    const auto low = Finite(models::QuantileLower(d, kBulkTail));
    const auto high = Finite(models::QuantileLower(d, 1 - kBulkTail));
    if (!low || !high) return std::nullopt;
    bulk = Range{*low, *high};
    const auto q1 = Finite(models::QuantileLower(d, kQuartileTail));
    const auto q3 = Finite(models::QuantileLower(d, 1 - kQuartileTail));
    if (q1 && q3 && *q3 > *q1) {
      const long double reach = (*q3 - *q1) * kHeavyTailReach;
      clipped = bulk->low < *q1 - reach || bulk->high > *q3 + reach;
      bulk = Range{std::max(bulk->low, *q1 - reach), std::min(bulk->high, *q3 + reach)};
    }
  }
  const auto support = models::Support(d);
  Range range{std::max(bulk->low, support.first), std::min(bulk->high, support.second)};
  const long double snap = kSnapToSupport * range.Width();
  if (std::isfinite(support.first) && range.low - support.first < snap) range.low = support.first;
  if (std::isfinite(support.second) && support.second - range.high < snap)
    range.high = support.second;
  return range;
}

// The density at x, with 0 outside the support and infinity at a pole (the
// engine has no value there, with a note that says "infinite"); empty where
// the engine has no value for another reason.
std::optional<long double> DensityAt(const Distribution& d, std::pair<long double, long double> s,
                                     long double x) {
  if (x < s.first || x > s.second) return 0.0L;
  const models::Value v = models::Density(d, x);
  if (!v.value && v.note.starts_with(kPoleNote))
    return std::numeric_limits<long double>::infinity();
  if (!v.value || std::isnan(*v.value)) return std::nullopt;
  return *v.value;
}

// Whether x lies within kPoleSkip of the range's width from a finite end
// of the support.
bool NearAnEnd(std::pair<long double, long double> support, const Range& range, long double x) {
  const long double skip = kPoleSkip * range.Width();
  return (std::isfinite(support.first) && x - support.first <= skip) ||
         (std::isfinite(support.second) && support.second - x <= skip);
}

// Says where the curve leaves the top of the area: at a pole (an infinite
// density) or where a finite one rises above it.
QString AboveTopNote(const std::vector<std::pair<long double, long double>>& points,
                     long double top) {
  QStringList poles;
  std::optional<long double> above;
  for (const auto& [x, f] : points)
    if (!std::isfinite(f))
      poles << QStringLiteral("x=") + Fixed(x);
    else if (f > top && !above)
      above = x;
  if (!poles.isEmpty())
    return QStringLiteral("The density grows without bound at %1; the curve leaves the top")
        .arg(poles.join(QStringLiteral(" and ")));
  if (above)
    return QStringLiteral("The density rises above the top of the picture near x=") + Fixed(*above);
  return {};
}

// Samples the density and fills the outline, the y-axis and the note of a
// curve cut at the top; false when no point has a usable density.
bool SampleCurve(const Distribution& d, const Range& range, std::span<const long double> xs,
                 PlotModel& model) {
  const auto support = models::Support(d);
  std::vector<long double> at;
  for (int i = 0; i <= kCurveSamples; ++i)
    at.push_back(range.low + range.Width() * i / kCurveSamples);
  for (long double x : std::initializer_list<long double>{support.first, support.second})
    if (x > range.low && x < range.high) at.push_back(x);
  for (long double x : xs)
    if (x > range.low && x < range.high) at.push_back(x);
  std::sort(at.begin(), at.end());
  at.erase(std::unique(at.begin(), at.end()), at.end());

  std::vector<std::pair<long double, long double>> points;
  long double highest = 0, highestInside = 0;
  for (long double x : at) {
    const auto f = DensityAt(d, support, x);
    if (!f) continue;
    points.emplace_back(x, *f);
    if (!std::isfinite(*f)) continue;
    highest = std::max(highest, *f);
    if (!NearAnEnd(support, range, x)) highestInside = std::max(highestInside, *f);
  }
  long double peak = highest;
  if (highestInside > 0 && highest > kPoleCap * highestInside) peak = kPoleCap * highestInside;
  if (!(peak > 0)) return false;
  model.y = {0, peak * kHeadroom, false, QStringLiteral("density")};
  model.note = AboveTopNote(points, model.y.high);
  for (const auto& [x, f] : points) {
    const long double up = std::isfinite(f) ? f / model.y.high : kCeiling;
    model.outline.emplace_back(range.At(x), std::min<double>(static_cast<double>(up), kCeiling));
  }
  return !model.outline.empty();
}

QString JoinNotes(const QString& first, const QString& second) {
  if (first.isEmpty() || second.isEmpty()) return first + second;
  return first + QStringLiteral("; ") + second;
}

// Says how much probability the range leaves out, when it is more than a trace.
QString OutsideNote(const Distribution& d, const Range& range) {
  const auto support = models::Support(d);
  long double outside = 0;
  if (range.low > support.first) outside += Finite(models::Lower(d, range.low)).value_or(0);
  if (range.high < support.second) outside += Finite(models::Upper(d, range.high)).value_or(0);
  if (outside < kOutsideNote) return {};
  return QStringLiteral("%1% of the probability lies beyond the range shown")
      .arg(static_cast<double>(outside * 100), 0, 'f', 1);
}

// The areas and legend of the forward report: the tails at x.
void ShadeTails(const calculator::TailsAt& t, const Range& range, PlotModel& model) {
  const double at = std::clamp(range.At(t.x), 0.0, 1.0);
  model.areas = {{0, at, Shade::Lower}, {at, 1, Shade::Upper}};
  model.markers = {MarkerAt(range, t.x, QStringLiteral("x=") + Fixed(t.x))};
  model.legend = {{Shade::Lower, QStringLiteral("P(X<%1)=%2").arg(Fixed(t.x), Fixed(t.lower))},
                  {Shade::Upper, QStringLiteral("P(X>%1)=%2").arg(Fixed(t.x), Fixed(t.upper))}};
}

// The areas and legend of an interval: the area between the bounds, and
// the two tails outside them, which make up the other probability.
void ShadeBetween(const calculator::Between& b, const Range& range, PlotModel& model) {
  const double from = std::clamp(range.At(b.a), 0.0, 1.0);
  const double to = std::clamp(range.At(b.b), 0.0, 1.0);
  model.areas = {{0, from, Shade::Upper}, {from, to, Shade::Central}, {to, 1, Shade::Upper}};
  model.markers = {MarkerAt(range, b.a, QStringLiteral("A=") + Fixed(b.a)),
                   MarkerAt(range, b.b, QStringLiteral("B=") + Fixed(b.b))};
  model.legend = {
      {Shade::Central,
       QStringLiteral("P(%1<X<%2)=%3").arg(Fixed(b.a), Fixed(b.b), Fixed(b.inside))},
      {Shade::Upper,
       QStringLiteral("P(X<%1 or X>%2)=%3").arg(Fixed(b.a), Fixed(b.b), Fixed(b.outside))}};
}

// The areas and legend of the inverse report: the tail of probability p
// beyond each x-value, or the interval between them.
void ShadePoints(const calculator::PointsOf& p, const Range& range, InverseShading shading,
                 PlotModel& model) {
  const double lower = std::clamp(range.At(p.xLower), 0.0, 1.0);
  const double upper = std::clamp(range.At(p.xUpper), 0.0, 1.0);
  const QString lowerText = QStringLiteral("P(X<%1)=%2").arg(Fixed(p.xLower), Fixed(p.p));
  const QString upperText = QStringLiteral("P(X>%1)=%2").arg(Fixed(p.xUpper), Fixed(p.p));
  model.markers = {MarkerAt(range, p.xLower, QStringLiteral("x=") + Fixed(p.xLower))};
  if (p.xUpper != p.xLower)
    model.markers.push_back(MarkerAt(range, p.xUpper, QStringLiteral("x=") + Fixed(p.xUpper)));
  if (shading == InverseShading::Central) {
    const long double a = std::min(p.xLower, p.xUpper), b = std::max(p.xLower, p.xUpper);
    // Between the two x-values lies 1 - 2p, or 2p - 1 when they cross (p > 1/2).
    const long double inside = p.xLower <= p.xUpper ? 1 - 2 * p.p : 2 * p.p - 1;
    model.areas = {{std::min(lower, upper), std::max(lower, upper), Shade::Central}};
    model.legend = {
        {Shade::Central, QStringLiteral("P(%1<X<%2)=%3").arg(Fixed(a), Fixed(b), Fixed(inside))}};
    return;
  }
  if (p.xLower <= p.xUpper) {
    model.areas = {{0, lower, Shade::Lower}, {upper, 1, Shade::Upper}};
    model.legend = {{Shade::Lower, lowerText}, {Shade::Upper, upperText}};
  } else {
    // The tails overlap between the x-values: the upper one is hatched over the lower.
    model.areas = {{0, lower, Shade::Lower}, {upper, 1, Shade::Upper, true}};
    model.legend = {{Shade::Lower, lowerText}, {Shade::Upper, upperText, true}};
  }
}


// The x-values a continuous result marks: its x, the two x-values of a
// percentile or the bounds of an interval (NaN where the model left one
// without a value).
std::vector<long double> MarkedXs(const calculator::Values& values) {
  using Xs = std::vector<long double>;
  const auto none = [](const auto&) { return Xs{}; };
  return std::visit(
      calculator::Overloaded{[](const calculator::TailsAt& t) { return Xs{t.x}; },
                             [](const calculator::PointsOf& p) { return Xs{p.xLower, p.xUpper}; },
                             [](const calculator::Between& b) { return Xs{b.a, b.b}; },
                             [&](std::monostate m) { return none(m); },
                             [&](const calculator::DiscreteAt& d) { return none(d); },
                             [&](const calculator::QuantileAt& q) { return none(q); },
                             [&](const calculator::WholeBetween& w) { return none(w); },
                             [&](const calculator::CountingValue& c) { return none(c); }},
      values);
}

PlotModel ContinuousModel(const calculator::Result& result, const Distribution& d,
                          InverseShading shading) {
  bool clipped = false;
  std::optional<Range> bulk = BulkRange(d, clipped);
  if (!bulk)
    return Nothing(
        QStringLiteral("Nothing to plot: the quantiles of this distribution "
                       "cannot be computed."));
  const std::vector<long double> xs = MarkedXs(result.values);
  if (std::any_of(xs.begin(), xs.end(), [](long double x) { return std::isnan(x); }))
    return Nothing(QStringLiteral("Nothing to plot: an x-value is beyond the extended range."));
  Range range = *bulk;
  Widen(range, xs, 0);
  if (!Resolvable(range))
    return Nothing(
        QStringLiteral("Nothing to plot: the distribution is too narrow for the "
                       "precision of its position."));
  PlotModel model;
  model.drawing = Drawing::Curve;
  model.x = {range.low, range.high, false, QStringLiteral("x")};
  if (!SampleCurve(d, range, xs, model))
    return Nothing(QStringLiteral("Nothing to plot: the density cannot be computed here."));
  const auto nothing = [](const auto&) {};
  std::visit(calculator::Overloaded{
                 [&](const calculator::TailsAt& t) { ShadeTails(t, range, model); },
                 [&](const calculator::Between& b) { ShadeBetween(b, range, model); },
                 [&](const calculator::PointsOf& p) { ShadePoints(p, range, shading, model); },
                 [&](std::monostate m) { nothing(m); },
                 [&](const calculator::DiscreteAt& d) { nothing(d); },
                 [&](const calculator::QuantileAt& q) { nothing(q); },
                 [&](const calculator::WholeBetween& w) { nothing(w); },
                 [&](const calculator::CountingValue& c) { nothing(c); }},
             result.values);
  // Unclipped, the range leaves out at most 2 * kBulkTail, too little to say.
  if (clipped) model.note = JoinNotes(model.note, OutsideNote(d, range));
  return model;
}

// --- Discrete -----------------------------------------------------------

// The values low..high: every one (bars) when there are at most `most`,
// otherwise `most` of them, one per step of the outline.  probabilities[i] belongs to the step from
// edges[i] to edges[i + 1] (k - 1/2 to k + 1/2 for a bar).
struct Sampled {
  Range values;
  bool bars;
  std::vector<long double> edges;
  std::vector<long double> probabilities;
};

Sampled SampleValues(const Distribution& d, const Range& values, int most) {
  Sampled s{values, values.Width() + 1 <= most, {}, {}};
  const long double count = values.Width() + 1;
  const int steps = s.bars ? static_cast<int>(count) : most;
  for (int i = 0; i <= steps; ++i) s.edges.push_back(values.low - 0.5L + count * i / steps);
  for (int i = 0; i < steps; ++i) {
    // The value in the middle of the step.
    const long double k = std::floor((s.edges[i] + s.edges[i + 1]) / 2 + 0.5L);
    const auto p = Finite(models::Point(d, k));
    s.probabilities.push_back(p ? std::max(*p, 0.0L) : 0);
  }
  return s;
}

// The values whose probability is at least kTrimHeight of the largest.
std::optional<Range> Significant(const Sampled& s) {
  const long double top = *std::max_element(s.probabilities.begin(), s.probabilities.end());
  if (!(top > 0)) return std::nullopt;
  size_t first = 0, last = s.probabilities.size() - 1;
  while (s.probabilities[first] < top * kTrimHeight) ++first;
  while (s.probabilities[last] < top * kTrimHeight) --last;
  return Range{std::ceil(s.edges[first]), std::floor(s.edges[last + 1])};
}

// The values to show: around the mean, or between two far quantiles.
std::optional<Range> DiscreteBulk(const Distribution& d) {
  const auto support = models::Support(d);
  const auto mean = Finite(models::Mean(d));
  const auto variance = Finite(models::Variance(d));
  Range r{};
  if (mean && variance && *variance >= 0) {
    const long double reach = std::sqrt(*variance) * kDiscreteReach + kDiscreteReachFloor;
    r = {std::floor(*mean - reach), std::ceil(*mean + reach)};
  } else {
    const auto low = Finite(models::DiscreteQuantile(d, kBulkTail));
    const auto high = Finite(models::DiscreteQuantile(d, 1 - kBulkTail));
    if (!low || !high) return std::nullopt;
    r = {*low, *high};
  }
  r = {std::max(r.low, support.first), std::min(r.high, support.second)};
  if (!(r.high >= r.low)) return std::nullopt;
  return r;
}

// At least kFewestValues values, grown on both sides within the support.
Range Fewest(Range r, std::pair<long double, long double> support) {
  while (r.Width() + 1 < kFewestValues && (r.low > support.first || r.high < support.second)) {
    if (r.low > support.first) --r.low;
    if (r.high < support.second && r.Width() + 1 < kFewestValues) ++r.high;
  }
  return r;
}

// The bars or the stepped outline, each value shaded as `shadeOf` says; the
// outline's areas split at the values where the shade changes.
template <class ShadeOf>
void FillValues(const Sampled& s, const Range& axis, ShadeOf shadeOf, PlotModel& model) {
  const long double top = *std::max_element(s.probabilities.begin(), s.probabilities.end());
  model.y = {0, top * kHeadroom, false, QStringLiteral("P(X=k)")};
  const auto up = [&](long double p) { return static_cast<double>(p / model.y.high); };
  if (s.bars) {
    model.drawing = Drawing::Bars;
    for (size_t i = 0; i < s.probabilities.size(); ++i) {
      const long double k = s.values.low + static_cast<long double>(i);
      model.bars.push_back({axis.At(s.edges[i]), axis.At(s.edges[i + 1]), up(s.probabilities[i]),
                            shadeOf(k), false});
    }
    return;
  }
  model.drawing = Drawing::Steps;
  model.outline.emplace_back(0, 0);
  for (size_t i = 0; i < s.probabilities.size(); ++i) {
    model.outline.emplace_back(axis.At(s.edges[i]), up(s.probabilities[i]));
    model.outline.emplace_back(axis.At(s.edges[i + 1]), up(s.probabilities[i]));
  }
  model.outline.emplace_back(1, 0);
}

// An area of the outline from value `from` to value `to` (both included).
Area ValuesArea(const Range& axis, long double from, long double to, Shade shade) {
  return {std::clamp(axis.At(from - 0.5L), 0.0, 1.0), std::clamp(axis.At(to + 0.5L), 0.0, 1.0),
          shade};
}

// The probabilities at the x a discrete result is about (a quantile's x may
// pass the int32 range of a typed x).
struct ShownValues {
  long double x, atMost, atLeast, point;
};

void FillDiscrete(const Sampled& s, const ShownValues& v, const Range& axis, PlotModel& model) {
  const long double x = v.x;
  FillValues(
      s, axis,
      [x](long double k) { return k < x   ? Shade::Lower
                                  : k > x ? Shade::Upper
                                          : Shade::Both; },
      model);
  for (Bar& bar : model.bars) bar.outlined = bar.shade == Shade::Both;
  if (!s.bars)
    model.areas = {ValuesArea(axis, axis.low, x - 1, Shade::Lower),
                   ValuesArea(axis, x, x, Shade::Both),
                   ValuesArea(axis, x + 1, axis.high, Shade::Upper)};
  const auto up = [&](long double p) { return static_cast<double>(p / model.y.high); };
  const bool barVisible = s.bars && up(v.point) >= kVisibleBar;
  model.markers = {MarkerAt(axis, x, QStringLiteral("x=") + Whole(v.x), !barVisible)};
  const QString k = Whole(v.x);
  model.legend = {{Shade::Lower, QStringLiteral("P(X<=%1)=%2").arg(k, Fixed(v.atMost))},
                  {Shade::Upper, QStringLiteral("P(X>=%1)=%2").arg(k, Fixed(v.atLeast))},
                  {Shade::Both, QStringLiteral("P(X=%1)=%2").arg(k, Fixed(v.point))}};
}

// An interval: the values from A to B, and those outside.
void FillBetween(const Sampled& s, const calculator::WholeBetween& b, const Range& axis,
                 PlotModel& model) {
  const long double from = b.a, to = b.b;
  FillValues(
      s, axis, [&](long double k) { return k >= from && k <= to ? Shade::Central : Shade::Upper; },
      model);
  if (!s.bars)
    model.areas = {ValuesArea(axis, axis.low, from - 1, Shade::Upper),
                   ValuesArea(axis, from, to, Shade::Central),
                   ValuesArea(axis, to + 1, axis.high, Shade::Upper)};
  // Bars show the bounds by their colour; a line through a bar's middle
  // would cut off half of a value the interval holds.
  model.markers = {MarkerAt(axis, from, QStringLiteral("A=") + Whole(from), !s.bars),
                   MarkerAt(axis, to, QStringLiteral("B=") + Whole(to), !s.bars)};
  const QString a = Whole(from), bText = Whole(to);
  model.legend = {
      {Shade::Central, QStringLiteral("P(%1<=X<=%2)=%3").arg(a, bText, Fixed(b.inside))},
      {Shade::Upper, QStringLiteral("P(X<%1 or X>%2)=%3").arg(a, bText, Fixed(b.outside))}};
}

// The probabilities at the x the result is about: the log's own, or for a
// quantile the log's P(X<=x) with the engine's other two (an interval shows
// its lower bound here).
ShownValues ShownAt(const calculator::Result& result, const Distribution& d) {
  constexpr long double kNone = std::numeric_limits<long double>::quiet_NaN();
  const auto none = [&](const auto&) { return ShownValues{kNone, kNone, kNone, kNone}; };
  return std::visit(
      calculator::Overloaded{
          [](const calculator::DiscreteAt& v) {
            return ShownValues{static_cast<long double>(v.x), v.atMost, v.atLeast, v.point};
          },
          [](const calculator::WholeBetween& b) {
            return ShownValues{static_cast<long double>(b.a), 0, 0, 0};
          },
          [&](const calculator::QuantileAt& q) {
            const models::DiscreteForward f = models::DiscreteForwardAt(d, q.x);
            return ShownValues{q.x, q.atMost, f.atLeast.value.value_or(0),
                               f.point.value.value_or(0)};
          },
          [&](std::monostate m) { return none(m); },
          [&](const calculator::TailsAt& t) { return none(t); },
          [&](const calculator::PointsOf& p) { return none(p); },
          [&](const calculator::Between& b) { return none(b); },
          [&](const calculator::CountingValue& c) { return none(c); }},
      result.values);
}

PlotModel DiscreteModel(const calculator::Result& result, const Distribution& d) {
  const ShownValues v = ShownAt(result, d);
  if (std::isnan(v.x))
    return Nothing(QStringLiteral("Nothing to plot: the quantile is beyond the extended range."));
  const auto support = models::Support(d);
  const std::optional<Range> bulk = DiscreteBulk(d);
  if (!bulk)
    return Nothing(
        QStringLiteral("Nothing to plot: the range of this distribution "
                       "cannot be computed."));
  const auto* between = std::get_if<calculator::WholeBetween>(&result.values);
  std::vector<long double> xs{v.x};
  if (between) xs = {static_cast<long double>(between->a), static_cast<long double>(between->b)};
  Sampled s = SampleValues(d, *bulk, kScoutSamples);
  std::optional<Range> values = Significant(s);
  if (!values)
    return Nothing(QStringLiteral("Nothing to plot: the probabilities cannot be computed here."));
  *values = Fewest(*values, support);
  Widen(*values, xs, 1);
  values->low = std::ceil(values->low);
  values->high = std::floor(values->high);
  if (!Resolvable(*values) && values->Width() != 0)
    return Nothing(
        QStringLiteral("Nothing to plot: the distribution is too narrow for the "
                       "precision of its position."));
  if (!s.bars || values->low != s.values.low || values->high != s.values.high)
    s = SampleValues(d, *values, values->Width() + 1 <= kMostBars ? kMostBars : kOutlineSteps);
  const Range axis{values->low - 0.5L, values->high + 0.5L};
  PlotModel model;
  model.x = {axis.low, axis.high, true, QStringLiteral("k")};
  if (between)
    FillBetween(s, *between, axis, model);
  else
    FillDiscrete(s, v, axis, model);
  if (const auto* q = std::get_if<calculator::QuantileAt>(&result.values))
    model.note =
        QStringLiteral("x=%1 is the smallest x with P(X<=x)>=%2").arg(Whole(q->x), Fixed(q->p));
  return model;
}

}  // namespace

PlotModel BuildPlotModel(const calculator::Result& result, InverseShading shading) {
  const calculator::FunctionAbout& about = calculator::AboutFunction(result.function);
  if (about.family == calculator::Family::Counting)
    return Nothing(QStringLiteral("Nothing to plot: ") + Text(about.noun) +
                   QStringLiteral(" is a number, not a distribution."));
  const std::optional<Distribution> d =
      calculator::DistributionOf(result.function, result.arguments);
  if (!result.Ok() || !d || std::holds_alternative<std::monostate>(result.values))
    return Nothing(QStringLiteral("Nothing to plot: there is no result."));
  PlotModel model = about.family == calculator::Family::Discrete
                        ? DiscreteModel(result, *d)
                        : ContinuousModel(result, *d, shading);
  model.title = TitleOf(result);
  return model;
}

QString DescribePlot(const PlotModel& model) {
  QStringList parts;
  if (!model.title.isEmpty()) parts << model.title;
  if (!model.HasPicture()) parts << model.message;
  for (const LegendEntry& entry : model.legend) parts << entry.text;
  if (!model.note.isEmpty()) parts << model.note;
  return parts.join(QStringLiteral(". "));
}

}  // namespace plot
