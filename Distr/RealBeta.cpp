// The beta family for real shapes: the regularized incomplete beta function
// I_x(a, b), its complement, and its inverse.
//
// I_x(a, b) is the power term x^a y^b / B(a, b) (y = 1 - x) over a, times the
// continued fraction of Numerical Recipes' betacf evaluated by the modified
// Lentz method; the fraction converges fast for x below (a + 1) / (a + b + 2),
// and above it the tail is taken from the mirror I_y(b, a).  The power term
// for large shapes is built like the gamma one: with x0 = a / (a + b),
//   x^a y^b / B(a, b) = sqrt(ab / (2 pi (a + b))) Gamma*(a + b) / (Gamma*(a) Gamma*(b))
//                       exp(-a D(x / x0) - b D(y / y0)),
// D(r) = r - 1 - ln r, which holds its accuracy for shapes in the billions;
// x - x0 there, and the fraction's first denominator, are small differences of
// large products and are taken exactly (fmal).  Near the mean the fraction
// loses about a units in the last place, so for a first shape above 1e5 it
// runs in wide arithmetic (pairs of extended reals).  When the tail from the
// fraction is above 0.9 (a small first shape), the other one is summed from
// the expansion of I_x in powers of x, so that neither tail is ever one minus
// a number near 1.
#include <cmath>
#include <limits>

#include "Distr/RealShapes.h"
#include "Distr/RealShapesCore.h"
#include "Distr/RootSearch.h"

