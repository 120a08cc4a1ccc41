// The Poisson distribution of mean lambda > 0.
//
// P(X <= k) = Q(k + 1, lambda) and P(X > k) = P(k + 1, lambda), each tail
// taken directly through Incomplete.h, and the point probability
// e^(-lambda) lambda^k / k! is the gamma density there, Loader's term
// (Stirling.h).  Where the standard deviation sqrt(lambda) is at most
// kShortSumSpread, the point and both strict tails of a forward report come
// from one short sum of those terms (TermSums.h), with the ratio
// P(X = j + 1) / P(X = j) = lambda / (j + 1).  Mean and variance
// lambda.
//
// From a = k + 1 = kUniformFrom (2^26) on, where Boost's tails take a
// millisecond and more (and give up past 10^10), the smaller tail comes from
// Temme's uniform expansion in a (UniformTail), and the quantile is searched
// on it; below, on Boost's P(X <= k).
#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/poisson.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/log1p.hpp>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/Models.h"
#include "models/Stirling.h"
#include "models/TermSums.h"

namespace models {

namespace {

using PoissonDistribution = boost::math::poisson_distribution<long double, BoostPolicy>;

constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
// From this shape a = k + 1 on the tails are UniformTail's: its first term
// left out, C2(eta) / a^2 (C2(0) = 0.0041), is below 1e-18 of them.
constexpr long double kUniformFrom = 0x1p26L;
// Below this |eta|, C0 and C1 from their Taylor series (ten digits lost to
// the closed forms at 10^-5); from it on, the closed forms (three or four
// lost in C1, which a divides).
constexpr long double kTemmeSeriesSwitch = 0.5L;
// Below this y, erfc(y) e^(y^2) from erfc; from it on, Laplace's continued
// fraction, evaluated backward from 8 + 800 / t^2 terms (t = y sqrt 2).
constexpr long double kScaledErfcSwitch = 4;

// Temme's C0(eta) and C1(eta) near 0, by powers of eta: -1/3 + eta/12 -
// 2 eta^2/135 + ..., -1/540 - eta/288 + ...
constexpr long double kTemmeC0[] = {
    -0.333333333333333333333L,     0.0833333333333333333333L,     -0.0148148148148148148148L,
    0.00115740740740740740741L,    0.000352733686067019400353L,   -0.0001787551440329218107L,
    0.39192631785224377817e-4L,    -0.218544851067999216147e-5L,  -0.18540622107151599607e-5L,
    0.829671134095308600502e-6L,   -0.176659527368260793044e-6L,  0.670785354340149858037e-8L,
    0.102618097842403080426e-7L,   -0.438203601845335318655e-8L,  0.914769958223679023418e-9L,
    -0.255141939949462497669e-10L, -0.583077213255042506746e-10L, 0.243619480206674162437e-10L,
    -0.502766928011417558909e-11L};
constexpr long double kTemmeC1[] = {
    -0.00185185185185185185185L,  -0.00347222222222222222222L,   0.00264550264550264550265L,
    -0.000990226337448559670782L, 0.000205761316872427983539L,   -0.40187757201646090535e-6L,
    -0.18098550334489977837e-4L,  0.764916091608111008464e-5L,   -0.161209008945634460038e-5L,
    0.464712780280743434226e-8L,  0.137863344691572095931e-6L,   -0.575254560351770496402e-7L,
    0.119516285997781473243e-7L,  -0.175432417197476476238e-10L, -0.100915437106004126275e-8L,
    0.416279299184258263623e-9L,  -0.856390702649298063807e-10L};

template <std::size_t N>
long double Polynomial(const long double (&c)[N], long double z) {
  long double sum = c[N - 1];
  for (std::size_t i = N - 1; i-- > 0;) sum = sum * z + c[i];
  return sum;
}

// erfc(y) e^(y^2) for y >= 0.  From kScaledErfcSwitch on, as
// sqrt(2/pi) times the Mills ratio at t = y sqrt 2, by Laplace's fraction
// 1/(t + 1/(t + 2/(t + 3/(t + ...)))).
long double ScaledErfc(long double y) {
  if (y < kScaledErfcSwitch) return boost::math::erfc(y, BoostPolicy()) * std::exp(y * y);
  const long double t = y * boost::math::constants::root_two<long double>();
  long double r = 0;
  for (int k = 8 + static_cast<int>(800 / (t * t)); k > 0; --k) r = k / (t + r);
  return boost::math::constants::root_two<long double>() /
         boost::math::constants::root_pi<long double>() / (t + r);
}

// The smaller tail of the gamma distribution of a large shape a at x,
// Q(a, x) for x >= a and P(a, x) below, by Temme's uniform expansion:
//   tail = e^(-a phi) / sqrt(2 pi a) [sqrt(pi a / 2) erfcx(|eta| sqrt(a / 2))
//                                     + s (C0(eta) + C1(eta) / a)],
// with u = x/a - 1, phi = u - ln(1 + u), eta = s sqrt(2 phi), s the sign of
// u, C0 = 1/u - 1/eta and C1 = 1/eta^3 - 1/u^3 - 1/u^2 - 1/(12 u).  Its
// prefix is x^a e^(-x) / Gamma(a + 1) times e^(StirlingError(a)), Loader's
// term (Stirling.h), accurate down to the bottom of the range; the bracket
// is smooth in its arguments, with no difference of nearly equal terms.
long double UniformTail(long double a, long double x) {
  const long double u = (x - a) / a;
  const long double eta = std::copysign(std::sqrt(-2 * boost::math::log1pmx(u, BoostPolicy())), u);
  long double c0, c1;
  if (std::fabs(eta) < kTemmeSeriesSwitch) {
    c0 = Polynomial(kTemmeC0, eta);
    c1 = Polynomial(kTemmeC1, eta);
  } else {
    c0 = 1 / u - 1 / eta;
    c1 = 1 / (eta * eta * eta) - 1 / (u * u * u) - 1 / (u * u) - 1 / (12 * u);
  }
  const long double halfPi = boost::math::constants::half_pi<long double>();
  const long double correction = eta < 0 ? -(c0 + c1 / a) : c0 + c1 / a;
  const long double bracket =
      std::sqrt(halfPi * a) * ScaledErfc(std::fabs(eta) * std::sqrt(a / 2)) + correction;
  return PoissonTerm(a, x) * std::exp(StirlingError(a)) * bracket;
}

// P(X > k) when above, else P(X <= k).
long double Tail(long double lambda, long double k, bool above) {
  const long double a = k + 1;
  if (a < kUniformFrom) return GammaTail(a, lambda, !above);
  // The smaller tail: Q(a, lambda) = P(X <= k) from lambda = a on, else
  // P(a, lambda) = P(X > k); the other is one minus it, at least about 1/2.
  const long double smaller = UniformTail(a, lambda);
  return above == (lambda < a) ? smaller : 1 - smaller;
}

// The terms of the distribution, for the short sums.
class Terms {
 public:
  explicit Terms(const Parameters& p) : lambda_(P0(p)) {}

