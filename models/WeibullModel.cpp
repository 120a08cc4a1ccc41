// The Weibull distribution of shape k > 0 and scale lambda > 0.
//
// With r = x / lambda as an unevaluated pair (LocationScale.h) and
// t = r^k = hi^k (1 + k lo / hi), the upper tail is e^(-t) and the lower
// tail -expm1(-t), neither one minus the other; the density is
// (k / lambda) r^(k-1) e^(-t), infinite at x = 0 for k < 1 and 1/lambda
// there for k = 1.  The quantiles are lambda (-log1p(-q))^(1/k) below and
// lambda (-ln q)^(1/k) above.  Mean lambda Gamma(1 + 1/k); variance
// lambda^2 (Gamma(1 + 2/k) - Gamma(1 + 1/k)^2), which for large k cancels
// (by a factor k^2 / 2): from kWeibullSeriesFrom on it is
// lambda^2 Gamma(1 + e)^2 expm1(D) with e = 1/k and
//   D = ln Gamma(1 + 2e) - 2 ln Gamma(1 + e)
//     = sum_{n >= 2} (-1)^n zeta(n) (2^n - 2) e^n / n,
// whose terms hold no cancellation (the linear ones cancel exactly).
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/zeta.hpp>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"

namespace models {

namespace {

// From this shape on the variance comes from the series in 1/k, whose
// terms fall by 2/k each: 32 of them reach 2^-64.
constexpr long double kWeibullSeriesFrom = 8;
constexpr int kWeibullSeriesTerms = 40;

// (x / lambda)^k for x > 0, from the pair x / lambda.
long double Exponent(const Parameters& p, long double x) {
  const ExtendedPair r = Standardized(x, 0, P1(p));
  const long double k = P0(p);
  return std::pow(r.hi, k) * (1 + k * (r.lo / r.hi));
}

// ln Gamma(1 + 2e) - 2 ln Gamma(1 + e), for e at most 1/kWeibullSeriesFrom.
long double GammaRatioLog(long double e) {
  long double sum = 0, power = e * e;
  for (int n = 2; n < kWeibullSeriesTerms; ++n, power *= e) {
    const long double term = boost::math::zeta(static_cast<long double>(n), BoostPolicy()) *
                             (std::ldexp(1.0L, n) - 2) / n * power;
    sum += n % 2 == 0 ? term : -term;
  }
  return sum;
}

class Weibull final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"shape"}, {"scale"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(PositiveProblem(P0(p), "the shape"), PositiveProblem(P1(p), "the scale"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override {
    return Finite(P1(p) * boost::math::tgamma1pm1(1 / P0(p), BoostPolicy()) + P1(p));
  }
  Value Variance(const Parameters& p) const override {
    const long double k = P0(p), lambda = P1(p), e = 1 / k;
    if (k < kWeibullSeriesFrom) {
      const long double g1 = boost::math::tgamma(1 + e, BoostPolicy());
      const long double g2 = boost::math::tgamma(1 + 2 * e, BoostPolicy());
      return Positive(lambda * lambda * (g2 - g1 * g1));
    }
    const long double g1 = boost::math::tgamma1pm1(e, BoostPolicy()) + 1;
    return Positive(lambda * g1 * (lambda * g1) * std::expm1(GammaRatioLog(e)));
  }
  long double RoughMedian(const Parameters& p) const override {
    return P1(p) * std::pow(std::numbers::ln2_v<long double>, 1 / P0(p));
  }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    const long double k = P0(p), lambda = P1(p);
    if (x < 0) return Value::Of(0);
    if (x == 0) {
      if (k < 1) return Value::None("infinite at x = 0");
      return Finite(k == 1 ? 1 / lambda : 0);
    }
    const long double r = x / lambda;
    return Positive(k / lambda * std::pow(r, k - 1) * std::exp(-Exponent(p, x)));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(0) : Positive(-std::expm1(-Exponent(p, x)));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(1) : Positive(std::exp(-Exponent(p, x)));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return P1(p) * std::pow(-std::log1p(-q), 1 / P0(p));
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return P1(p) * std::pow(-std::log(q), 1 / P0(p));
  }
};

constinit const Weibull kWeibull{};

}  // namespace

const Model& WeibullModel() {
  return kWeibull;
}

}  // namespace models
