// The logistic distribution of location m and scale s > 0, symmetric about m.
//
// With z = (x - m) / s as an unevaluated pair (LocationScale.h) and
// e = e^(-|z|) from that pair, the tail beyond x on the far side of m is
// e / (1 + e), the logistic function of -|z|, and the tail on m's side is
// 1 / (1 + e): no cancellation, and the far tail keeps its relative accuracy
// down to the bottom of the extended range.  The density is
// e / (s (1 + e)^2).  The quantile of q below is m + s logit(q), with
// logit(q) = ln(q / (1 - q)) formed as 2 atanh(2q - 1) in the middle (2q - 1
// exact), ln q - log1p(-q) below and log1p(-r) - ln r with r = 1 - q (exact)
// above; the central interval of probability q is m -+ 2 s atanh(q).  Mean m,
// variance pi^2 s^2 / 3.
#include <boost/math/constants/constants.hpp>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"

namespace models {

namespace {

// e^(-|z|) for z = (x - m) / s, and the sign of z.
struct Far {
  long double e;
  bool above;
};

Far FarOf(const Parameters& p, long double x) {
  const ExtendedPair z = Standardized(x, P0(p), P1(p));
  return {ExpOf(z.hi > 0 ? Negated(z) : z), z.hi > 0};
}

// ln(q / (1 - q)) for 0 < q < 1.
long double Logit(long double q) {
  if (q < 0.25L) return std::log(q) - std::log1p(-q);
  if (q <= 0.75L) return 2 * std::atanh(2 * q - 1);
  const long double r = 1 - q;
  return std::log1p(-r) - std::log(r);
}

class Logistic final : public ContinuousModel {
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
  Value Mean(const Parameters& p) const override { return Value::Of(P0(p)); }
  Value Variance(const Parameters& p) const override {
    const long double pi = boost::math::constants::pi<long double>();
    return Positive(pi * P1(p) * (pi * P1(p)) / 3);
  }
  long double RoughMedian(const Parameters& p) const override { return P0(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return SymmetricInterval(*this, p, q, P0(p), [&] { return 2 * P1(p) * std::atanh(q); });
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    const long double e = FarOf(p, x).e;
    return Positive(e / P1(p) / ((1 + e) * (1 + e)));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    const Far f = FarOf(p, x);
    return Positive(f.above ? 1 / (1 + f.e) : f.e / (1 + f.e));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    const Far f = FarOf(p, x);
    return Positive(f.above ? f.e / (1 + f.e) : 1 / (1 + f.e));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return P0(p) + P1(p) * Logit(q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return P0(p) - P1(p) * Logit(q);
  }
};

constinit const Logistic kLogistic{};

}  // namespace

const Model& LogisticModel() {
  return kLogistic;
}

}  // namespace models
