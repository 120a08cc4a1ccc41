// The chi-square distribution with df > 0 degrees of freedom, the gamma
// distribution of shape df/2 at x/2: P(X < x) = P(df/2, x/2) and
// P(X > x) = Q(df/2, x/2), each tail taken directly, never as one minus the
// other, so that both keep their relative accuracy down to the bottom of the
// extended range.  For large degrees of freedom the incomplete gamma
// function is Boost's with the engine's prefix (Incomplete.h), and the
// density x^(df/2-1) e^(-x/2) / (2^(df/2) Gamma(df/2)) is the gamma density
// of Incomplete.h halved.  The quantiles are Boost's.
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/Models.h"

namespace models {

namespace {

using ChiSquared = boost::math::chi_squared_distribution<long double, BoostPolicy>;

class ChiSquare final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"df"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters& p) const override { return P0(p) >= kNearNormalDf; }

  std::string Problem(const Parameters& p) const override {
    return DegreesProblem(P0(p), "the degrees of freedom");
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override { return Value::Of(P0(p)); }
  Value Variance(const Parameters& p) const override { return Finite(2 * P0(p)); }
  long double RoughMedian(const Parameters& p) const override { return P0(p); }  // the mean

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x < 0) return Value::Of(0);
    if (x == 0) return DensityAtZero(P0(p), 0.5L);
    return Positive(GammaDensity(P0(p) / 2, x / 2) / 2);
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(0) : Positive(GammaTail(P0(p) / 2, x / 2, false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(1) : Positive(GammaTail(P0(p) / 2, x / 2, true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return quantile(ChiSquared(P0(p)), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return quantile(complement(ChiSquared(P0(p)), q));
  }
};

constinit const ChiSquare kChiSquare{};

}  // namespace

const Model& ChiSquareModel() {
  return kChiSquare;
}

}  // namespace models
