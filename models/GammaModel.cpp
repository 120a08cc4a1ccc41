// The gamma distribution of shape k > 0 and scale theta > 0: with
// z = x / theta, P(X < x) = P(k, z) and P(X > x) = Q(k, z), each tail taken
// directly through Incomplete.h (Boost's incomplete gamma function, with the
// engine's prefix for large shapes), and the density the gamma density of
// Incomplete.h over theta.  At x = 0 the density is infinite for k < 1,
// 1/theta for k = 1 and 0 above.  The quantiles are Boost's.  Mean k theta,
// variance k theta^2; from k = kNearNormalDf / 2 on, as chi-square with
// kNearNormalDf degrees of freedom, near the normal distribution.
#include <boost/math/distributions/gamma.hpp>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/LocationScale.h"
#include "models/Models.h"

namespace models {

namespace {

using GammaDistribution = boost::math::gamma_distribution<long double, BoostPolicy>;

class Gamma final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"shape"}, {"scale"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters& p) const override { return P0(p) >= kNearNormalDf / 2; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(PositiveProblem(P0(p), "the shape"), PositiveProblem(P1(p), "the scale"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override { return Positive(P0(p) * P1(p)); }
  Value Variance(const Parameters& p) const override { return Positive(P0(p) * P1(p) * P1(p)); }
  long double RoughMedian(const Parameters& p) const override { return P0(p) * P1(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x < 0) return Value::Of(0);
    if (x == 0) {
      if (P0(p) < 1) return Value::None("infinite at x = 0");
      return Finite(P0(p) == 1 ? 1 / P1(p) : 0);
    }
    return Positive(GammaDensity(P0(p), x / P1(p)) / P1(p));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(0) : Positive(Tail(p, x, false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(1) : Positive(Tail(p, x, true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return quantile(GammaDistribution(P0(p), P1(p)), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return quantile(complement(GammaDistribution(P0(p), P1(p)), q));
  }

 private:
  // Q(k, z) when upper, else P(k, z); z beyond the extended range is the end.
  static long double Tail(const Parameters& p, long double x, bool upper) {
    const long double z = x / P1(p);
    if (std::isinf(z)) return upper ? 0 : 1;
    return GammaTail(P0(p), z, upper);
  }
};

constinit const Gamma kGamma{};

}  // namespace

const Model& GammaModel() {
  return kGamma;
}

}  // namespace models
