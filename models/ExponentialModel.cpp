// The exponential distribution of rate r > 0.
//
// With t = r x formed as an unevaluated pair (LocationScale.h), the upper
// tail is e^(-t), taken as the exponential of that pair, so that a tail near
// 1e-4900 keeps its relative accuracy, and the lower tail is -expm1(-t),
// accurate however small t is; neither is one minus the other.  The density
// is r e^(-t).  The quantiles are -log1p(-q) / r below and -ln(q) / r above.
// Mean 1/r, variance 1/r^2.
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <utility>

#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"

namespace models {

namespace {

class Exponential final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"rate"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return PositiveProblem(P0(p), "the rate");
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override { return Finite(1 / P0(p)); }
  Value Variance(const Parameters& p) const override {
    const long double mean = 1 / P0(p);
    return Positive(mean * mean);
  }
  long double RoughMedian(const Parameters& p) const override {
    return std::numbers::ln2_v<long double> / P0(p);
  }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x < 0) return Value::Of(0);
    return Positive(P0(p) * ExpOf(Negated(ProductPair(P0(p), x))));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(0) : Positive(-std::expm1(-P0(p) * x));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(1) : Positive(ExpOf(Negated(ProductPair(P0(p), x))));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return -std::log1p(-q) / P0(p);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return -std::log(q) / P0(p);
  }
};

constinit const Exponential kExponential{};

}  // namespace

const Model& ExponentialModel() {
  return kExponential;
}

}  // namespace models
