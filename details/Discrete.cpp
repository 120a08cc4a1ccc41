// The three discrete distributions: point probabilities, both cumulative
// tails, the discrete quantile and the support.
//
// Binomial: P(X <= k) = 1 - I_p(k + 1, n - k) and P(X > k) = I_p(k + 1, n - k),
// each tail taken directly from Boost's incomplete beta function through
// Incomplete.h, which keeps its relative accuracy for large n; the point
// probability is Loader's term with delta = k - n p formed exactly, so that
// neither the rounding of 1 - p (which n multiplies) nor a difference of
// tails enters.  Where k + 1 or n - k is below kBoostBetaLimit the tail is
// instead the short sum of those terms (TermSums.h).
//
// Poisson: P(X <= k) = Q(k + 1, lambda) and P(X > k) = P(k + 1, lambda)
// through Incomplete.h, and the point probability is the gamma density.
// The hypergeometric probabilities are in Hypergeometric.cpp.
//
// The quantile, the smallest k with P(X <= k) >= p, is searched on Boost's
// cumulative probabilities (fast, and off by 1e-12 relative at worst): from
// a Cornish-Fisher guess, steps that double until the answer is bracketed,
// then bisection; a few dozen evaluations however large the counts.  The
// answer is then checked, and moved if need be, on the accurate ones.  For
// urns beyond Boost's exact range a tail is a long sum, so the quantile walks
// instead from the guess, one point probability at a time.
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/poisson.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <cmath>
#include <limits>

#include "details/BoostPolicy.h"
#include "details/Engine.h"
#include "details/ExtendedPair.h"
#include "details/Incomplete.h"
#include "details/Stirling.h"
#include "details/TermSums.h"

namespace details {

namespace {

using BinomialDistribution = boost::math::binomial_distribution<long double, BoostPolicy>;
using PoissonDistribution = boost::math::poisson_distribution<long double, BoostPolicy>;

constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
// A quantile search stays below this bound, where steps of 1 are still exact.
constexpr long double kQuantileLimit = kExactWholeLimit / 4;
// The search brackets within this many standard deviations of the mean.
constexpr long double kQuantileDeviations = 40;
// Steps the accurate check may move the searched quantile, and steps the
// walk of the hypergeometric quantile may take before it bisects instead.
constexpr int kQuantileCheckSteps = 16;
constexpr int kQuantileWalkSteps = 4096;
// Boost's Poisson P(X <= k) near the mean slows to milliseconds past
// lambda = 10^9 and gives up past 10^10: the quantile is searched up to here.
constexpr long double kPoissonQuantileLimit = 4294967296.0L;  // 2^32

// a - m p exactly but for one rounding: m p as an unevaluated pair.
long double ExactOffset(long double a, long double m, long double p) {
  const ExtendedPair mp = TwoProduct(m, p);
  return (a - mp.hi) - mp.lo;
}

class Binomial {
 public:
  explicit Binomial(const Distribution& d) : n_(P1(d)), p_(P0(d)), q_(1 - P0(d)) {}

  // C(n, j) p^j q^(n-j); at the ends q^n = e^(n ln(1 - p)) and p^n.
  long double Point(long double j) const {
    if (j == 0) return std::exp(n_ * std::log1p(-p_));
    if (j == n_) return std::exp(n_ * std::log(p_));
    return BetaSaddleTerm(j, n_ - j, p_, q_, ExactOffset(j, n_, p_));
  }
  long double Up(long double j) const { return (n_ - j) / (j + 1) * (p_ / q_); }
  long double Down(long double j) const { return j / (n_ - j + 1) * (q_ / p_); }
  long double Lowest() const { return 0; }
  long double Highest() const { return n_; }
  long double Mode() const { return std::floor((n_ + 1) * p_); }

  // P(X > k) = I_p(k + 1, n - k) when above, else P(X <= k).
  long double Tail(long double k, bool above) const {
    const long double a = k + 1, b = n_ - k;
    if (a < kBoostBetaLimit || b < kBoostBetaLimit)
      return above ? SummedAbove(*this, k) : SummedAtMost(*this, k);
    const long double saddle = BetaSaddleTerm(a, b, p_, q_, ExactOffset(a, n_ + 1, p_));
    return BetaTail(a, b, p_, q_, !above, saddle);
  }