namespace Distr {

namespace {

constexpr long double kTwoPi = 6.283185307179586476925286766559005768L;
// Below this, for both shapes, the power term is a product of powl and tgammal
// (each correct to about an ulp); their Gamma values stay far from overflow
// while the smaller shape is at least kProductShapeFloor.
constexpr long double kProductShapeCeiling = 10;
constexpr long double kProductShapeFloor = 1e-100L;
// The fraction ends when a full step changes it by at most this: two units in
// the last place (a step that rounds to 1 +- 1 ulp may recur), and far less
// in wide arithmetic; the series of a small upper tail when a term is this
// small relative to the sum.
constexpr long double kFractionSettled = 0x1p-62L;
constexpr long double kWideFractionSettled = 1e-24L;
constexpr long double kFractionTolerance = 1e-21L;
constexpr long double kLentzTiny = 1e-4900L;
// Steps of the fraction before it is given up (it settles in far fewer below
// the switch point); the series of a small upper tail likewise.
constexpr long kMaxFractionSteps = 100000000;
constexpr int kMaxSmallShapeTerms = 2000;
// The fraction loses up to about a units in the last place (1e-16 at this a);
// from this a on it is evaluated in wide arithmetic, some ten times slower.
constexpr long double kWideShapeFloor = 1e5L;
// A tail is taken as the complement of the other while that one is at most this.
constexpr long double kComplementLimit = 0.9L;
// The quantile ends with this many Newton steps on x itself, each only while
// its size in logit x is below kPolishLimit.
constexpr int kPolishSteps = 2;
constexpr long double kPolishLimit = 1e-12L;

// x = 1 / (1 + e^-t) and y = 1 - x = 1 / (1 + e^t), each without overflow.
// The larger of the two is 1 minus the smaller, one rounding from exact.
void FromLogit(long double t, long double& x, long double& y) {
  const long double e = std::exp(-std::fabs(t));
  const long double small = e / (1 + e);
  x = t >= 0 ? 1 - small : small;
  y = t >= 0 ? small : 1 - small;
}

// A real carried as the unevaluated sum hi + lo of two extended reals (about
// 128 bits), for the fraction whose argument is within rounding of 1.
struct Wide {
  long double hi, lo;
};

Wide QuickSum(long double a, long double b) {  // |a| >= |b|
  const long double s = a + b;
  return {s, b - (s - a)};
}

Wide Sum(long double a, long double b) {
  const long double s = a + b, v = s - a;
  return {s, (a - (s - v)) + (b - v)};
}

Wide operator+(Wide x, Wide y) {
  const Wide s = Sum(x.hi, y.hi);
  return QuickSum(s.hi, s.lo + (x.lo + y.lo));
}

Wide operator*(Wide x, Wide y) {
  const long double p = x.hi * y.hi;
  const long double e = std::fma(x.hi, y.hi, -p);
  return QuickSum(p, e + (x.hi * y.lo + x.lo * y.hi));
}

Wide operator/(Wide x, Wide y) {
  const long double q = x.hi / y.hi;
  const Wide r = x + Wide{-1, 0} * (Wide{q, 0} * y);
  return QuickSum(q, r.hi / y.hi);
}

Wide WideOf(long double v) {
  return {v, 0};
}

// t a + t b - target, for target near t (a + b): each product is split
// exactly into its rounded value and error (fmal), the two values are added
// exactly (TwoSum), and the target, within a factor 2 of that sum, taken
// from it exactly, so that the small result keeps its digits.
long double SpreadOffset(long double t, long double a, long double b, long double target) {
  const long double ta = t * a, tb = t * b;
  const long double taError = std::fma(t, a, -ta), tbError = std::fma(t, b, -tb);
  const Wide products = Sum(ta, tb);
  return (products.hi - target) + (products.lo + (taError + tbError));
}

// The continued fraction of I_x(a, b) a B(a, b) / (x^a y^b), or NAN when it
// has not settled within maxSteps.
long double BetaFraction(long double a, long double b, long double x, long maxSteps) {
  const long double sum = a + b;
  long double c = 1;
  // 1 - (a + b) x / (a + 1), its difference taken exactly near the mean.
  long double d = (1 - SpreadOffset(x, a, b, a)) / (a + 1);
  if (std::fabs(d) < kLentzTiny) d = kLentzTiny;
  d = 1 / d;
  long double h = d;
  for (long m = 1; m <= maxSteps; ++m) {
    const long double m2 = 2.0L * m;
    // Even step: m (b - m) x / ((a + 2m - 1) (a + 2m)).
    long double coefficient = m * (b - m) * x / ((a - 1 + m2) * (a + m2));
    d = 1 + coefficient * d;
    if (std::fabs(d) < kLentzTiny) d = kLentzTiny;
    c = 1 + coefficient / c;
    if (std::fabs(c) < kLentzTiny) c = kLentzTiny;
    d = 1 / d;
    h = h * d * c;
    // Odd step: -(a + m) (a + b + m) x / ((a + 2m) (a + 2m + 1)).
    coefficient = -(a + m) * (sum + m) * x / ((a + m2) * (a + 1 + m2));
    d = 1 + coefficient * d;
    if (std::fabs(d) < kLentzTiny) d = kLentzTiny;
    c = 1 + coefficient / c;
    if (std::fabs(c) < kLentzTiny) c = kLentzTiny;
    d = 1 / d;
    const long double delta = d * c;
    h = h * delta;
    if (std::fabs(delta - 1) <= kFractionSettled) return h;
  }
  return NAN;
}

// BetaFraction in wide arithmetic, for a large a: near the mean, and all
// the more with x near 1, the fraction's steps cancel to about 1/a of their
// size, and in plain extended reals they would lose the digits of a.  x is
// taken as given where it is at most 1/2, and as 1 - y from the exact y above.
long double WideBetaFraction(long double a, long double b, long double x0, long double y,
                             long maxSteps) {
  const Wide one = WideOf(1);
  const Wide x = x0 <= 0.5L ? WideOf(x0) : QuickSum(1 - y, ((1 - (1 - y)) - y));
  const Wide sum = Sum(a, b);
  const Wide aPlus1 = Sum(a, 1);
  auto guard = [](Wide v) { return std::fabs(v.hi) < kLentzTiny ? WideOf(kLentzTiny) : v; };
  Wide c = one;
  Wide d = guard(one + Wide{-1, 0} * (sum * x / aPlus1));
  d = one / d;
  Wide h = d;
  for (long m = 1; m <= maxSteps; ++m) {
    const long double m2 = 2.0L * m;
    Wide coefficient = WideOf(m) * Sum(b, -m) * x / (Sum(a, m2 - 1) * Sum(a, m2));
    d = guard(one + coefficient * d);
    c = guard(one + coefficient / c);
    d = one / d;
    h = h * d * c;
    coefficient = Wide{-1, 0} * Sum(a, m) * (sum + WideOf(m)) * x / (Sum(a, m2) * Sum(a, m2 + 1));
    d = guard(one + coefficient * d);
    c = guard(one + coefficient / c);
    d = one / d;
    const Wide delta = d * c;
    h = h * delta;
    if (std::fabs((delta.hi - 1) + delta.lo) <= kWideFractionSettled) return h.hi + h.lo;
  }
  return NAN;
}

// I_x(a, b) from its fraction, or NAN when the fraction does not settle.
long double LowerByFraction(long double a, long double b, long double x, long double y,
                            long maxSteps) {
  const long double fraction = a > kWideShapeFloor ? WideBetaFraction(a, b, x, y, maxSteps)
                                                   : BetaFraction(a, b, x, maxSteps);
  if (std::isnan(fraction)) return fraction;
  return BetaPowerTerm(a, b, x, y) * fraction / a;
}

// 1 - I_x(a, b) where it is small, for x below the switch point (then b x is
// below a + 1, and a is below 1 in all but edge cases).  From
// I_x(a, b) = x^a / (a B(a, b)) (1 + a sum_{n>=1} (1-b)_n x^n / (n! (a+n))),
// 1 - I_x(a, b) = -E - a (1 + E) sum_{n>=1} (1-b)_n x^n / (n! (a+n)) with
// E = x^a / (a B(a, b)) - 1 taken by expm1.  NAN when the sum does not settle.
long double SmallShapeUpper(long double a, long double b, long double x) {
  const long double lnAB = LnGamma1p(a) - LnGammaShift(b, a);  // ln(a B(a, b))
  const long double excess = std::expm1(a * std::log(x) - lnAB);
  long double sum = 0, power = 1;
  for (int n = 1; n <= kMaxSmallShapeTerms; ++n) {
    power = power * (n - b) * x / n;
    const long double term = power / (a + n);
    sum = sum + term;
    if (std::fabs(term) <= kFractionTolerance * std::fabs(sum)) {
      return -excess - a * (1 + excess) * sum;
    }
  }
  return NAN;
}

// The pair (I_x(a, b), 1 - I_x(a, b)) for x below the switch point.
Tails NearSide(long double a, long double b, long double x, long double y) {
  Tails tails;
  tails.lower = LowerByFraction(a, b, x, y, kMaxFractionSteps);
  if (std::isnan(tails.lower)) tails.lower = 0;
  tails.upper = 1 - tails.lower;
  if (tails.lower > kComplementLimit) {
    const long double upper = SmallShapeUpper(a, b, x);
    if (!std::isnan(upper)) tails.upper = upper;
  }
  return Clamped(tails);
}

}  // namespace

long double BetaPowerTerm(long double a, long double b, long double x, long double y) {
  if (!(x > 0) || !(y > 0)) return 0;
  if (a < kProductShapeCeiling && b < kProductShapeCeiling && a >= kProductShapeFloor &&
      b >= kProductShapeFloor) {
    const long double inverseBeta = std::tgamma(a + b) / (std::tgamma(a) * std::tgamma(b));
    return std::pow(x, a) * std::pow(y, b) * inverseBeta;
  }
  const long double sum = a + b;
  const long double x0 = a / sum, y0 = b / sum;
  // x - x0 = (x a + x b - a) / (a + b), from the smaller argument (the other
  // may be 1 minus it rounded): = (b - y a - y b) / (a + b) when y is smaller.
  const long double xShift =
      x <= y ? SpreadOffset(x, a, b, a) / sum : -SpreadOffset(y, a, b, b) / sum;
  const long double excess =
      a * LogExcess(xShift / x0, x / x0) + b * LogExcess(-xShift / y0, y / y0);
  const long double stars = LnGammaStar(sum) - LnGammaStar(a) - LnGammaStar(b);
  return std::exp(stars - excess) * std::sqrt(a / sum * b / kTwoPi);
}

Tails BetaTailsOf(long double a, long double b, long double x, long double y) {
  FloatScope scope;
  if (!(x > 0)) return {0, 1};
  if (!(y > 0)) return {1, 0};
  if (x < (a + 1) / (a + b + 2)) return scope.Done(NearSide(a, b, x, y));
  const Tails mirrored = NearSide(b, a, y, x);
  return scope.Done(Tails{mirrored.upper, mirrored.lower});
}

Tails BetaTails(long double a, long double b, long double x) {
  RequireShape(a);
  RequireShape(b);
  RequireArgument(x);
  FloatScope scope;
  if (!(x > 0)) return {0, 1};
  if (!(x < 1)) return {1, 0};
  return scope.Done(BetaTailsOf(a, b, x, 1 - x));
}

long double BetaQuantile(long double a, long double b, long double p, Tail tail) {
  RequireShape(a);
  RequireShape(b);
  RequireProbability(p);
  FloatScope scope;
  // Iterate on the tail whose target is at most 1/2 (1 - p is exact there).
  const bool lower = (tail == Tail::Lower) == (p <= 0.5L);
  const long double q = p <= 0.5L ? p : 1 - p;
  const long double lnQ = std::log(q);
  // Newton in t = logit x = ln(x / y): dI/dt = x^a y^b / B(a, b), and
  // g = ln(tail) - ln q (its sign turned for the upper tail) increases in t.
  auto at = [&](long double x, long double y) -> Probe {
    const Tails tails = BetaTailsOf(a, b, x, y);
    const long double value = lower ? tails.lower : tails.upper;
    if (!(value > 0)) return {lower ? -INFINITY : INFINITY, 0};
    const long double slope = BetaPowerTerm(a, b, x, y) / value;
    const long double difference = std::log(value) - lnQ;
    return {lower ? difference : -difference, slope};
  };
  auto g = [&](long double t) {
    long double x, y;
    FromLogit(t, x, y);
    return at(x, y);
  };
  // x and y stay within the normal extended reals; a lower quantile below them is 0.
  constexpr long double kSmallest = std::numeric_limits<long double>::min();
  const long double kWidestT = -std::log(kSmallest);
  const Tails edge = BetaTailsOf(a, b, kSmallest, 1);
  if (lower ? edge.lower >= q : edge.upper <= q) return scope.Done(0.0L);
  // Start at the mean, or where the leading term of the small tail gives q:
  // I_x ~ x^a / (a B) as x -> 0 and 1 - I_x ~ y^b / (b B) as y -> 0.
  const long double lnBeta = LnGammaReal(a) + LnGammaReal(b) - LnGammaReal(a + b);
  long double t0 = std::log(a) - std::log(b);
  const long double lnEnd =
      lower ? (lnQ + std::log(a) + lnBeta) / a : (lnQ + std::log(b) + lnBeta) / b;
  if (lnEnd < std::log(0.5L)) {
    const long double end = lnEnd - std::log1p(-std::exp(lnEnd));  // logit of e^lnEnd
    if (lower ? end < t0 : -end > t0) t0 = lower ? end : -end;
  }
  if (t0 < -kWidestT) t0 = -kWidestT / 2;
  if (t0 > kWidestT) t0 = kWidestT / 2;
  long double x, y;
  FromLogit(NewtonInBracket(g, t0, -kWidestT, kWidestT), x, y);
  // Newton steps on the smaller of x and y itself (dx/dt = x y), which the
  // logistic of t leaves a few units in the last place of t off.
  for (int step = 0; step < kPolishSteps; ++step) {
    const Probe probe = at(x, y);
    if (!std::isfinite(probe.value) || !(probe.slope > 0)) break;
    const long double dt = probe.value / probe.slope;
    if (!(std::fabs(dt) < kPolishLimit)) break;
    if (x <= y) {
      x = x - x * y * dt;
      y = 1 - x;
    } else {
      y = y + x * y * dt;
      x = 1 - y;
    }
  }
  return scope.Done(x);
}

}  // namespace Distr
