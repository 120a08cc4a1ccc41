// The Cauchy distribution of location l and scale s > 0, symmetric about l.
//
// The tail beyond x on the far side of l is atan(s / |x - l|) / pi, taken as
// atan2(s, |x - l|), which keeps its relative accuracy however far out (no
// 1/2 - atan(z)/pi), and the tail on l's side is one minus it, at least 1/2.
// With z = (x - l) / s the density is 1 / (pi s (1 + z^2)), taken as
// (w / (pi s)) (w / (1 + w^2)) with w = 1/z beyond |z| = 1, where z^2 could
// overflow.  The quantiles are Boost's, l - s / tan(pi q) from the nearer
// end; the central interval of probability q is l -+ s tan(pi q / 2), taken
// as s / tan(pi (1 - q) / 2) above q = 1/2, where 1 - q is exact.  Mean and
// variance do not exist.
#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/cauchy.hpp>
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

using CauchyDistribution = boost::math::cauchy_distribution<long double, BoostPolicy>;

const long double kPi = boost::math::constants::pi<long double>();

CauchyDistribution CauchyOf(const Parameters& p) {
  return CauchyDistribution(P0(p), P1(p));
}

// P(X > x) when upper, else P(X < x).
long double CauchyTail(const Parameters& p, long double x, bool upper) {
  const long double d = x - P0(p);
  const long double beyond = std::atan2(P1(p), std::fabs(d)) / kPi;
  return upper == (d > 0) ? beyond : 1 - beyond;
}

class Cauchy final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"location", true}, {"scale"}};
    return kNames;
  }
  bool Symmetric() const override { return true; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(FiniteProblem(P0(p), "the location"), PositiveProblem(P1(p), "the scale"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    const long double inf = std::numeric_limits<long double>::infinity();
    return {-inf, inf};
  }
  Value Mean(const Parameters&) const override {
    return Value::None("undefined for the Cauchy distribution");
  }
  Value Variance(const Parameters&) const override {
    return Value::None("undefined for the Cauchy distribution");
  }
  long double RoughMedian(const Parameters& p) const override { return P0(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return SymmetricInterval(*this, p, q, P0(p), [&] {
      if (q <= 0.5L) return P1(p) * std::tan(kPi * q / 2);
      return P1(p) / std::tan(kPi * (1 - q) / 2);
    });
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    const long double s = P1(p), z = Standardized(x, P0(p), s).hi;
    if (std::fabs(z) <= 1) return Positive(1 / (kPi * s * (1 + z * z)));
    const long double w = 1 / z;
    return Positive(w / (kPi * s) * (w / (1 + w * w)));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return Positive(CauchyTail(p, x, false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return Positive(CauchyTail(p, x, true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return quantile(CauchyOf(p), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return quantile(complement(CauchyOf(p), q));
  }
};

constinit const Cauchy kCauchy{};

}  // namespace

const Model& CauchyModel() {
  return kCauchy;
}

}  // namespace models
