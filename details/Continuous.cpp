// The four continuous distributions: densities, both tails and quantiles.
//
// Chi-square, t and F are Boost.Math's distributions, each tail taken in its
// own form (the upper tail through complement(), which Boost evaluates as
// Q(a, x) or I_x(a, b) directly, never as 1 - P): both tails keep their
// relative accuracy down to the bottom of the extended range.
//
// For large degrees of freedom the chi-square and F tails take Boost's
// incomplete gamma and beta functions through Incomplete.h, which exchanges
// their prefixes for the engine's where those lose relative accuracy; the F
// prefix is Loader's beta term with delta = a - (a + b) z = a b (1 - x) / (a x + b)
// (a = d1/2, b = d2/2, z = a x / (a x + b)), which needs no 1 - z.  For small
// degrees of freedom the F and t tails are the continued fraction under that
// prefix (Incomplete.h), and every t and F density is the prefix itself:
// no power function, and more accurate than Boost's, which missed 1e-15 for
// F tails with degrees of freedom below 80.
//
// The normal tails are computed here.  With u = (x - mean) / sqrt(2 variance),
// P(X > x) = erfc(u) / 2, and 150 deviations out the relative error of the
// tail is 2 u^2 times the relative error of u: one rounding of u would cost
// 2e-15.  So u is formed as an unevaluated pair hi + lo (ExtendedPair.h),
// Boost's erfc is taken at hi (which it evaluates with exp(-hi^2) split the
// same way), and the first-order term of lo is added:
//   erfc(hi + lo) = erfc(hi) (1 - lo G(hi)),  G(u) = (2/sqrt(pi)) e^(-u^2) / erfc(u),
// where far out, with Laplace's continued fraction for the Mills ratio,
//   G(u) = 2u / (1 - 1/(2u^2) + 3/(4u^4) - 15/(8u^6) + ...).
#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cfloat>
#include <cmath>
#include <optional>

#include "details/BoostPolicy.h"
#include "details/Engine.h"
#include "details/ExtendedPair.h"
#include "details/Incomplete.h"
#include "details/Stirling.h"

namespace details {

namespace {

using ChiSquared = boost::math::chi_squared_distribution<long double, BoostPolicy>;
using StudentsT = boost::math::students_t_distribution<long double, BoostPolicy>;
using FisherF = boost::math::fisher_f_distribution<long double, BoostPolicy>;
using NormalDistribution = boost::math::normal_distribution<long double, BoostPolicy>;

// Beyond |u| = 110 the normal tail erfc(u)/2 is below 1e-5250 and the density
// below 1e-5250 too: in extended precision they are 0.
constexpr long double kNormalFarEnd = 110;
// From |u| = 5 on, G(u) comes from the continued fraction; its first omitted
// term is below 1e-6 of the correction, which is itself below 1e-15.
constexpr long double kMillsSwitch = 5;
const long double kRootPi = boost::math::constants::root_pi<long double>();
const long double kTwoOverRootPi = 2 / kRootPi;

// The F variable x as the beta variable z = a x / (a x + b), its complement
// y = b / (a x + b), and their saddle-point term (Incomplete.h).
struct FBeta {
  long double a, b, z, y, saddle;
};

// The last arguments and their value, per thread: a forward report asks for
// the density and a tail at the same point, which share the saddle-point
// term, the costliest part of either.
template <class Term>
struct LastOf {
  long double p0 = 0, p1 = 0, x = 0;
  std::optional<Term> value;
  bool filled = false;

