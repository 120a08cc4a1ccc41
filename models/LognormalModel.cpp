// The lognormal distribution: X = e^Y with Y normal of mean mu and standard
// deviation sigma > 0.
//
// Its tails at x > 0 are the normal tails of Y at ln x, erfc(-+u) / 2 with
// u = (ln x - mu) / (sigma sqrt(2)) formed as an unevaluated pair
// (ExtendedPair.h, NormalTail.h): far out, at 1e-3000, one rounding of ln x
// or of sigma^2 would cost 1e-15 of the tail.  The density
// e^(-u^2) / (sigma x sqrt(2 pi)) is taken with u^2, ln sigma and ln x as
// pairs, so that neither a tiny sigma nor an x near the ends of the range
// overflows it.  The quantiles are e^(mu + sigma z), z the normal score of
// the tail, mu + sigma z as a pair; below the range a note.  Mean
// e^(mu + sigma^2 / 2), variance (e^(sigma^2) - 1) e^(2 mu + sigma^2), with
// expm1 for small sigma (from logarithms where the two factors leave the
// range in opposite directions).
#include <boost/math/constants/constants.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/ExtendedPair.h"
#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"
#include "models/NormalTail.h"

namespace models {

namespace {

// sqrt(2) as a pair.
ExtendedPair RootTwo() {
  const long double r = boost::math::constants::root_two<long double>();
  const ExtendedPair square = TwoProduct(r, r);
  return {r, ((2 - square.hi) - square.lo) / (2 * r)};
}

// u = (ln x - mu) / (sigma sqrt(2)) as a pair, for x > 0.
ExtendedPair Standard(const Parameters& p, long double x) {
  const ExtendedPair diff = SumPair(LogPair(x), {-P0(p), 0});
  const ExtendedPair scale = ProductOfPairs({P1(p), 0}, RootTwo());
  if (!(std::isfinite(scale.hi) && scale.hi >= LDBL_MIN))
    return {diff.hi / P1(p) / RootTwo().hi, 0};
  return QuotientOfPairs(diff, scale);
}

// Beyond this |u| the density is 0 however small sigma x is: e^(-u^2) is
// e^-40000, sigma x at least e^-22800.
constexpr long double kDensityFarEnd = 200;

// e^(-u^2) / (sigma x sqrt(2 pi)), every factor in the exponent.
long double LognormalDensity(const Parameters& p, long double x) {
  const ExtendedPair u = Standard(p, x);
  if (!(std::fabs(u.hi) < kDensityFarEnd)) return 0;
  const ExtendedPair square = ProductOfPairs(u, u);
  const ExtendedPair logs = SumPair(LogPair(P1(p)), LogPair(x));
  const ExtendedPair exponent = Negated(SumPair(square, logs));
  const long double rootTwoPi = boost::math::constants::root_two_pi<long double>();
  return ExpOf(exponent) / rootTwoPi;
}

// e^(mu + sigma z), z the normal score with P(Z > z) = q when upper, else
// with P(Z < z) = q.
long double LognormalQuantile(const Parameters& p, long double q, bool upper) {
  const long double z = boost::math::erfc_inv(2 * q, BoostPolicy()) * std::sqrt(2.0L);
  const ExtendedPair exponent = SumPair(ProductPair(P1(p), upper ? z : -z), {P0(p), 0});
  return PositiveQuantile(ExpOf(exponent));
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
    const long double direct = std::expm1(s2) * std::exp(2 * P0(p) + s2);
    if (std::isfinite(direct) && direct >= LDBL_MIN) return Value::Of(direct);
    // ln(e^(s2) - 1) is 2 ln sigma where s2 is below the range.
    const long double logGrowth = s2 >= LDBL_MIN ? std::log(std::expm1(s2)) : 2 * std::log(P1(p));
    return Positive(std::exp(logGrowth + 2 * P0(p) + s2));
  }
  long double RoughMedian(const Parameters& p) const override { return std::exp(P0(p)); }

  // e^(mu -+ w), w = sigma sqrt(2) erf^-1(q), from q itself: (1 - q) / 2
  // rounds to 1/2 for a tiny q, whose interval is still wide where sigma is
  // large.
  Interval CentralInterval(const Parameters& p, long double q) const override {
    const auto end = [&](bool high) {
      return Guarded(Distribution{this, p}, [&]() -> Value {
        if (!(q > 0 && q < 1)) return Value::None(kProbabilityRange);
        const long double z = boost::math::erf_inv(q, BoostPolicy()) * std::sqrt(2.0L);
        return Finite(PositiveQuantile(
            ExpOf(SumPair(ProductPair(P1(p), high ? z : -z), {P0(p), 0}))));
      });
    };
    return {end(false), end(true)};
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x <= 0) return Value::Of(0);
    return Positive(LognormalDensity(p, x));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (x <= 0) return Value::Of(0);
    return Positive(HalfErfc(Negated(Standard(p, x))));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (x <= 0) return Value::Of(1);
    return Positive(HalfErfc(Standard(p, x)));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return LognormalQuantile(p, q, false);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return LognormalQuantile(p, q, true);
  }
};

constinit const Lognormal kLognormal{};

}  // namespace

const Model& LognormalModel() {
  return kLognormal;
}

}  // namespace models
