// The discrete family (Families.h) and the public functions that only a
// discrete distribution answers: the point probability, both cumulative
// tails and the discrete quantile, each guarded (Engine.h) and handed to the
// model.  The mathematics of each distribution is in its model's file.
//
// A fractional k counts the whole numbers on its side, and below or above
// the support a tail is 0 or 1; only whole k strictly inside the support
// (or at its top, for the point) reaches the model.
//
// The quantile, the smallest k with P(X <= k) >= q, is decided on the
// smaller tail: P(X <= k) >= q up to q = 1/2, and above it P(X > k) <= 1 - q,
// where P(X <= k) near 1 would have lost the digits of 1 - q (at
// q = 1 - 1e-15 all but four).  It is searched on the model's fast tails
// (Boost's, off by 1e-12 relative at worst): from a first guess (the
// model's, or Cornish-Fisher's), steps that double until the answer is
// bracketed, then bisection; a few dozen evaluations however large the
// counts.  Where a tail is a long sum (urns beyond Boost's exact range), the
// quantile walks instead from the guess, one point probability at a time.
// The answer is then checked on the accurate tails, by the same doubling
// steps from it (two evaluations where it was right), and where an accurate
// tail lies within its error of the probability asked for, in exact
// arithmetic on the decimals typed.
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

// A quantile search stays at most this bound, from where steps that double
// stay below 2^64, the whole numbers that extended reals hold exactly.
constexpr long double kQuantileLimit = kExactWholeLimit / 2;
// Steps the walk of the quantile may take before the accurate search goes
// on from where it stopped.
constexpr int kQuantileWalkSteps = 4096;
// The accurate tails are within 1e-15 relative: nearer the probability
// asked for than this, the exact comparison decides.
constexpr long double kBoundaryTolerance = 1e-12L;

// The smallest k in [lo, hi] with reaches(k), reaches being monotone and
// true at hi: from guess, steps that double until the answer is bracketed,
// then bisection.
template <class Reaches>
long double SearchQuantile(Reaches reaches, long double lo, long double hi, long double guess) {
  // Invariant once bracketed: reaches(b), and a = lo - 1 or not reaches(a).
  long double a, b, step = 1;
  if (reaches(guess)) {
    for (b = guess;; step *= 2) {
      a = b - step;
      if (a < lo) {
        a = lo - 1;
        break;
      }
      if (!reaches(a)) break;
      b = a;
    }
  } else {
    for (a = guess;; step *= 2) {
      b = a + step;
      if (b >= hi) {
        b = hi;
        break;
      }
      if (reaches(b)) break;
      a = b;
    }
  }
  while (b - a > 1) {
    const long double mid = std::floor(a + (b - a) / 2);
    (reaches(mid) ? b : a) = mid;
  }
  return b;
}

// Where the quantile is by walking from the guess with one tail, then one
// point probability a step: the tail on the side compared (tail(k), with
// sign +1 for P(X <= k), -1 for P(X > k)) moves by -+ sign P(X = k) a step
// down or up.  Where the guess was far off, it stops after
// kQuantileWalkSteps.
template <class PointFn, class TailFn, class Reached>
long double WalkQuantile(PointFn point, TailFn tail, Reached reached, long double sign,
                         long double lo, long double hi, long double guess) {
  long double k = guess, t = tail(k);
  for (int step = 0; step < kQuantileWalkSteps; ++step) {
    if (reached(t)) {
      if (k == lo) return k;
      const long double previous = t - sign * point(k);
      if (!reached(previous)) return k;
      t = previous;
      --k;
    } else {
      if (k >= hi) return hi;
      ++k;
      t += sign * point(k);
    }
  }
  return k;
}

// The standard normal quantile of q, from the smaller of q and its
// complement.
long double NormalQuantile(long double q, long double complement) {
  const long double root2 = boost::math::constants::root_two<long double>();
  if (q <= 0.5L) return -root2 * boost::math::erfc_inv(2 * q, BoostPolicy());
  return root2 * boost::math::erfc_inv(2 * complement, BoostPolicy());
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

long double DiscreteModel::QuantileGuess(const Parameters& p, long double q,
                                         long double complement) const {
  const Shape shape = QuantileShape(p);
  const long double z = NormalQuantile(q, complement);
  return shape.mean + shape.sd * (z + shape.skew * (z * z - 1) / 6);
}

Value DiscreteModel::TypedQuantile(const Parameters& p, long double q, const Typed& typed) const {
  if (std::isnan(q)) return Value::None(std::string("x is ") + kNotFinite);
  if (!(q > 0 && q < 1)) return Value::None(kProbabilityRange);
  // Plain variables, not a structured binding: the lambdas below capture hi.
  const std::pair<long double, long double> support = Support(p);
  const long double lo = support.first, hi = support.second;
  if (const std::optional<long double> at = PointMass(p)) return Value::Of(*at);
  if (lo == hi) return Value::Of(lo);
  if (const std::string problem = QuantileProblem(p); !problem.empty()) return Value::None(problem);
  // The tail compared: P(X > k) with 1 - q above q = 1/2 (exact from q, or
  // from the decimals typed), else P(X <= k) with q.
  const bool above = q > 0.5L;
  const long double complement = ComplementOf(typed.percentile, q);
  const long double target = above ? complement : q;
  const auto reached = [&](long double tail) { return above ? tail <= target : tail >= target; };
  const long double top = std::fmin(hi, kQuantileLimit);
  const long double guess =
      std::fmin(std::fmax(std::round(QuantileGuess(p, q, complement)), lo), top);
  long double k = guess;
  if (WalksQuantile(p)) {
    const auto point = [&](long double j) { return PointInside(p, j); };
    const auto tail = [&](long double j) {
      if (j >= hi) return above ? 0.0L : 1.0L;
      return above ? AboveInside(p, j) : AtMostInside(p, j);
    };
    k = WalkQuantile(point, tail, reached, above ? -1 : 1, lo, top, guess);
  } else {
    const auto searched = [&](long double j) {
      return j >= hi || reached(SearchedTail(p, j, above));
    };
    k = SearchQuantile(searched, lo, top, guess);
  }
  // On the accurate tail, and where that lies within its error of the
  // target, in exact arithmetic on the decimals typed: at a boundary,
  // P(X <= j) = q, the rounded tail may fall on either side.
  std::optional<ExactRatio> exactQ;
  const auto reaches = [&](long double j) {
    if (j >= hi) return true;
    const long double tail = above ? AboveInside(p, j) : AtMostInside(p, j);
    if (std::fabs(tail - target) > kBoundaryTolerance * target) return reached(tail);
    if (!exactQ) exactQ.emplace(q, typed.percentile);
    if (IsHalf(*exactQ) && HalfPoint(p, typed.probability) == j) return true;
    const std::optional<int> exact = CompareAtMost(p, j, *exactQ, typed.probability);
    return exact ? *exact >= 0 : reached(tail);
  };
  k = SearchQuantile(reaches, lo, top, k);
  if (k == top && !reaches(top))
    return Value::None("beyond the whole numbers that extended reals hold exactly (2^64)");
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
