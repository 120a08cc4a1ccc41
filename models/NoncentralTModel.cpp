// The noncentral t distribution with df > 0 degrees of freedom and
// noncentrality delta: (Z + delta) / sqrt(V / df) with Z standard normal and
// V chi-square of df degrees of freedom.
//
// The density, tails and quantiles are Boost's non_central_t, each tail in
// its own form (the upper one through complement(), never 1 - P), except on
// the side of 0 opposite to delta (x < 0 < delta or delta < 0 < x), where
// the density and the tail beyond x are integrals over the scale of the
// denominator (below) and the quantiles there are refined on that tail.  With
// delta = 0 the distribution is Student's t, whose model answers
// (TModel.cpp).  Mean delta sqrt(df/2) Gamma((df - 1)/2) / Gamma(df/2) for
// df > 1, the ratio of gamma functions taken as one (tgamma_delta_ratio);
// variance df (1 + delta^2) / (df - 2) - mean^2 for df > 2.
#include <algorithm>
#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"
#include "models/QuantileRefinement.h"
#include "models/Stirling.h"

namespace models {

namespace {

using NoncentralTDistribution = boost::math::non_central_t_distribution<long double, BoostPolicy>;
using StudentsT = boost::math::students_t_distribution<long double, BoostPolicy>;

NoncentralTDistribution Of(const Parameters& p) {
  return NoncentralTDistribution(P0(p), P1(p));
}

bool Central(const Parameters& p) {
  return P1(p) == 0;
}

// The mean, for df > 1.
long double MeanOf(const Parameters& p) {
  const long double df = P0(p);
  const long double ratio = boost::math::tgamma_delta_ratio((df - 1) / 2, 0.5L, BoostPolicy());
  return P1(p) * std::sqrt(df / 2) * ratio;
}

// ---- The side opposite to delta ----
//
// With S = sqrt(V / df), T < x is Z < x S - delta, so that
//   P(T < x) = E[Phi(x S - delta)],  f(x) = E[S phi(x S - delta)].
// For x < 0 < delta, with a = -x and b = delta, the tail is E[Phi-bar(a S + b)]
// and the density E[S phi(a S + b)] (x > 0 > delta is the mirror image, T
// against -T).  Both are integrals over u = ln s of e^L(u), where with
// m = df / 2 the density of S, times s, is
//   2 m^m e^(2 m u - m e^(2u)) / Gamma(m)
//     = e^(ln(2 sqrt(m / (2 pi))) - StirlingError(m) - m (e^(2u) - 1 - 2u)),
// no difference of large logarithms however large df.  Either L is concave
// (the tail: the normal hazard phi / Phi-bar grows with its argument; the
// density: L'' = -t (2 (a^2 + df) t + a b) with t = e^u), smooth, with the
// double-exponential fall of e^(-m e^(2u)) to the right and the fall of
// e^(df u) (the tail) or e^((df + 1) u) (the density) to the left.  The
// trapezoid rule over the whole line converges geometrically for such
// integrands; summed relative to the peak, the logarithm of the integral
// reaches values far below the extended range's smallest real before its
// last exponential.  Boost's non_central_t has none of this side's far tail:
// it reports 0 below about 1e-20 of P(T < 0) and the density at -x for the
// one at x.

constexpr long double kLnRootTwoPi = 0.918938533204672741780329736405617639861L;

// Terms below e^-kNegligible of the peak's end the sums (about 2e-22).
constexpr long double kNegligible = 50;
// The largest step in u: e^(2u) is analytic in the strip |Im u| < pi/4,
// across which the trapezoid rule's error falls as e^(-pi^2 / (2 step)),
// 4e-22 at 0.1.
constexpr long double kLargestStep = 0.1L;
// Terms on either side at most.
constexpr int kMostTerms = 4000;
// The plain sum's steps to the left at most, and the step in v of the
// stretched one.
constexpr long double kMostPlainTerms = 1000;
constexpr long double kStretchedStep = 0.1L;
// LogNearTail's peak: bisected this often within kPeakReach of its bounds,
// its curvature from second differences this far apart.
constexpr long double kPeakReach = 40;
constexpr int kPeakBisections = 80;
constexpr long double kCurvatureStep = 1e-3L;

// e^v - 1 - v, without the cancellation of its plain form for small |v|.
long double ExpRemainder(long double v) {
  if (std::fabs(v) > 0.5L) return std::expm1(v) - v;
  long double term = v * v / 2, sum = term;
  for (int k = 3; std::fabs(term) > 1e-21L * sum; ++k) {
    term *= v / k;
    sum += term;
  }
  return sum;
}

// The Mills ratio Phi-bar(y) / phi(y) for y >= 0: below 4 from erfc; from 4
// on by Laplace's continued fraction 1/(y + 1/(y + 2/(y + 3/(y + ...)))),
// evaluated backward from 8 + 800/y^2 terms, within 1e-20 there (and a few
// times cheaper than erfc).
long double MillsRatio(long double y) {
  if (y < 4) {
    const long double root2 = boost::math::constants::root_two<long double>();
    const long double rootHalfPi = boost::math::constants::root_half_pi<long double>();
    return boost::math::erfc(y / root2, BoostPolicy()) * rootHalfPi * std::exp(y * y / 2);
  }
  long double r = 0;
  for (int k = 8 + static_cast<int>(800 / (y * y)); k > 0; --k) r = k / (y + r);
  return 1 / (y + r);
}

// ln Phi-bar(y) for y >= 0.
long double LogUpperNormal(long double y) {
  return -y * y / 2 - kLnRootTwoPi + std::log(MillsRatio(y));
}

// ln of the chi density of S at e^u, times e^u, for m = df / 2: c - m (e^(2u) - 1 - 2u).
struct ScaleDensity {
  long double m, c;
  explicit ScaleDensity(long double df)
      : m(df / 2),
        c(std::log(2 * m / boost::math::constants::pi<long double>()) / 2 - StirlingError(m)) {}
  long double operator()(long double u) const { return c - m * ExpRemainder(2 * u); }
};

// ln of the integral over the real line of e^f(u), f unimodal with its peak
// near u0, about -(u - u0)^2 / (2 width^2) there, and falling as rate * u far
// to the left.  Where that fall would take more than kMostPlainTerms steps,
// the left side is stretched, u = u0 + width / 2 (v + 1 - e^-v), which
// turns it into a double-exponential fall in v and keeps the steps near the
// peak; the stretch's growth off the real axis then needs steps of
// kStretchedStep in v (at 0.5, the density at df 7, delta 14, x 20 was 3e-7
// off).
template <class F>
long double LogIntegral(F&& f, long double u0, long double width, long double rate) {
  const long double f0 = f(u0);
  long double sum = 0, step = std::min(width / 2, kLargestStep);
  if (kNegligible / (rate * step) <= kMostPlainTerms) {
    sum = 1;
    for (int dir : {1, -1})
      for (int k = 1; k < kMostTerms; ++k) {
        const long double e = f(u0 + dir * k * step) - f0;
        sum += std::exp(e);
        if (!(e > -kNegligible)) break;
      }
  } else {
    step = std::min(kStretchedStep, kLargestStep / width);
    for (int dir : {1, -1})
      for (int k = dir > 0 ? 0 : 1; k < kMostTerms; ++k) {
        const long double v = dir * k * step, stretch = std::exp(-v);
        const long double e = f(u0 + width / 2 * (v + 1 - stretch)) - f0;
        sum += std::exp(e) * (1 + stretch) / 2;
        if (k > 0 && !(e > -kNegligible)) break;
      }
    step *= width;
  }
  return f0 + std::log(step * sum);
}

// ln E[Phi-bar(a S + b)] for a, b > 0.
long double LogFarTail(long double df, long double a, long double b) {
  const ScaleDensity scale(df);
  const auto f = [&](long double u) { return LogUpperNormal(a * std::exp(u) + b) + scale(u); };
  // The peak: L'(u) = df (1 - t^2) - a t h(a t + b) = 0, h the hazard, from
  // its root with h(y) taken as y (h(y) > y: the peak lies below), by
  // Newton's steps kept inside the bracket.
  long double u = std::log(2 * df / (a * b + std::sqrt(a * a * b * b + 4 * df * (a * a + df))));
  long double low = u - 60, high = u, width = 1;
  for (int i = 0; i < 60; ++i) {
    const long double t = std::exp(u), y = a * t + b;
    const long double hazard = 1 / MillsRatio(y);
    const long double slope = df * (1 - t * t) - a * t * hazard;
    const long double curvature =
        2 * df * t * t + a * t * hazard + a * a * t * t * hazard * std::max(hazard - y, 0.0L);
    width = 1 / std::sqrt(curvature);
    (slope > 0 ? low : high) = u;
    long double next = u + slope / curvature;
    if (!(next > low && next < high)) next = (low + high) / 2;
    const bool done = std::fabs(next - u) < 1e-3L * width;
    u = next;
    if (done) break;
  }
  return LogIntegral(f, u, width, df);
}

// ln E[S phi(a S + b)] for a >= 0 and any b: the peak where
// (a^2 + df) t^2 + a b t - (df + 1) = 0, its one positive root taken in the
// form without cancellation for the sign of a b.  L is concave wherever the
// integrand is not negligible (L'' = -t (2 (a^2 + df) t + a b), positive
// only far left of the peak when b < 0), so this serves both sides of 0.
long double LogFarDensity(long double df, long double a, long double b) {
  const ScaleDensity scale(df);
  const auto f = [&](long double u) {
    const long double y = a * std::exp(u) + b;
    return -y * y / 2 - kLnRootTwoPi + scale(u) + u;
  };
  const long double root = std::sqrt(a * a * b * b + 4 * (a * a + df) * (df + 1));
  const long double t =
      a * b >= 0 ? 2 * (df + 1) / (a * b + root) : (root - a * b) / (2 * (a * a + df));
  const long double width = 1 / std::sqrt(t * (2 * (a * a + df) * t + a * b));
  return LogIntegral(f, std::log(t), width, df + 1);
}

// ln Phi-bar(y) for every real y.
long double LogUpperNormalAnywhere(long double y) {
  return y >= 0 ? LogUpperNormal(y) : std::log1p(-std::exp(LogUpperNormal(-y)));
}

// ln E[Phi-bar(b - a S)] for 0 < a < b: P(T < x) for 0 < x = a below
// delta = b, small where delta is large (Boost's is off by 20% at df 100,
// delta 40, x 20).  L'(u) = df (1 - t^2) + a t h(b - a t), h the normal
// hazard, falls from df through 0 once: its root by bisection on u, the
// width from L's second difference there, and the integral as above.
long double LogNearTail(long double df, long double a, long double b) {
  const ScaleDensity scale(df);
  const auto f = [&](long double u) {
    return LogUpperNormalAnywhere(b - a * std::exp(u)) + scale(u);
  };
  const auto slope = [&](long double u) {
    const long double t = std::exp(u), y = b - a * t;
    const long double hazard =
        y >= 0 ? 1 / MillsRatio(y)
               : std::exp(-y * y / 2 - kLnRootTwoPi - LogUpperNormalAnywhere(y));
    return df * (1 - t * t) + a * t * hazard;
  };
  long double low = -kPeakReach, high = std::log(b / a) + kPeakReach;
  for (int i = 0; i < kPeakBisections; ++i) {
    const long double mid = (low + high) / 2;
    (slope(mid) > 0 ? low : high) = mid;
  }
  const long double u = (low + high) / 2;
  const long double second = (f(u + kCurvatureStep) - 2 * f(u) + f(u - kCurvatureStep)) /
                             (kCurvatureStep * kCurvatureStep);
  // The step must also resolve Phi-bar(b - a t), which turns from Phi-bar(b)
  // to 1 across a width of about 1 / b in u where a t passes b.
  const long double width = std::min(second < 0 ? 1 / std::sqrt(-second) : kLargestStep, 1 / b);
  return LogIntegral(f, u, width, df);
}

class NoncentralT final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"df"}, {"delta"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(DegreesProblem(P0(p), "the degrees of freedom"),
                         FiniteProblem(P1(p), "the noncentrality"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    const long double inf = std::numeric_limits<long double>::infinity();
    return {-inf, inf};
  }
  Value Mean(const Parameters& p) const override {
    if (P0(p) <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
    return Finite(MeanOf(p));
  }
  Value Variance(const Parameters& p) const override {
    const long double df = P0(p), delta = P1(p);
    if (df <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
    if (df <= 2) return Value::None("infinite for 2 or fewer degrees of freedom");
    const long double mean = MeanOf(p);
    return Finite(df * (1 + delta * delta) / (df - 2) - mean * mean);
  }
  long double RoughMedian(const Parameters& p) const override { return P1(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    if (Central(p)) return TModel().CentralInterval(p, q);
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Density(p, x);
    // f(x) = E[S phi(x S - delta)] = E[S phi(|x| S + b)], b = -delta sign(x).
    const long double b = x < 0 ? P1(p) : -P1(p);
    return Positive(std::exp(LogFarDensity(P0(p), std::fabs(x), b)));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Lower(p, x);
    if (Opposite(p, x) && x < 0) return Positive(FarTail(p, x));
    if (x > 0 && x < P1(p)) return Positive(NearTail(p, x));
    return Positive(cdf(Of(p), x));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Upper(p, x);
    if (Opposite(p, x) && x > 0) return Positive(FarTail(p, x));
    if (x < 0 && x > P1(p)) return Positive(NearTail(p, x));
    return Positive(cdf(complement(Of(p), x)));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(StudentsT(P0(p)), q);
    if (P1(p) > 0 && q < NormalBelowZero(p))
      return -FarQuantile(p, q, [&] { return quantile(Of(p), q); });
    if (P1(p) > 0) return NearQuantile(p, q, [&] { return quantile(Of(p), q); });
    return quantile(Of(p), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(complement(StudentsT(P0(p)), q));
    if (P1(p) < 0 && q < NormalBelowZero(p))
      return FarQuantile(p, q, [&] { return quantile(complement(Of(p), q)); });
    if (P1(p) < 0) return -NearQuantile(p, q, [&] { return -quantile(complement(Of(p), q)); });
    return quantile(complement(Of(p), q));
  }

 private:
  // Whether x lies on the side of 0 opposite to delta.
  static bool Opposite(const Parameters& p, long double x) {
    return (x < 0 && P1(p) > 0) || (x > 0 && P1(p) < 0);
  }
  // P(T < 0) for delta > 0, P(T > 0) for delta < 0: Phi-bar(|delta|).
  static long double NormalBelowZero(const Parameters& p) {
    const long double root2 = boost::math::constants::root_two<long double>();
    return boost::math::erfc(std::fabs(P1(p)) / root2, BoostPolicy()) / 2;
  }
  // The tail towards 0 from x between 0 and delta: P(T < x) for delta > 0,
  // P(T > x) (that of -T below -x) for delta < 0.
  static long double NearTail(const Parameters& p, long double x) {
    return std::exp(LogNearTail(P0(p), std::fabs(x), std::fabs(P1(p))));
  }
  // The tail beyond x on the side opposite to delta.
  static long double FarTail(const Parameters& p, long double x) {
    return std::exp(LogFarTail(P0(p), std::fabs(x), std::fabs(P1(p))));
  }
  // |x| of the quantile q of the tail towards 0 on delta's side, Boost's
  // where it lies beyond |delta|; between 0 and |delta|, where Boost's own
  // tail is off, refined on NearTail from Boost's value if it lies there,
  // else from |delta| / 2.
  template <class BoostQuantile>
  static long double NearQuantile(const Parameters& p, long double q,
                                  BoostQuantile&& boostQuantile) {
    const long double df = P0(p), b = std::fabs(P1(p));
    const auto tail = [&](long double z) { return std::exp(LogNearTail(df, z, b)); };
    long double guess = b / 2;
    try {
      const long double x = boostQuantile();
      if (!(q < tail(b))) return x;
      if (x > 0 && x < b) guess = x;
    } catch (const std::exception&) {
      if (!(q < tail(b))) throw;
    }
    return RefinedQuantile(guess, q, false, tail,
                           [&](long double z) { return std::exp(LogFarDensity(df, z, -b)); });
  }
  // |x| of the quantile q on the side opposite to delta (q below
  // NormalBelowZero), refined on FarTail from Boost's where that lies on the
  // side, from 1 where it does not or where Boost gives up (below about
  // 1e-20 of NormalBelowZero).
  template <class BoostQuantile>
  static long double FarQuantile(const Parameters& p, long double q,
                                 BoostQuantile&& boostQuantile) {
    const long double df = P0(p), b = std::fabs(P1(p));
    long double guess = 1;
    try {
      const long double x = boostQuantile();
      if (std::isfinite(x) && x * P1(p) < 0) guess = std::fabs(x);
    } catch (const std::exception&) {
    }
    return RefinedQuantile(
        guess, q, true, [&](long double z) { return std::exp(LogFarTail(df, z, b)); },
        [&](long double z) { return std::exp(LogFarDensity(df, z, b)); });
  }
};

constinit const NoncentralT kNoncentralT{};

}  // namespace

const Model& NoncentralTModel() {
  return kNoncentralT;
}

}  // namespace models
