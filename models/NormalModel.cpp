// The normal distribution with mean m and variance v > 0: density, tails
// and quantiles, symmetric about m.
//
// The tails are computed here.  With u = (x - m) / sqrt(2 v),
// P(X > x) = erfc(u) / 2, and 150 deviations out the relative error of the
// tail is 2 u^2 times the relative error of u: one rounding of u would cost
// 2e-15.  So u is formed as an unevaluated pair hi + lo (ExtendedPair.h),
// Boost's erfc is taken at hi (which it evaluates with exp(-hi^2) split the
// same way), and the first-order term of lo is added:
//   erfc(hi + lo) = erfc(hi) (1 - lo G(hi)),  G(u) = (2/sqrt(pi)) e^(-u^2) / erfc(u),
// where far out, with Laplace's continued fraction for the Mills ratio,
//   G(u) = 2u / (1 - 1/(2u^2) + 3/(4u^4) - 15/(8u^6) + ...).
// The quantiles are Boost's; the central interval of probability p is
// m -+ w with erf(w / sqrt(2 v)) = p, from p itself.
#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/ExtendedPair.h"
#include "models/Families.h"
#include "models/Models.h"

namespace models {

namespace {

using NormalDistribution = boost::math::normal_distribution<long double, BoostPolicy>;

// Beyond |u| = 110 the normal tail erfc(u)/2 is below 1e-5250 and the density
// below 1e-5250 too: in extended precision they are 0.
constexpr long double kNormalFarEnd = 110;
// From |u| = 5 on, G(u) comes from the continued fraction; its first omitted
// term is below 1e-6 of the correction, which is itself below 1e-15.
constexpr long double kMillsSwitch = 5;
const long double kRootPi = boost::math::constants::root_pi<long double>();
const long double kTwoOverRootPi = 2 / kRootPi;

// sqrt(v) as hi + lo (v positive and normal).
ExtendedPair SqrtPair(long double v) {
  const long double s = std::sqrt(v);
  const ExtendedPair square = TwoProduct(s, s);
  const long double residual = (v - square.hi) - square.lo;  // v - s^2, exact but for lo
  return {s, residual / (2 * s)};
}

// u = (x - mean) / sqrt(2 variance) as hi + lo, and sqrt(2 variance);
// far when |u| exceeds kNormalFarEnd (then only hi's sign means anything).
struct NormalArgument {
  ExtendedPair u;
  long double scale;
  bool far;
};

// Kept out of line: inlined into the density, it lets the compiler start
// exp(-hi^2) before lo is formed and keep the extended reals of the pair on
// the stack across that call, a sixth of the density's time.
[[gnu::noinline]] NormalArgument Standardize(const Parameters& p, long double x) {
  // sqrt(2v) = 2 sqrt(v/2): the halving is exact and cannot overflow.
  const ExtendedPair half = SqrtPair(P1(p) / 2);
  const ExtendedPair scale{2 * half.hi, 2 * half.lo};
  const ExtendedPair diff = TwoSum(x, -P0(p));
  const long double q1 = diff.hi / scale.hi;
  if (!(std::fabs(q1) <= kNormalFarEnd)) return {{q1, 0}, scale.hi, true};
  // diff - q1 * scale, whose leading difference is exact (Sterbenz).
  const ExtendedPair product = TwoProduct(q1, scale.hi);
  const long double remainder = (((diff.hi - product.hi) - product.lo) + diff.lo) - q1 * scale.lo;
  return {{q1, remainder / scale.hi}, scale.hi, false};
}

// G(u) = (2/sqrt(pi)) e^(-u^2) / erfc(u), the logarithmic slope of erfc,
// given erfc(u).
long double ErfcSlope(long double u, long double erfcOfU) {
  if (u < kMillsSwitch) return kTwoOverRootPi * std::exp(-u * u) / erfcOfU;
  const long double w = 1 / (2 * u * u);  // 1/(2u^2)
  const long double series = 1 - w * (1 - 3 * w * (1 - 5 * w));
  return 2 * u / series;
}

// erfc(hi + lo) / 2.
long double HalfErfc(const ExtendedPair& u) {
  const long double e = boost::math::erfc(u.hi, BoostPolicy());
  return e / 2 * (1 - u.lo * ErfcSlope(u.hi, e));
}

NormalDistribution NormalOf(const Parameters& p) {
  return NormalDistribution(P0(p), std::sqrt(P1(p)));
}

class Normal final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"mean", true}, {"variance"}};
    return kNames;
  }
  bool Symmetric() const override { return true; }
  bool NearNormal(const Parameters&) const override { return true; }

  std::string Problem(const Parameters& p) const override {
    if (!std::isfinite(P0(p))) return "the mean must be a finite number";
    if (!(std::isfinite(P1(p)) && P1(p) > 0))
      return "the variance must be a positive finite number";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    const long double inf = std::numeric_limits<long double>::infinity();
    return {-inf, inf};
  }
  Value Mean(const Parameters& p) const override { return Value::Of(P0(p)); }
  Value Variance(const Parameters& p) const override { return Value::Of(P1(p)); }
  long double RoughMedian(const Parameters& p) const override { return P0(p); }  // the mean

  Interval CentralInterval(const Parameters& p, long double q) const override {
    // P(|X - mean| < w) = erf(w / sqrt(2v)) = q.
    return SymmetricInterval(*this, p, q, P0(p), [&] {
      const long double root2 = boost::math::constants::root_two<long double>();
      return std::sqrt(P1(p)) * root2 * boost::math::erf_inv(q, BoostPolicy());
    });
  }

 protected:
  // e^(-u^2) / (sqrt(pi) sqrt(2v)), with u^2 = hi^2 + (its rounding error + 2 hi lo).
  Value DensityAt(const Parameters& p, long double x) const override {
    const NormalArgument a = Standardize(p, x);
    if (a.far) return Positive(0);
    const ExtendedPair square = TwoProduct(a.u.hi, a.u.hi);
    const long double rest = square.lo + 2 * a.u.hi * a.u.lo;
    return Positive(std::exp(-square.hi) * std::exp(-rest) / (kRootPi * a.scale));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    const NormalArgument a = Standardize(p, x);
    if (a.far) return Positive(a.u.hi < 0 ? 0 : 1);
    return Positive(HalfErfc({-a.u.hi, -a.u.lo}));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    const NormalArgument a = Standardize(p, x);
    if (a.far) return Positive(a.u.hi > 0 ? 0 : 1);
    return Positive(HalfErfc(a.u));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return quantile(NormalOf(p), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return quantile(complement(NormalOf(p), q));
  }
};

constinit const Normal kNormal{};

}  // namespace

const Model& NormalModel() {
  return kNormal;
}

}  // namespace models
