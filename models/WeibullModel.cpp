// The Weibull distribution of shape k > 0 and scale lambda > 0.
//
// With r = x / lambda as an unevaluated pair (LocationScale.h) and
// t = r^k = hi^k (1 + k lo / hi) (where r leaves the range, e^(k ln r) from
// the logarithms of x and lambda), the upper tail is e^(-t) and the lower
// tail -expm1(-t), neither one minus the other; the density is
// (k / x) t e^(-t), infinite at x = 0 for k < 1 and 1/lambda there for
// k = 1.  The quantiles are lambda (-log1p(-q))^(1/k) below and
// lambda (-ln q)^(1/k) above, from logarithms where the power leaves the
// range (a shape of 1e-300), a note below it.  Mean lambda Gamma(1 + 1/k); variance
// lambda^2 (Gamma(1 + 2/k) - Gamma(1 + 1/k)^2), which for large k cancels
// (by a factor k^2 / 2): from kWeibullSeriesFrom on it is
// (lambda e)^2 Gamma(1 + e)^2 (D / e^2) expm1(D) / D with e = 1/k and
//   D = ln Gamma(1 + 2e) - 2 ln Gamma(1 + e)
//     = sum_{n >= 2} (-1)^n zeta(n) (2^n - 2) e^n / n,
// whose terms hold no cancellation (the linear ones cancel exactly).
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/zeta.hpp>
#include <cfloat>
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

// (x / lambda)^k for x > 0, from the pair x / lambda; where the ratio leaves
// the range of normal extended reals (a scale of 1e-4900 against an x of
// 1e300: a ratio of 1e5200, whose power for k = 1e-300 is 1 + 1e-296), as
// e^(k ln r) with ln r = ln x - ln lambda and its product by k in pairs.
long double Exponent(const Parameters& p, long double x) {
  const ExtendedPair r = Standardized(x, 0, P1(p));
  const long double k = P0(p);
  if (r.hi >= LDBL_MIN && std::isfinite(r.hi)) return std::pow(r.hi, k) * (1 + k * (r.lo / r.hi));
  const ExtendedPair logRatio = SumPair(LogPair(x), Negated(LogPair(P1(p))));
  return ExpOf(ProductOfPairs({k, 0}, logRatio));
}

// The density (k / lambda) r^(k-1) e^-t = (k / x) t e^-t, t = (x / lambda)^k
// (t as accurate as the tails take it, no power of the rounded r): as that
// product where its factors stay inside the range, else from its
// logarithm (k / x may overflow where e^-t is all but 0, t underflow where
// k / x is huge, k / x be a denormal).
long double WeibullDensity(const Parameters& p, long double x) {
  const long double k = P0(p), t = Exponent(p, x), scale = k / x;
  if (std::isinf(t)) return 0;
  const long double direct = scale * t * std::exp(-t);
  if (scale >= LDBL_MIN && std::isfinite(scale) && direct >= LDBL_MIN && std::isfinite(direct))
    return direct;
  // ln k - ln x + ln t - t in pairs: near -11000 one rounding is 1e-15.
  const ExtendedPair logX = LogPair(x);
  const ExtendedPair logT =
      t >= LDBL_MIN ? LogPair(t)
                    : ProductOfPairs({k, 0}, SumPair(logX, Negated(LogPair(P1(p)))));
  const ExtendedPair exponent = SumPair(SumPair(LogPair(k), Negated(logX)), SumPair(logT, {-t, 0}));
  return ExpOf(exponent);
}

// (ln Gamma(1 + 2e) - 2 ln Gamma(1 + e)) / e^2, for e at most
// 1/kWeibullSeriesFrom.
long double GammaRatioLogOverSquare(long double e) {
  long double sum = 0, power = 1;
  for (int n = 2; n < kWeibullSeriesTerms; ++n, power *= e) {
    const long double term = boost::math::zeta(static_cast<long double>(n), BoostPolicy()) *
                             (std::ldexp(1.0L, n) - 2) / n * power;
    sum += n % 2 == 0 ? term : -term;
  }
  return sum;
}

long double GammaRatioLog(long double e) {
  return GammaRatioLogOverSquare(e) * e * e;
}

// lambda t^(1/k), the x at which (x / lambda)^k = t: directly where the power
// stays inside the range, else as the exponential of ln lambda + (ln t) / k in
// pairs (a shape of 1e-300 raises t to the power 1e300); below the range a
// note.
long double WeibullQuantile(const Parameters& p, long double t) {
  const long double k = P0(p), lambda = P1(p), power = std::pow(t, 1 / k);
  if (power >= LDBL_MIN && std::isfinite(power)) return PositiveQuantile(lambda * power);
  const ExtendedPair logT = LogPair(t);
  if (!std::isfinite(logT.hi / k)) return PositiveQuantile(logT.hi < 0 ? 0 : HUGE_VALL);
  return PositiveQuantile(ExpOf(SumPair(LogPair(lambda), QuotientOfPairs(logT, {k, 0}))));
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
    // (lambda e)^2 g1^2 (D / e^2) expm1(D) / D: neither lambda^2 nor e^2
    // alone, which overflow or underflow for shapes and scales far out.
    const long double g1 = boost::math::tgamma1pm1(e, BoostPolicy()) + 1;
    const long double d = GammaRatioLog(e), growth = d == 0 ? 1 : std::expm1(d) / d;
    const long double spread = lambda * e * g1;
    return Positive(spread * spread * (GammaRatioLogOverSquare(e) * growth));
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
    return Positive(WeibullDensity(p, x));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(0) : Positive(-std::expm1(-Exponent(p, x)));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(1) : Positive(std::exp(-Exponent(p, x)));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return WeibullQuantile(p, -std::log1p(-q));
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return WeibullQuantile(p, -std::log(q));
  }
};

constinit const Weibull kWeibull{};

}  // namespace

const Model& WeibullModel() {
  return kWeibull;
}

}  // namespace models
