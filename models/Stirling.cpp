// Stirling's error term and the deviance term, each accurate to a few units
// of the last place in absolute terms for the sizes where they are used.
#include "models/Stirling.h"

#include <array>
#include <boost/math/constants/constants.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/log1p.hpp>
#include <cmath>

#include "models/BoostPolicy.h"
#include "models/Engine.h"

namespace models {

namespace {

// Up to m = 15 the error comes from ln Gamma (ln 16! is 30: the subtraction
// loses only a few units of 1e-19); above it the series, whose first omitted
// term at m = 16 is below 1e-21.
constexpr long double kStirlingSwitch = 15;
// |x - M| below this fraction of x + M: the series in v = (x - M)/(x + M).
constexpr long double kDevianceSeriesSwitch = 0.1L;
constexpr int kDevianceMaxTerms = 1000;
// Up to this |u|, g(u) = ln(1 + u) - u comes from Boost's log1pmx; beyond it
// from the logarithm of 1 + u formed by the caller.
constexpr long double kLog1pmxSwitch = 0.5L;

long double LogOnePlusMinus(long double u, long double onePlusU) {
  if (std::fabs(u) <= kLog1pmxSwitch) return boost::math::log1pmx(u, BoostPolicy());
  return std::log(onePlusU) - u;
}

}  // namespace

namespace {

long double StirlingErrorByLogGamma(long double m) {
  const long double lnRootTwoPi = std::log(boost::math::constants::root_two_pi<long double>());
  return boost::math::lgamma(m + 1, BoostPolicy()) - (m + 0.5L) * std::log(m) + m - lnRootTwoPi;
}

// The error at m = 1/2, 1, 3/2, ..., kStirlingSwitch, where the counts and
// the halved degrees of freedom of nearly every report fall: the same
// values, computed once (ln Gamma costs more than the rest of a term).
constexpr int kTabledHalves = 2 * static_cast<int>(kStirlingSwitch);

const std::array<long double, kTabledHalves + 1>& StirlingErrorsAtHalves() {
  static const auto table = [] {
    std::array<long double, kTabledHalves + 1> t{};
    for (int i = 1; i <= kTabledHalves; ++i) t[i] = StirlingErrorByLogGamma(i / 2.0L);
    return t;
  }();
  return table;
}

}  // namespace

long double StirlingError(long double m) {
  if (m <= kStirlingSwitch) {
    const long double twice = 2 * m;
    if (twice >= 1 && IsWhole(twice))
      return StirlingErrorsAtHalves()[static_cast<size_t>(static_cast<double>(twice))];
    return StirlingErrorByLogGamma(m);
  }
  // 1/(12m) - 1/(360m^3) + 1/(1260m^5) - 1/(1680m^7) + 1/(1188m^9)
  //   - 691/(360360m^11) + 1/(156m^13) - 3617/(122400m^15): B_2j / (2j (2j - 1) m^(2j-1)).
  const long double w = 1 / (m * m);
  long double s = -3617.0L / 122400;
  s = s * w + 1.0L / 156;
  s = s * w - 691.0L / 360360;
  s = s * w + 1.0L / 1188;
  s = s * w - 1.0L / 1680;
  s = s * w + 1.0L / 1260;
  s = s * w - 1.0L / 360;
  s = s * w + 1.0L / 12;
  return s / m;
}

long double Deviance(long double x, long double M) {
  if (x == 0) return M;
  const long double diff = x - M;
  if (std::fabs(diff) < kDevianceSeriesSwitch * (x + M)) {
    // x ln(x/M) + M - x = (x - M) v + 2x (v^3/3 + v^5/5 + ...), v = (x - M)/(x + M).
    const long double v = diff / (x + M);
    long double sum = diff * v;
    long double term = 2 * x * v;
    const long double v2 = v * v;
    for (int j = 1; j < kDevianceMaxTerms; ++j) {
      term *= v2;
      const long double next = sum + term / (2 * j + 1);
      if (next == sum) break;
      sum = next;
    }
    return sum;
  }
  return x * std::log(x / M) + M - x;
}

namespace {

// From this deviance on the beta term takes it as a pair: its rounding in
// extended precision, a few units of 1e-19 times the deviance, would reach
// 1e-15 near the bottom of the range (e^-11000 for a binomial tail with n in
// the hundreds of millions, where delta itself is 10^5 and more).
constexpr long double kPairDevianceFrom = 64;

// ln v as a pair: the rounded logarithm l and one Newton step on it,
// (v - e^l) / e^l, whose difference is exact (e^l lies within a few units
// of v): good to the rounding of e^l, some 1e-19 absolute, where l alone
// has half a unit of its own last place (9e-19 at l = -20, which a
// deviance multiplies by its parameter).
ExtendedPair LogPair(long double v) {
  const long double l = std::log(v), e = std::exp(l);
  return TwoSum(l, (v - e) / e);
}

// -c g(u) = c (u - ln(1 + u)) for u = delta / c (delta of either sign), as
// a pair.  For |u| <= 1/2, (delta^2 / c) h(u) with
//   h(u) = (u - ln(1 + u)) / u^2 = 1/2 - u/3 + u^2/4 - ...,
// delta^2 / c in pairs and the part of h beyond its 1/2 in extended
// precision (at most 0.12 of h, 0.04 for |u| <= 0.1).  Beyond, delta in
// pairs less c ln(1 + u) from the caller's 1 + u, the logarithm as a pair
// (LogPair): exact but for the rounding of 1 + u, which is all of the term
// for u near -1, and little of it for large u (the t tail far out: c = 1/2
// and u = t^2 - 1).
ExtendedPair PairDeviance(const ExtendedPair& delta, long double c, long double u,
                          long double onePlusU) {
  if (std::fabs(u) > kLog1pmxSwitch) {
    const ExtendedPair product = ProductOfPairs({c, 0}, LogPair(onePlusU));
    return SumPair(delta, {-product.hi, -product.lo});
  }
  long double rest = 0, power = 1;
  for (int j = 1; j < kDevianceMaxTerms; ++j) {
    power *= -u;
    const long double next = rest + power / (j + 2);
    if (next == rest) break;
    rest = next;
  }
  const ExtendedPair q = QuotientOfPairs(ProductOfPairs(delta, delta), {c, 0});
  return SumPair({q.hi / 2, q.lo / 2}, ProductOfPairs(q, {rest, 0}));
}

// The deviance D(k, M) = k (u - ln(1 + u)), u = (M - k) / k, as a pair,
// from M - k exactly (as exact as M itself).
ExtendedPair DevianceAsPair(long double k, long double M) {
  const ExtendedPair gap = TwoSum(M, -k);
  return PairDeviance(gap, k, gap.hi / k, M / k);
}

}  // namespace

long double PoissonTerm(long double k, long double lambda) {
  if (k == 0) return std::exp(-lambda);
  const long double root = std::sqrt(boost::math::constants::two_pi<long double>() * k);
  const long double deviance = Deviance(k, lambda);
  if (!(deviance >= kPairDevianceFrom)) return std::exp(-StirlingError(k) - deviance) / root;
  const ExtendedPair exact = DevianceAsPair(k, lambda);
  const ExtendedPair exponent = SumPair({-StirlingError(k), 0}, {-exact.hi, -exact.lo});
  return std::exp(exponent.hi) * (1 + exponent.lo) / root;
}

long double BetaSaddleTerm(long double a, long double b, long double x, long double y,
                           const ExtendedPair& delta) {
  const long double m = a + b;
  const long double ua = -delta.hi / a, ub = delta.hi / b;
  const long double deviance =
      -a * LogOnePlusMinus(ua, m * x / a) - b * LogOnePlusMinus(ub, m * y / b);
  const long double twoPi = boost::math::constants::two_pi<long double>();
  const long double stirling = StirlingError(m) - StirlingError(a) - StirlingError(b);
  const long double root = std::sqrt(m / (twoPi * a * b));
  if (!(deviance >= kPairDevianceFrom)) return std::exp(stirling - deviance) * root;
  const ExtendedPair exact = SumPair(PairDeviance({-delta.hi, -delta.lo}, a, ua, m * x / a),
                                     PairDeviance(delta, b, ub, m * y / b));
  const ExtendedPair exponent = SumPair({stirling, 0}, {-exact.hi, -exact.lo});
  return std::exp(exponent.hi) * (1 + exponent.lo) * root;
}

long double BetaSaddleTerm(long double a, long double b, long double x, long double y,
                           long double delta) {
  return BetaSaddleTerm(a, b, x, y, ExtendedPair{delta, 0});
}

long double BinomialTerm(long double x, long double m, long double p, long double q) {
  if (m == 0) return 1;
  // q^m = exp(m ln q) = exp(-D(m, mq) - mp), and p^m likewise.
  if (x == 0) return std::exp(-Deviance(m, m * q) - m * p);
  if (x == m) return std::exp(-Deviance(m, m * p) - m * q);
  const long double stirling = StirlingError(m) - StirlingError(x) - StirlingError(m - x);
  const long double root =
      std::sqrt(m / (boost::math::constants::two_pi<long double>() * x * (m - x)));
  const long double mp = m * p, mq = m * q;
  const long double deviance = Deviance(x, mp) + Deviance(m - x, mq);
  if (!(deviance >= kPairDevianceFrom)) return std::exp(stirling - deviance) * root;
  const ExtendedPair exact = SumPair(DevianceAsPair(x, mp), DevianceAsPair(m - x, mq));
  const ExtendedPair exponent = SumPair({stirling, 0}, {-exact.hi, -exact.lo});
  return std::exp(exponent.hi) * (1 + exponent.lo) * root;
}

}  // namespace models
