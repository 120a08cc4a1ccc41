// The gamma distribution of shape k > 0 and scale theta > 0: with
// z = x / theta, P(X < x) = P(k, z) and P(X > x) = Q(k, z), each tail taken
// directly through Incomplete.h (Boost's incomplete gamma function, with the
// engine's prefix for large shapes, the uniform expansion for huge ones and
// the first order in the shape for tiny ones), and the density the gamma
// density of Incomplete.h over theta; where z is below the range (an x of
// 1e-4900 on a scale of 1e300), P(k, z) is z^k / Gamma(k + 1) from the
// logarithms, still near 1 for a tiny shape.  At x = 0 the density is infinite for k < 1,
// 1/theta for k = 1 and 0 above.  The quantiles are searched on these tails
// (BracketedQuantile, QuantileRefinement.h) from the Wilson-Hilferty cube
// (k >= 1) or the lower tail's first term z^k / Gamma(k + 1) (below, and far
// below the mean): Boost's own quantile calls its incomplete gamma
// function, which from shapes of 10^10 on gives up.  Mean k theta,
// variance k theta^2; from k = kNearNormalDf / 2 on, as chi-square with
// kNearNormalDf degrees of freedom, near the normal distribution.
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/LocationScale.h"
#include "models/Models.h"
#include "models/QuantileRefinement.h"

namespace models {

namespace {

// The Wilson-Hilferty cube 1 - 1/(9k) + z/(3 sqrt(k)) serves as a guess
// from this size on (below, the guess is the first term of the lower tail).
constexpr long double kSmallestCube = 0.1L;

// ln(z^k / Gamma(k + 1)) for z = x / theta below the range of normal
// extended reals, from ln x - ln theta: there P(k, z) is z^k / Gamma(k + 1)
// to 1 + O(z), which for a shape below 1e-16 is still near 1 (z^k for
// z = 1e-5200 and k = 1e-20 is 1 - 1.2e-16).
long double LogFirstTerm(long double k, long double x, long double theta) {
  // ln Gamma(1 + k): Boost's keeps its relative accuracy for small k, the
  // library's does not throw where it overflows.
  const long double logGamma =
      k < 1 ? std::log1p(boost::math::tgamma1pm1(k, BoostPolicy())) : std::lgamma(k + 1);
  return k * (std::log(x) - std::log(theta)) - logGamma;
}

// Q(k, z) when upper, else P(k, z), at z = x / theta; z beyond the extended
// range is the end.
long double Tail(const Parameters& p, long double x, bool upper) {
  const long double z = x / P1(p);
  if (std::isinf(z)) return upper ? 0 : 1;
  if (z < LDBL_MIN && x > 0) {
    const long double logLower = LogFirstTerm(P0(p), x, P1(p));
    return upper ? -std::expm1(logLower) : std::exp(logLower);
  }
  return GammaTail(P0(p), z, upper);
}

// The density, (k / x) z^k e^-z / Gamma(k + 1) where the shape is tiny (k /
// theta alone may be below the range) or z is.
long double GammaDensityAt(const Parameters& p, long double x) {
  const long double k = P0(p), z = x / P1(p);
  if (std::isinf(z)) return 0;
  if (z < LDBL_MIN && x > 0) return k / x * std::exp(LogFirstTerm(k, x, P1(p)));
  if (k < kTinyShape) return k / x * std::exp(k * std::log(z) - z);
  return GammaDensity(k, z) / P1(p);
}

// A first guess at the quantile of the tail q, for the standard gamma.
long double Guess(long double k, long double q, bool upper) {
  const long double z = boost::math::erfc_inv(2 * q, BoostPolicy()) * std::sqrt(2.0L);
  const long double cube = 1 - 1 / (9 * k) + (upper ? z : -z) / (3 * std::sqrt(k));
  if (k >= 1 && cube > kSmallestCube) return k * cube * cube * cube;
  const long double logLower = upper ? std::log1p(-q) : std::log(q);
  return std::exp((logLower + std::lgamma(k + 1)) / k);
}

// The x with P(X > x) = q when upper, else P(X < x) = q, from the tail
// that is the smaller there (1 - q is exact for q above 1/2; ln q near 1
// would leave x to the rounding of the larger tail).
long double GammaQuantile(const Parameters& p, long double q, bool upper) {
  if (q > 0.5L) q = 1 - q, upper = !upper;
  const auto tail = [&](long double x) { return Tail(p, x, upper); };
  // The answer lies beyond the end of the range where the tail there is
  // already past q.
  if (upper ? tail(LDBL_MIN) <= q : tail(LDBL_MIN) >= q) return PositiveQuantile(0);
  if (upper ? tail(LDBL_MAX) >= q : tail(LDBL_MAX) <= q) return HUGE_VALL;
  return BracketedQuantile(P1(p) * Guess(P0(p), q, upper), q, upper, LDBL_MIN, LDBL_MAX, tail,
                           [&](long double x) { return GammaDensityAt(p, x); });
}

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
    return Positive(GammaDensityAt(p, x));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(0) : Positive(Tail(p, x, false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(1) : Positive(Tail(p, x, true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return GammaQuantile(p, q, false);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return GammaQuantile(p, q, true);
  }
};

constinit const Gamma kGamma{};

}  // namespace

const Model& GammaModel() {
  return kGamma;
}

}  // namespace models
