// The beta distribution with alpha, beta > 0 on [0, 1].
//
// P(X < x) = I_x(alpha, beta) and P(X > x) = 1 - I_x(alpha, beta) are taken
// each directly through Incomplete.h, under the engine's saddle-point prefix
// (Stirling.h) with delta = alpha - (alpha + beta) x formed as an
// unevaluated pair (LocationScale.h), so that neither the rounding of
// alpha + beta nor that of the product enters; the density is the beta
// density of Incomplete.h on the same term.  At an end of the support the
// density is infinite where its parameter is below 1, that of the other
// parameter where it is 1 (alpha at 0, beta at 1), and 0 above.  The
// quantiles are Boost's.  Mean alpha / (alpha + beta), variance
// alpha beta / ((alpha + beta)^2 (alpha + beta + 1)).
#include <boost/math/distributions/beta.hpp>
#include <cmath>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/LocationScale.h"
#include "models/Models.h"
#include "models/Stirling.h"

namespace models {

namespace {

using BetaDistribution = boost::math::beta_distribution<long double, BoostPolicy>;

// x, y = 1 - x and the saddle-point term of I_x(a, b), for 0 < x < 1.
struct BetaAt {
  long double a, b, x, y, saddle;
};

BetaAt BetaAtOf(const Parameters& p, long double x) {
  const long double a = P0(p), b = P1(p), y = 1 - x;
  const ExtendedPair m = TwoSum(a, b);
  const ExtendedPair mx = ProductPair(m.hi, x);
  const long double delta = ((a - mx.hi) - mx.lo) - m.lo * x;
  return {a, b, x, y, BetaSaddleTerm(a, b, x, y, delta)};
}

class Beta final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"alpha"}, {"beta"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(PositiveProblem(P0(p), "alpha"), PositiveProblem(P1(p), "beta"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override { return {0, 1}; }
  Value Mean(const Parameters& p) const override { return Value::Of(P0(p) / (P0(p) + P1(p))); }
  Value Variance(const Parameters& p) const override {
    const long double a = P0(p), b = P1(p), m = a + b;
    return Positive(a / m * (b / m) / (m + 1));
  }
  long double RoughMedian(const Parameters& p) const override { return P0(p) / (P0(p) + P1(p)); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x < 0 || x > 1) return Value::Of(0);
    if (x == 0) return AtEnd(P0(p), P1(p), "infinite at x = 0");
    if (x == 1) return AtEnd(P1(p), P0(p), "infinite at x = 1");
    const BetaAt f = BetaAtOf(p, x);
    return Positive(BetaDensity(f.a, f.b, f.x, f.y, f.saddle));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (x <= 0 || x >= 1) return Value::Of(x <= 0 ? 0 : 1);
    const BetaAt f = BetaAtOf(p, x);
    return Positive(BetaTail(f.a, f.b, f.x, f.y, false, f.saddle));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (x <= 0 || x >= 1) return Value::Of(x <= 0 ? 1 : 0);
    const BetaAt f = BetaAtOf(p, x);
    return Positive(BetaTail(f.a, f.b, f.x, f.y, true, f.saddle));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return quantile(BetaDistribution(P0(p), P1(p)), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return quantile(complement(BetaDistribution(P0(p), P1(p)), q));
  }

 private:
  // The density at the end whose parameter is c, the other parameter other:
  // infinite below 1, other at 1 (the end's factor is then 1), 0 above.
  static Value AtEnd(long double c, long double other, const char* infinite) {
    if (c < 1) return Value::None(infinite);
    return Finite(c == 1 ? other : 0);
  }
};

constinit const Beta kBeta{};

}  // namespace

const Model& BetaModel() {
  return kBeta;
}

}  // namespace models