 private:
  long double n_, p_, q_;
};

// A binomial with p = 0 or 1 is a point mass at 0 or n.
bool PointMass(const Distribution& d, long double& at) {
  if (d.kind != Kind::Binomial || (P0(d) != 0 && P0(d) != 1)) return false;
  at = P0(d) == 0 ? 0 : P1(d);
  return true;
}

// P(X = k), P(X <= k), P(X > k) for whole k with lo <= k < hi (hi for Point).
long double PointInside(const Distribution& d, long double k) {
  switch (d.kind) {
    case Kind::Binomial:
      return Binomial(d).Point(k);
    case Kind::Poisson:
      return GammaDensity(k + 1, P0(d));  // lambda^k e^-lambda / k!
    default:
      return HypergeometricPoint(d, k);
  }
}

long double AtMostInside(const Distribution& d, long double k) {
  switch (d.kind) {
    case Kind::Binomial:
      return Binomial(d).Tail(k, false);
    case Kind::Poisson:
      return GammaTail(k + 1, P0(d), true);
    default:
      return HypergeometricAtMost(d, k);
  }
}

long double AboveInside(const Distribution& d, long double k) {
  switch (d.kind) {
    case Kind::Binomial:
      return Binomial(d).Tail(k, true);
    case Kind::Poisson:
      return GammaTail(k + 1, P0(d), false);
    default:
      return HypergeometricAbove(d, k);
  }
}

// The Poisson terms, for the short sums.
class Poisson {
 public:
  explicit Poisson(const Distribution& d) : lambda_(P0(d)) {}

  long double Point(long double j) const { return PoissonTerm(j, lambda_); }
  long double Up(long double j) const { return lambda_ / (j + 1); }
  long double Down(long double j) const { return j / lambda_; }
  long double Lowest() const { return 0; }
  long double Highest() const { return kInfinity; }
  long double Mode() const { return std::floor(lambda_); }