  long double Point(long double j) const { return PoissonTerm(j, lambda_); }
  long double Up(long double j) const { return lambda_ / (j + 1); }
  long double Down(long double j) const { return j / lambda_; }
  long double Lowest() const { return 0; }
  long double Highest() const { return kInfinity; }
  long double Mode() const { return std::floor(lambda_); }

 private:
  long double lambda_;
};

class Poisson final : public DiscreteModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"lambda"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }

  std::string Problem(const Parameters& p) const override {
    if (!(std::isfinite(P0(p)) && P0(p) > 0)) return "lambda must be a positive finite number";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, kInfinity};
  }
  Value Mean(const Parameters& p) const override { return Value::Of(P0(p)); }
  Value Variance(const Parameters& p) const override { return Value::Of(P0(p)); }
  long double RoughMedian(const Parameters& p) const override { return P0(p); }  // the mean

 protected:
  std::optional<long double> PointMass(const Parameters&) const override { return std::nullopt; }
  long double PointInside(const Parameters& p, long double k) const override {
    return GammaDensity(k + 1, P0(p));  // lambda^k e^-lambda / k!
  }
  long double AtMostInside(const Parameters& p, long double k) const override {
    return Tail(P0(p), k, false);
  }
  long double AboveInside(const Parameters& p, long double k) const override {
    return Tail(P0(p), k, true);
  }

  Shape QuantileShape(const Parameters& p) const override {
    return {P0(p), std::sqrt(P0(p)), 1 / std::sqrt(P0(p))};
  }
  std::string QuantileProblem(const Parameters&) const override { return ""; }
  bool WalksQuantile(const Parameters&) const override { return false; }
  long double SearchedTail(const Parameters& p, long double k, bool above) const override {
    if (k + 1 >= kUniformFrom) return Tail(P0(p), k, above);
    const PoissonDistribution poisson(P0(p));
    return above ? cdf(complement(poisson, k)) : cdf(poisson, k);
  }
  // e^-lambda times a rational is irrational (Lindemann): never equal to q.
  std::optional<int> CompareAtMost(const Parameters&, long double, ExactRatio&,
                                   const Ratio&) const override {
    return std::nullopt;
  }

  std::optional<DiscreteSplit> SplitAt(const Parameters& p, long double x) const override {
    if (!(P0(p) <= kShortSumSpread * kShortSumSpread)) return std::nullopt;
    return SplitAround(Terms(p), x);
  }
};

constinit const Poisson kPoisson{};

}  // namespace

const Model& PoissonModel() {
  return kPoisson;
}

}  // namespace models