  template <class Compute>
  const std::optional<Term>& Get(const Distribution& d, long double at, Compute&& compute) {
    if (!(filled && p0 == P0(d) && p1 == P1(d) && x == at)) {
      value = compute();
      p0 = P0(d), p1 = P1(d), x = at, filled = true;
    }
    return value;
  }
};

FBeta FBetaOf(const Distribution& d, long double x) {
  const long double a = P0(d) / 2, b = P1(d) / 2;
  const long double s = a * x + b;
  const long double z = a * x / s, y = b / s;
  return {a, b, z, y, BetaSaddleTerm(a, b, z, y, a * b * (1 - x) / s)};
}

FBeta FBetaAt(const Distribution& d, long double x) {
  static thread_local LastOf<FBeta> last;
  return *last.Get(d, x, [&] { return std::optional<FBeta>(FBetaOf(d, x)); });
}

// The F density: z^a y^b / (B(a, b) x) = (a b / m) saddle / x, for every
// a and b (the saddle-point term holds for all; Boost's pdf takes powl).
long double FDensity(const Distribution& d, long double x) {
  const FBeta f = FBetaAt(d, x);
  return f.a * f.b / (f.a + f.b) * f.saddle / x;
}

// The t density.  With a = n/2, b = 1/2, z = n / (n + t^2), y = t^2 / (n + t^2),
// P(|T| > |t|) = I_z(a, b), whose derivative in t gives
//   f(t) = z^a y^b / (B(a, b) |t|) = (a b / m) saddle / |t|,
// with delta = a - m z = n (t - 1)(t + 1) / (2 (n + t^2)) formed without
// rounding z.  Near t = 0, where y underflows, and where t^2 overflows,
// Boost's pdf.
constexpr long double kTSaddleFrom = 1e-100L;

struct TBeta {
  long double a, b, z, y, saddle;
};

// None near t = 0 and where t^2 overflows.
std::optional<TBeta> TBetaOf(const Distribution& d, long double t) {
  const long double n = P0(d);
  const long double s = n + t * t;
  if (!(std::fabs(t) >= kTSaddleFrom) || !std::isfinite(s)) return std::nullopt;
  const long double a = n / 2, b = 0.5L, z = n / s, y = t * t / s;
  const long double delta = n / (2 * s) * ((t - 1) * (t + 1));
  return TBeta{a, b, z, y, BetaSaddleTerm(a, b, z, y, delta)};
}

const std::optional<TBeta>& TBetaAt(const Distribution& d, long double t) {
  static thread_local LastOf<TBeta> last;
  return last.Get(d, t, [&] { return TBetaOf(d, t); });
}

long double TDensity(const Distribution& d, long double t) {
  const std::optional<TBeta>& f = TBetaAt(d, t);
  if (!f) return pdf(StudentsT(P0(d)), t);
  return f->a * f->b / (f->a + f->b) * f->saddle / std::fabs(t);
}

// P(T > t) when upper, else P(T < t): the tail beyond |t| is I_z(a, b) / 2,
// the other one minus that.  Through Incomplete.h for degrees of freedom
// below 2 kBoostBetaLimit, where its continued fraction converges in a few
// dozen terms; Boost's students_t above, and near t = 0.
long double TTail(const Distribution& d, long double t, bool upper) {
  const std::optional<TBeta> f = P0(d) / 2 < kBoostBetaLimit ? TBetaAt(d, t) : std::nullopt;
  if (!f) {
    const StudentsT dist(P0(d));
    return upper ? cdf(complement(dist, t)) : cdf(dist, t);
  }
  // Beyond |t|: I_z(a, b) / 2.  On t's near side: 1 - I_z(a, b) / 2, that
  // is 1/2 + (1 - I_z(a, b)) / 2.
  if (upper == (t > 0)) return BetaTail(f->a, f->b, f->z, f->y, false, f->saddle) / 2;
  return 0.5L + BetaTail(f->a, f->b, f->z, f->y, true, f->saddle) / 2;
}

// P(F > x) when upper, else P(F < x) = I_z(a, b), oriented as Boost's
// fisher_f orients it: through I_y(b, a) when d1 x > d2.
long double FTail(const Distribution& d, long double x, bool upper) {
  if (!std::isfinite(P0(d) * x)) {  // beyond the extended range: Boost's limits
    const FisherF f(P0(d), P1(d));
    return upper ? cdf(complement(f, x)) : cdf(f, x);
  }
  const FBeta f = FBetaAt(d, x);
  const long double d1 = P0(d), d2 = P1(d), v1x = d1 * x;
  if (v1x > d2) return BetaTail(f.b, f.a, d2 / (d2 + v1x), f.z, !upper, f.saddle);
  return BetaTail(f.a, f.b, v1x / (d2 + v1x), f.y, upper, f.saddle);
}

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

NormalArgument Standardize(const Distribution& d, long double x) {
  // sqrt(2v) = 2 sqrt(v/2): the halving is exact and cannot overflow.
  const ExtendedPair half = SqrtPair(P1(d) / 2);
  const ExtendedPair scale{2 * half.hi, 2 * half.lo};
  const ExtendedPair diff = TwoSum(x, -P0(d));
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

long double NormalUpper(const Distribution& d, long double x) {
  const NormalArgument a = Standardize(d, x);
  if (a.far) return a.u.hi > 0 ? 0 : 1;
  return HalfErfc(a.u);
}

long double NormalLower(const Distribution& d, long double x) {
  const NormalArgument a = Standardize(d, x);
  if (a.far) return a.u.hi < 0 ? 0 : 1;
  return HalfErfc({-a.u.hi, -a.u.lo});
}

// e^(-u^2) / (sqrt(pi) sqrt(2v)), with u^2 = hi^2 + (its rounding error + 2 hi lo).
long double NormalDensity(const Distribution& d, long double x) {
  const NormalArgument a = Standardize(d, x);
  if (a.far) return 0;
  const ExtendedPair square = TwoProduct(a.u.hi, a.u.hi);
  const long double rest = square.lo + 2 * a.u.hi * a.u.lo;
  return std::exp(-square.hi) * std::exp(-rest) / (kRootPi * a.scale);
}

NormalDistribution NormalOf(const Distribution& d) {
  return NormalDistribution(P0(d), std::sqrt(P1(d)));
}

// The density at x = 0 of chi-square and F, whose numerator degrees of
// freedom decide: infinite below 2, 1/2 or 1 at 2, zero above.
Value DensityAtZero(long double df, long double atTwo) {
  if (df < 2) return Value::None("infinite at x = 0");
  return Value::Of(df == 2 ? atTwo : 0);
}

template <class Compute>
Value GuardedAt(const Distribution& d, long double x, Compute&& compute) {
  return Guarded(d, [&]() -> Value {
    if (IsDiscrete(d.kind)) return Value::None(kNotContinuous);
    if (!std::isfinite(x)) return Value::None(std::string("x is ") + kNotFinite);
    return compute();
  });
}

template <class Compute>
Value GuardedQuantile(const Distribution& d, long double p, Compute&& compute) {
  return Guarded(d, [&]() -> Value {
    if (IsDiscrete(d.kind)) return Value::None(kNotContinuous);
    if (!(p > 0 && p < 1)) return Value::None(kProbabilityRange);
    return Finite(compute());
  });
}

}  // namespace

Value Density(const Distribution& d, long double x) {
  return GuardedAt(d, x, [&]() -> Value {
    switch (d.kind) {
      case Kind::Normal:
        return Positive(NormalDensity(d, x));
      case Kind::ChiSquare:
        if (x < 0) return Value::Of(0);
        if (x == 0) return DensityAtZero(P0(d), 0.5L);
        return Positive(GammaDensity(P0(d) / 2, x / 2) / 2);
      case Kind::T:
        return Positive(TDensity(d, x));
      case Kind::F:
        if (x < 0) return Value::Of(0);
        if (x == 0) return DensityAtZero(P0(d), 1);
        return Positive(FDensity(d, x));
      default:
        return Value::None(kNotContinuous);  // turned away by GuardedAt
    }
  });
}

Value Lower(const Distribution& d, long double x) {
  return GuardedAt(d, x, [&]() -> Value {
    switch (d.kind) {
      case Kind::Normal:
        return Positive(NormalLower(d, x));
      case Kind::ChiSquare:
        return x <= 0 ? Value::Of(0) : Positive(GammaTail(P0(d) / 2, x / 2, false));
      case Kind::T:
        return Positive(TTail(d, x, false));
      case Kind::F:
        return x <= 0 ? Value::Of(0) : Positive(FTail(d, x, false));
      default:
        return Value::None(kNotContinuous);  // turned away by GuardedAt
    }
  });
}

Value Upper(const Distribution& d, long double x) {
  return GuardedAt(d, x, [&]() -> Value {
    switch (d.kind) {
      case Kind::Normal:
        return Positive(NormalUpper(d, x));
      case Kind::ChiSquare:
        return x <= 0 ? Value::Of(1) : Positive(GammaTail(P0(d) / 2, x / 2, true));
      case Kind::T:
        return Positive(TTail(d, x, true));
      case Kind::F:
        return x <= 0 ? Value::Of(1) : Positive(FTail(d, x, true));
      default:
        return Value::None(kNotContinuous);  // turned away by GuardedAt
    }
  });
}

Value QuantileLower(const Distribution& d, long double p) {
  return GuardedQuantile(d, p, [&]() -> long double {
    switch (d.kind) {
      case Kind::Normal:
        return quantile(NormalOf(d), p);
      case Kind::ChiSquare:
        return quantile(ChiSquared(P0(d)), p);
      case Kind::T:
        return quantile(StudentsT(P0(d)), p);
      default:  // F; GuardedQuantile has turned the discrete kinds away
        return quantile(FisherF(P0(d), P1(d)), p);
    }
  });
}

Value QuantileUpper(const Distribution& d, long double q) {
  return GuardedQuantile(d, q, [&]() -> long double {
    switch (d.kind) {
      case Kind::Normal:
        return quantile(complement(NormalOf(d), q));
      case Kind::ChiSquare:
        return quantile(complement(ChiSquared(P0(d)), q));
      case Kind::T:
        return quantile(complement(StudentsT(P0(d)), q));
      default:
        return quantile(complement(FisherF(P0(d), P1(d)), q));
    }
  });
}

Value CentralHalfWidth(const Distribution& d, long double p) {
  return GuardedQuantile(d, p, [&]() -> long double {
    if (d.kind == Kind::Normal) {
      // P(|X - mean| < w) = erf(w / sqrt(2v)) = p.
      const long double root2 = boost::math::constants::root_two<long double>();
      return std::sqrt(P1(d)) * root2 * boost::math::erf_inv(p, BoostPolicy());
    }
    if (d.kind != Kind::T) throw NoValue("only the normal and t distributions are symmetric");
    // P(|T| < w) = I_y(1/2, n/2) = p with y = w^2 / (n + w^2), so w^2 = n y / (1 - y).
    long double complementOfY = 0;
    const long double y = boost::math::ibeta_inv(0.5L, P0(d) / 2, p, &complementOfY, BoostPolicy());
    return std::sqrt(P0(d) * y / complementOfY);
  });
}

}  // namespace details
