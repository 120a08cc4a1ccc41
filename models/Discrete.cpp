// The discrete family (Families.h) and the public functions that only a
// discrete distribution answers: the point probability, both cumulative
// tails and the discrete quantile, each guarded (Engine.h) and handed to the
// model.  The mathematics of each distribution is in its model's file.
//
// A fractional k counts the whole numbers on its side, and below or above
// the support a tail is 0 or 1; only whole k strictly inside the support
// (or at its top, for the point) reaches the model.
//
// The quantile, the smallest k with P(X <= k) >= p, is searched on the
// model's fast cumulative probabilities (Boost's, off by 1e-12 relative at
// worst): from a Cornish-Fisher guess, steps that double until the answer is
// bracketed, then bisection; a few dozen evaluations however large the
// counts.  The answer is then checked, and moved if need be, on the accurate
// ones.  Where a tail is a long sum (urns beyond Boost's exact range), the
// quantile walks instead from the guess, one point probability at a time.
#include <boost/math/constants/constants.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <cmath>
#include <limits>
#include <string>

#include "models/BoostPolicy.h"
#include "models/ExactTails.h"
#include "models/Families.h"

namespace models {

namespace {

// A quantile search stays below this bound, where steps of 1 are still exact.
constexpr long double kQuantileLimit = kExactWholeLimit / 4;
// The search brackets within this many standard deviations of the mean.
constexpr long double kQuantileDeviations = 40;
// Steps the accurate check may move the searched quantile, and steps the
// walk of the quantile may take before it bisects instead.
constexpr int kQuantileCheckSteps = 16;
constexpr int kQuantileWalkSteps = 4096;
// The accurate tails are within 1e-15 relative: nearer q than this, the
// exact comparison decides.
constexpr long double kBoundaryTolerance = 1e-12L;

template <class AtMostFn>
long double SearchQuantile(AtMostFn atMost, long double lo, long double hi, long double guess,
                           long double p) {
  // Invariant once bracketed: atMost(b) >= p, and a = lo - 1 or atMost(a) < p.
  long double a, b, step = 1;
  if (atMost(guess) >= p) {
    for (b = guess;; step *= 2) {
      a = b - step;
      if (a < lo) {
        a = lo - 1;
        break;
      }
      if (atMost(a) < p) break;
      b = a;
    }
  } else {
    for (a = guess;; step *= 2) {
      b = a + step;
      if (b >= hi) {
        b = hi;
        break;
      }
      if (atMost(b) >= p) break;
      a = b;
    }
  }
  while (b - a > 1) {
    const long double mid = std::floor(a + (b - a) / 2);
    (atMost(mid) >= p ? b : a) = mid;
  }
  return b;
}

// The quantile by walking from the guess with one tail and then one point
// probability per step; bisection on the tails if the guess was far off.
template <class PointFn, class AtMostFn>
long double WalkQuantile(PointFn point, AtMostFn atMost, long double lo, long double hi,
                         long double guess, long double p) {
  long double k = guess, below = atMost(k);
  for (int step = 0; step < kQuantileWalkSteps; ++step) {
    if (below >= p) {
      if (k == lo) return k;
      const long double previous = below - point(k);
      if (previous < p) return k;
      below = previous;
      --k;
    } else {
      if (k >= hi) return hi;
      ++k;
      below += point(k);
    }
  }
  return SearchQuantile(atMost, lo, hi, k, p);
}

}  // namespace

Value DiscreteModel::Point(const Parameters& p, long double k) const {
  if (std::isnan(k)) return Value::None(std::string("x is ") + kNotFinite);
  const auto [lo, hi] = Support(p);
  if (k != std::floor(k) || k < lo || k > hi) return Value::Of(0);
  if (lo == hi) return Value::Of(1);
  if (const std::optional<long double> at = PointMass(p)) return Value::Of(k == *at ? 1 : 0);
  return Positive(PointInside(p, k));
}

Value DiscreteModel::AtMost(const Parameters& p, long double k) const {
  if (std::isnan(k)) return Value::None(std::string("x is ") + kNotFinite);
  const auto [lo, hi] = Support(p);
  const long double whole = std::floor(k);
  if (whole < lo) return Value::Of(0);
  if (whole >= hi) return Value::Of(1);
  if (const std::optional<long double> at = PointMass(p)) return Value::Of(whole >= *at ? 1 : 0);
  return Positive(AtMostInside(p, whole));
}

Value DiscreteModel::AtLeast(const Parameters& p, long double k) const {
  if (std::isnan(k)) return Value::None(std::string("x is ") + kNotFinite);
  const auto [lo, hi] = Support(p);
  const long double whole = std::ceil(k);
  if (whole <= lo) return Value::Of(1);
  if (whole > hi) return Value::Of(0);
  if (const std::optional<long double> at = PointMass(p)) return Value::Of(whole <= *at ? 1 : 0);
  return Positive(AboveInside(p, whole - 1));
}

Value DiscreteModel::Quantile(const Parameters& p, long double q) const {
  return TypedQuantile(p, q, {});
}

Value DiscreteModel::TypedQuantile(const Parameters& p, long double q, const Typed& typed) const {
  if (std::isnan(q)) return Value::None(std::string("x is ") + kNotFinite);
  if (!(q > 0 && q < 1)) return Value::None(kProbabilityRange);
  // Plain variables, not a structured binding: the lambdas below capture hi.
  const std::pair<long double, long double> support = Support(p);
  const long double lo = support.first, hi = support.second;
  if (const std::optional<long double> at = PointMass(p)) return Value::Of(*at);
  if (lo == hi) return Value::Of(lo);
  const Shape shape = QuantileShape(p);
  if (const std::string problem = QuantileProblem(p); !problem.empty()) return Value::None(problem);
  if (shape.mean + kQuantileDeviations * shape.sd >= kQuantileLimit)
    return Value::None("beyond the whole numbers that extended reals hold exactly (2^64)");
  const long double z = -boost::math::constants::root_two<long double>() *
                        boost::math::erfc_inv(2 * q, BoostPolicy());
  const long double cornishFisher = shape.mean + shape.sd * (z + shape.skew * (z * z - 1) / 6);
  const long double guess = std::fmin(std::fmax(std::round(cornishFisher), lo), hi);
  const auto atMost = [&](long double j) { return j >= hi ? 1 : AtMostInside(p, j); };
  if (WalksQuantile(p)) {
    const auto point = [&](long double j) { return PointInside(p, j); };
    return Value::Of(WalkQuantile(point, atMost, lo, hi, guess, q));
  }
  const auto searched = [&](long double j) { return j >= hi ? 1 : SearchedAtMost(p, j); };
  // P(X <= j) >= q on the accurate tail, and where that lies within its error
  // of q, in exact arithmetic on the decimals typed: at a boundary,
  // P(X <= j) = q, the rounded tail may fall on either side.
  std::optional<ExactRatio> exactQ;
  const auto reaches = [&](long double j) {
    const long double tail = atMost(j);
    if (j >= hi || std::fabs(tail - q) > kBoundaryTolerance * q) return tail >= q;
    if (!exactQ) exactQ.emplace(q, typed.percentile);
    const std::optional<int> exact = CompareAtMost(p, j, *exactQ, typed.probability);
    return exact ? *exact >= 0 : tail >= q;
  };
  long double k = SearchQuantile(searched, lo, hi, guess, q);
  for (int step = 0; step < kQuantileCheckSteps && !reaches(k); ++step) ++k;
  for (int step = 0; step < kQuantileCheckSteps && k > lo && reaches(k - 1); ++step) --k;
  return Value::Of(k);
}

std::optional<DiscreteSplit> DiscreteModel::ShortSums(const Parameters& p, long double x) const {
  if (!IsWhole(x) || !Problem(p).empty()) return std::nullopt;
  const auto [lo, hi] = Support(p);
  if (!(x > lo && x < hi)) return std::nullopt;
  return SplitAt(p, x);
}

Value DiscreteModel::Density(const Parameters&, long double) const {
  return Value::None(kNotContinuous);
}

Value DiscreteModel::Lower(const Parameters&, long double) const {
  return Value::None(kNotContinuous);
}

Value DiscreteModel::Upper(const Parameters&, long double) const {
  return Value::None(kNotContinuous);
}

Value DiscreteModel::QuantileLower(const Parameters&, long double) const {
  return Value::None(kNotContinuous);
}

Value DiscreteModel::QuantileUpper(const Parameters&, long double) const {
  return Value::None(kNotContinuous);
}

Interval DiscreteModel::CentralInterval(const Parameters& p, long double q) const {
  return QuantileInterval(*this, p, q);
}

Value Point(const Distribution& d, long double k) {
  return Guarded(d, [&] { return d.model->Point(d.parameters, k); });
}

Value AtMost(const Distribution& d, long double k) {
  return Guarded(d, [&] { return d.model->AtMost(d.parameters, k); });
}

Value AtLeast(const Distribution& d, long double k) {
  return Guarded(d, [&] { return d.model->AtLeast(d.parameters, k); });
}

Value DiscreteQuantile(const Distribution& d, long double p, const Typed& typed) {
  const auto* discrete = dynamic_cast<const DiscreteModel*>(d.model);
  if (discrete == nullptr) return Guarded(d, [&] { return d.model->Quantile(d.parameters, p); });
  return Guarded(d, [&] { return discrete->TypedQuantile(d.parameters, p, typed); });
}

std::optional<DiscreteSplit> ShortSums(const Distribution& d, long double x) {
  if (d.model == nullptr) return std::nullopt;
  return d.model->ShortSums(d.parameters, x);
}

}  // namespace models