 private:
  long double lambda_;
};

// Boost's P(X <= k), fast at any size, for the quantile search.
long double BoostAtMost(const Distribution& d, long double k) {
  if (d.kind == Kind::Binomial) return cdf(BinomialDistribution(P1(d), P0(d)), k);
  return cdf(PoissonDistribution(P0(d)), k);
}

// Mean, standard deviation and skewness, for the quantile's first guess.
struct Shape {
  long double mean, sd, skew;
};

Shape ShapeOf(const Distribution& d) {
  switch (d.kind) {
    case Kind::Binomial: {
      const long double n = P1(d), p = P0(d), sd = std::sqrt(n * p * (1 - p));
      return {n * p, sd, (1 - 2 * p) / sd};
    }
    case Kind::Poisson:
      return {P0(d), std::sqrt(P0(d)), 1 / std::sqrt(P0(d))};
    default: {
      const long double b = P0(d), N = P0(d) + P1(d), n = P2(d);
      const long double sd = std::sqrt(n * (b / N) * (P1(d) / N) * ((N - n) / (N - 1)));
      const long double skew = (N - 2 * b) * std::sqrt(N - 1) * (N - 2 * n) /
                               (std::sqrt(n * b * P1(d) * (N - n)) * (N - 2));
      return {n * b / N, sd, std::isfinite(skew) ? skew : 0};
    }
  }
}

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
template <class AtMostFn>
long double WalkQuantile(const Distribution& d, AtMostFn atMost, long double lo, long double hi,
                         long double guess, long double p) {
  long double k = guess, below = atMost(k);
  for (int step = 0; step < kQuantileWalkSteps; ++step) {
    if (below >= p) {
      if (k == lo) return k;
      const long double previous = below - PointInside(d, k);
      if (previous < p) return k;
      below = previous;
      --k;
    } else {
      if (k >= hi) return hi;
      ++k;
      below += PointInside(d, k);
    }
  }
  return SearchQuantile(atMost, lo, hi, k, p);
}

template <class Compute>
Value GuardedDiscrete(const Distribution& d, long double k, Compute&& compute) {
  return Guarded(d, [&]() -> Value {
    if (!IsDiscrete(d.kind)) return Value::None(kNotDiscrete);
    if (std::isnan(k)) return Value::None(std::string("x is ") + kNotFinite);
    return compute();
  });
}

}  // namespace

std::pair<long double, long double> Support(const Distribution& d) {
  if (!ParameterProblem(d).empty()) return {kNaN, kNaN};
  switch (d.kind) {
    case Kind::Normal:
    case Kind::T:
      return {-kInfinity, kInfinity};
    case Kind::ChiSquare:
    case Kind::F:
    case Kind::Poisson:
      return {0, kInfinity};
    case Kind::Binomial:
      return {0, P1(d)};
    case Kind::Hypergeometric:
      return {std::fmax(0, P2(d) - P1(d)), std::fmin(P2(d), P0(d))};
  }
  return {kNaN, kNaN};
}

std::optional<DiscreteSplit> ShortSums(const Distribution& d, long double x) {
  if (!IsDiscrete(d.kind) || !IsWhole(x) || !ParameterProblem(d).empty()) return std::nullopt;
  const auto [lo, hi] = Support(d);
  if (!(x > lo && x < hi)) return std::nullopt;
  const long double spread2 = kShortSumSpread * kShortSumSpread;
  switch (d.kind) {
    case Kind::Binomial:
      if (!(P1(d) * P0(d) * (1 - P0(d)) <= spread2)) return std::nullopt;
      return SplitAround(Binomial(d), x);
    case Kind::Poisson:
      if (!(P0(d) <= spread2)) return std::nullopt;
      return SplitAround(Poisson(d), x);
    default:
      return HypergeometricAround(d, x);
  }
}

Value Point(const Distribution& d, long double k) {
  return GuardedDiscrete(d, k, [&]() -> Value {
    const auto [lo, hi] = Support(d);
    if (k != std::floor(k) || k < lo || k > hi) return Value::Of(0);
    if (lo == hi) return Value::Of(1);
    if (long double at; PointMass(d, at)) return Value::Of(k == at ? 1 : 0);
    return Positive(PointInside(d, k));
  });
}

Value AtMost(const Distribution& d, long double k) {
  return GuardedDiscrete(d, k, [&]() -> Value {
    const auto [lo, hi] = Support(d);
    const long double whole = std::floor(k);
    if (whole < lo) return Value::Of(0);
    if (whole >= hi) return Value::Of(1);
    if (long double at; PointMass(d, at)) return Value::Of(whole >= at ? 1 : 0);
    return Positive(AtMostInside(d, whole));
  });
}

Value AtLeast(const Distribution& d, long double k) {
  return GuardedDiscrete(d, k, [&]() -> Value {
    const auto [lo, hi] = Support(d);
    const long double whole = std::ceil(k);
    if (whole <= lo) return Value::Of(1);
    if (whole > hi) return Value::Of(0);
    if (long double at; PointMass(d, at)) return Value::Of(whole <= at ? 1 : 0);
    return Positive(AboveInside(d, whole - 1));
  });
}

Value DiscreteQuantile(const Distribution& d, long double p) {
  return GuardedDiscrete(d, p, [&]() -> Value {
    if (!(p > 0 && p < 1)) return Value::None(kProbabilityRange);
    // Plain variables, not a structured binding: the lambdas below capture hi.
    const std::pair<long double, long double> support = Support(d);
    const long double lo = support.first, hi = support.second;
    if (long double at; PointMass(d, at)) return Value::Of(at);
    if (lo == hi) return Value::Of(lo);
    const Shape shape = ShapeOf(d);
    if (d.kind == Kind::Poisson && P0(d) > kPoissonQuantileLimit)
      return Value::None("not searched for lambda above 2^32");
    if (shape.mean + kQuantileDeviations * shape.sd >= kQuantileLimit)
      return Value::None("beyond the whole numbers that extended reals hold exactly (2^64)");
    const long double z = -boost::math::constants::root_two<long double>() *
                          boost::math::erfc_inv(2 * p, BoostPolicy());
    const long double cornishFisher = shape.mean + shape.sd * (z + shape.skew * (z * z - 1) / 6);
    const long double guess = std::fmin(std::fmax(std::round(cornishFisher), lo), hi);
    const auto atMost = [&](long double j) { return j >= hi ? 1 : AtMostInside(d, j); };
    if (d.kind == Kind::Hypergeometric && !HypergeometricByBoost(d))
      return Value::Of(WalkQuantile(d, atMost, lo, hi, guess, p));
    const auto searched = [&](long double j) {
      if (j >= hi) return 1.0L;
      return d.kind == Kind::Hypergeometric ? AtMostInside(d, j) : BoostAtMost(d, j);
    };
    long double k = SearchQuantile(searched, lo, hi, guess, p);
    for (int step = 0; step < kQuantileCheckSteps && atMost(k) < p; ++step) ++k;
    for (int step = 0; step < kQuantileCheckSteps && k > lo && atMost(k - 1) >= p; ++step) --k;
    return Value::Of(k);
  });
}

}  // namespace details
