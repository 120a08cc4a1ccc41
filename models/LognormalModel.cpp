// The lognormal distribution: X = e^Y with Y normal of mean mu and standard
// deviation sigma > 0.
//
// Its tails at x > 0 are the normal tails of Y at ln x (NormalModel.cpp,
// which keeps them accurate to the bottom of the extended range), with
// mean mu and variance sigma^2, and its density is the normal density there
// over x.  Where sigma^2 leaves the normal range of extended reals, the
// standard normal at (ln x - mu) / sigma serves instead.  The quantiles are
// Boost's, e^(mu + sigma z).  Mean e^(mu + sigma^2 / 2), variance
// (e^(sigma^2) - 1) e^(2 mu + sigma^2), with expm1 for small sigma.
#include <boost/math/distributions/lognormal.hpp>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"

namespace models {

namespace {

using LognormalDistribution = boost::math::lognormal_distribution<long double, BoostPolicy>;

// The normal distribution of ln X, the point y at which to take it for
// x > 0, and the scale by which its density exceeds that of ln X.
struct NormalOfLog {
  Parameters normal;
  long double y, scale;
};

NormalOfLog NormalAt(const Parameters& p, long double x) {
  const long double mu = P0(p), sigma = P1(p), variance = sigma * sigma;
  if (variance >= LDBL_MIN && std::isfinite(variance)) return {{mu, variance}, std::log(x), 1};
  return {{0, 1}, (std::log(x) - mu) / sigma, sigma};
}

LognormalDistribution LognormalOf(const Parameters& p) {
  return LognormalDistribution(P0(p), P1(p));
}

class Lognormal final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"mu"}, {"sigma"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(FiniteProblem(P0(p), "mu"), PositiveProblem(P1(p), "sigma"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override {
    return Positive(std::exp(P0(p) + P1(p) * P1(p) / 2));
  }
  Value Variance(const Parameters& p) const override {
    const long double s2 = P1(p) * P1(p);
    return Positive(std::expm1(s2) * std::exp(2 * P0(p) + s2));
  }
  long double RoughMedian(const Parameters& p) const override { return std::exp(P0(p)); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x <= 0) return Value::Of(0);
    const NormalOfLog n = NormalAt(p, x);
    const Value f = NormalModel().Density(n.normal, n.y);
    if (!f.value) return f;
    return Positive(*f.value / n.scale / x);
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (x <= 0) return Value::Of(0);
    const NormalOfLog n = NormalAt(p, x);
    return NormalModel().Lower(n.normal, n.y);
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (x <= 0) return Value::Of(1);
    const NormalOfLog n = NormalAt(p, x);
    return NormalModel().Upper(n.normal, n.y);
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return quantile(LognormalOf(p), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return quantile(complement(LognormalOf(p), q));
  }
};

constinit const Lognormal kLognormal{};

}  // namespace

const Model& LognormalModel() {
  return kLognormal;
}

}  // namespace models
