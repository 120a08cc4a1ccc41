// The Poisson distribution of mean lambda > 0.
//
// P(X <= k) = Q(k + 1, lambda) and P(X > k) = P(k + 1, lambda), each tail
// taken directly through Incomplete.h, and the point probability
// e^(-lambda) lambda^k / k! is the gamma density there, Loader's term
// (Stirling.h).  Where the standard deviation sqrt(lambda) is at most
// kShortSumSpread, the point and both strict tails of a forward report come
// from one short sum of those terms (TermSums.h), with the ratio
// P(X = j + 1) / P(X = j) = lambda / (j + 1).  Mean and variance
// lambda.  Boost's P(X <= k), on which the quantile is searched, slows to
// milliseconds near the mean past lambda = 10^9 and gives up past 10^10: the
// quantile is searched up to lambda = 2^32.
#include <boost/math/distributions/poisson.hpp>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/Models.h"
#include "models/Stirling.h"
#include "models/TermSums.h"

namespace models {

namespace {

using PoissonDistribution = boost::math::poisson_distribution<long double, BoostPolicy>;

constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
constexpr long double kPoissonQuantileLimit = 4294967296.0L;  // 2^32

// The terms of the distribution, for the short sums.
class Terms {
 public:
  explicit Terms(const Parameters& p) : lambda_(P0(p)) {}

  long double Point(long double j) const { return PoissonTerm(j, lambda_); }
  long double Up(long double j) const { return lambda_ / (j + 1); }
  long double Down(long double j) const { return j / lambda_; }
  long double Lowest() const { return 0; }
  long double Highest() const { return kInfinity; }
  long double Mode() const { return std::floor(lambda_); }

 private:
  long double lambda_;
};

class Poisson final : public DiscreteModel {
 public:
  int ParameterCount() const override { return 1; }

  std::string Problem(const Parameters& p) const override {
    if (!(std::isfinite(P0(p)) && P0(p) > 0)) return "lambda must be a positive finite number";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, kInfinity};
  }
  Value Mean(const Parameters& p) const override { return Value::Of(P0(p)); }
  Value Variance(const Parameters& p) const override { return Value::Of(P0(p)); }
  long double RoughMedian(const Parameters& p) const override { return P0(p); }  // the mean

 protected:
  std::optional<long double> PointMass(const Parameters&) const override { return std::nullopt; }
  long double PointInside(const Parameters& p, long double k) const override {
    return GammaDensity(k + 1, P0(p));  // lambda^k e^-lambda / k!
  }
  long double AtMostInside(const Parameters& p, long double k) const override {
    return GammaTail(k + 1, P0(p), true);
  }
  long double AboveInside(const Parameters& p, long double k) const override {
    return GammaTail(k + 1, P0(p), false);
  }

  Shape QuantileShape(const Parameters& p) const override {
    return {P0(p), std::sqrt(P0(p)), 1 / std::sqrt(P0(p))};
  }
  std::string QuantileProblem(const Parameters& p) const override {
    return P0(p) > kPoissonQuantileLimit ? "not searched for lambda above 2^32" : "";
  }
  bool WalksQuantile(const Parameters&) const override { return false; }
  long double SearchedTail(const Parameters& p, long double k, bool above) const override {
    const PoissonDistribution poisson(P0(p));
    return above ? cdf(complement(poisson, k)) : cdf(poisson, k);
  }
  // e^-lambda times a rational is irrational (Lindemann): never equal to q.
  std::optional<int> CompareAtMost(const Parameters&, long double, ExactRatio&,
                                   const Ratio&) const override {
    return std::nullopt;
  }

  std::optional<DiscreteSplit> SplitAt(const Parameters& p, long double x) const override {
    if (!(P0(p) <= kShortSumSpread * kShortSumSpread)) return std::nullopt;
    return SplitAround(Terms(p), x);
  }
};

constinit const Poisson kPoisson{};

}  // namespace

const Model& PoissonModel() {
  return kPoisson;
}

}  // namespace models
