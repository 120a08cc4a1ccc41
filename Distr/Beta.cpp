// The beta family: the regularized incomplete beta function I_x(a/2, b/2) at
// halves of whole numbers, the F, t and binomial tails that reduce to it, and
// the inverses of the beta, F and t tails.
//
//   P(F > x) for F(a, b)        = I_z(b/2, a/2),  z = b / (a x + b)
//   P(T > x) for t(n), x > 0    = I_z(n/2, 1/2) / 2,  z = n / (x^2 + n)
//   P(X >= k) for binomial(n, p) = I_p(k, n - k + 1)
//
// Every expression is written in the order in which it is evaluated, one
// rounded operation after another.  Do not reorder or "simplify" them: the
// last bits of the results, and sometimes a printed digit, depend on it.
//
// Whole parameters stand for halves (a for a/2) and must be at least 1; below
// that the series and the iteration have no meaning, and every routine here
// raises ERangeError for them instead of running.
#include <cmath>

#include "Distr/Checked.h"
#include "Distr/Distr.h"
#include "Distr/GammaLimits.h"

namespace Distr {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// I_x is summed by the power series in x while a + b is below this, and by
// the binomial-type series from this sum on.
constexpr int32_t kSeriesSwitch = 41;
// The power series runs on past i = v until a term is at most this.
constexpr long double kPowerSeriesBound = 1e-20L;
// A first term of the binomial-type series e^L with L at or below this is taken as 0.
constexpr long double kNegligibleExponent = -1000;
// Below this first term the binomial-type series is not summed: the result is
// 0 or 1 by the side of the mean that x lies on.
constexpr long double kUnderflowShortcut = 1e-35L;
// The binomial-type series runs while a term exceeds this (or the terms still grow).
constexpr long double kBinomialSeriesBound = 1e-25L;
// BetaHalfInverse: Newton step while |(f - y) D| / density is below this,
// logarithmic step above.
constexpr long double kBetaNewtonZone = 1e-5L;
// BetaHalfInverse stops when its step relative to r (1 - r) is within this.
constexpr long double kBetaStepTolerance = 1e-8L;

long double Real(int32_t n) {
  return static_cast<long double>(n);
}

// Whole parameters stand for halves, the smallest meaningful one being 1 (for 1/2).
void RequireWhole(int32_t n) {
  if (n < 1) throw ERangeError();
}

}  // namespace

// I_w(u/2, v/2) = w^(u/2) / ((u/2) B(u/2, v/2)) * sum over j >= 0 of
// (1 - v/2)_j / j! * (u/2) / (u/2 + j) * w^j, with i = 2j.  The terms
// alternate in sign while i < v; for even v they vanish from i = v on, for odd
// v they keep one sign past i = v and shrink by at least w <= 1/2 per step.
// Meant for u + v < 41 and 0 < w <= 1/2; raises ERangeError for u or v below
// 1 and for w outside (0, 1) (at w >= 1 the series does not converge).
long double BetaSeries(int32_t u, int32_t v, long double w) {
  FloatScope scope;
  RequireWhole(u);
  RequireWhole(v);
  if (!(w > 0 && w < 1)) throw ERangeError();
  // First term Gamma((u+v)/2) w^(u/2) / (Gamma(u/2 + 1) Gamma(v/2)); no guard
  // against a very negative exponent, which underflows quietly.
  long double t = std::exp((std::log(w) * u) / 2 +
                           ((LnGammaHalf(Add(u, v)) - LnGammaHalf(v)) - LnGammaHalf(Add(u, 2))));
  long double sum = 0;
  int32_t i = 0;
  FloatScope::Check();
  while (i < v || std::fabs(t) > kPowerSeriesBound) {
    FloatScope::CheckSeries();
    sum = sum + t;
    i = Add(i, 2);
    // t_j = -t_(j-1) w (v/2 - j) (u/2 + j - 1) / j / (u/2 + j), left to right.
    t = -t * w * Real(Sub(v, i)) * Real(Sub(Add(u, i), 2)) / Real(i) / Real(Add(u, i));
  }
  return scope.Done(sum);
}

// I_x(a/2, b/2).  0 for x <= 0, 1 for x >= 1, exactly 1/2 for a = b at
// x = 1/2.  Otherwise the problem is oriented so that w <= 1/2 (reflecting
// with I_x(a, b) = 1 - I_(1-x)(b, a)), and summed by BetaSeries while a + b is
// below 41, and from there on by the binomial-type series
//   I_w(A, B) = sum over j >= 0 of Gamma(A+B) / (Gamma(A+j+1) Gamma(B-j)) w^(A+j) (1-w)^(B-j-1),
// which starts at its first term and runs until the terms are negligible
// and no longer growing.  A first term below 1e-35 gives 0 or 1 at once by
// the side of the mean a / (a + b) that w lies on.  Raises ERangeError for a
// or b below 1 and EIntOverflow when a + b (or a series index) leaves int32.
long double BetaHalf(int32_t a, int32_t b, long double x) {
  FloatScope scope;
  RequireWhole(a);
  RequireWhole(b);
  // Symmetry: I_(1/2)(A, A) = 1/2 exactly.  Tested first.
  if (a == b && x == 0.5L) return 0.5L;
  if (!(x > 0)) return 0;
  if (x >= 1) return 1;

  // Reflection I_x(a, b) = 1 - I_(1-x)(b, a) when x > 1 - x, so that w <= 1/2.
  const long double complement = 1 - x;
  const bool reflected = x > complement;
  const int32_t u = reflected ? b : a;
  const int32_t v = reflected ? a : b;
  const long double w = reflected ? complement : x;

  const int32_t s = Add(u, v);
  long double r;
  if (s < kSeriesSwitch) {
    r = BetaSeries(u, v, w);
  } else {
    // ln of the first term: (u/2) ln w + (v/2 - 1) ln(1 - w) + ln Gamma(s/2)
    // - ln Gamma(u/2 + 1) - ln Gamma(v/2), added and subtracted in that order.
    const long double L =
        (((Real(u) / 2) * std::log(w) + (Real(v) / 2 - 1) * std::log(1 - w)) + LnGammaHalf(s)) -
        LnGammaHalf(Add(u, 2)) - LnGammaHalf(v);
    long double t = L > kNegligibleExponent ? std::exp(L) : 0;
    const long double mean = Real(u) / Real(s);
    if (t < kUnderflowShortcut && w < mean) {
      r = 0;  // the first term lies beyond the far left of the bulk
    } else if (t < kUnderflowShortcut && w > mean) {
      r = 1;  // the bulk lies wholly after the first term
    } else {
      r = 0;
      int32_t i = 0;
      // Each term is the previous one times w (v/2 - j) / ((1 - w) (u/2 + j));
      // the second condition holds while that ratio last exceeded 1, so the
      // sum runs through the growing terms even when the first one is tiny.
      FloatScope::Check();
      while (std::fabs(t) > kBinomialSeriesBound ||
             (1 - w) * Real(Add(u, i)) < w * Real(Sub(v, i))) {
        FloatScope::CheckSeries();
        r = r + t;
        i = Add(i, 2);
        t = t * w * Real(Sub(v, i)) / (1 - w) / Real(Add(u, i));
      }
    }
  }
  if (reflected) r = 1 - r;
  return scope.Done(std::fabs(r));
}

// P(F > x) for F with a and b degrees of freedom: I_z(b/2, a/2) with
// z = b / (a x + b).  1 for x <= 0, where F never lies (the formula would
// give 0 below -b/a and divide by zero at -b/a).
long double FTail(int32_t a, int32_t b, long double x) {
  FloatScope scope;
  RequireWhole(a);
  RequireWhole(b);
  if (x <= 0) return 1;
  const long double z = b / (a * x + b);
  return scope.Done(BetaHalf(b, a, z));
}

// P(T > x) for T with n degrees of freedom: I_z(n/2, 1/2) / 2 with
// z = n / (x^2 + n) for x >= 0, and 1 minus that for x < 0 by symmetry.
// Exactly 1/2 at x = 0; |x| above about 1.09e2466 overflows in x^2.
long double TTail(int32_t n, long double x) {
  FloatScope scope;
  RequireWhole(n);
  if (x == 0) return 0.5L;
  const long double z = n / (x * x + n);
  const long double h = BetaHalf(n, 1, z) / 2;
  return scope.Done(x >= 0 ? h : 1 - h);
}

// P(X >= k) for X binomial (n, p) = I_p(k, n - k + 1), the whole parameters
// 2k and 2(n - k) + 2 formed step by step with overflow checks.  For 1 <= k <= n.
long double BinomialTail(int32_t n, int32_t k, long double p) {
  FloatScope scope;
  const int32_t a = Mul(2, k);
  const int32_t b = Add(Mul(2, Sub(n, k)), 2);
  return scope.Done(BetaHalf(a, b, p));
}

// The r in [0, 1] with I_r(a/2, b/2) = y; 0 for y <= 0 and 1 for y >= 1.
// Closed forms for a, b in {1, 2}; otherwise a Newton-type iteration on
// BetaHalf, started at the mean a / (a + b), or for a = 1 at the chi-square
// approximation, until the step relative to r (1 - r) is at most 1e-8.  Far
// from the root the step treats the density as exp(L + D (t - r)) near r.
//
// Every iterate is kept strictly inside (0, 1): a step that would reach or
// cross 0 or 1 is halved until it stays inside, and the stopping test uses
// the step actually taken.  The iteration is bounded like the gamma inverse
// (InverseSettled); as its tolerance is already relative to r (1 - r), in
// practice only the step budget ends a noisy iteration, returning the last
// iterate.  Raises ERangeError for a or b below 1, EIntOverflow when a + b
// overflows, and the floating-point errors of a step that breaks down.
long double BetaHalfInverse(int32_t a, int32_t b, long double y) {
  FloatScope scope;
  RequireWhole(a);
  RequireWhole(b);
  if (!(y > 0)) return 0;
  if (y >= 1) return 1;

  if (a == 1 && b == 1) {
    // I_r(1/2, 1/2) = (2/pi) arcsin sqrt(r).
    const long double angle = (y * kPi) / 2;
    return scope.Done(std::sin(angle) * std::sin(angle));
  }
  if (a == 1 && b == 2) return scope.Done(y * y);  // I_r(1/2, 1) = sqrt(r)
  if (a == 2 && b == 1) {
    return scope.Done(1 - (1 - y) * (1 - y));  // I_r(1, 1/2) = 1 - sqrt(1 - r)
  }
  if (a == 2 && b == 2) return y;  // I_r(1, 1) = r

  const int32_t s = Add(a, b);
  // K = -ln B(a/2, b/2).
  const long double K = LnGammaHalf(s) + (-LnGammaHalf(a) - LnGammaHalf(b));

  long double r = Real(a) / Real(s);  // the mean
  if (a == 1) {
    // Beta(1/2, b/2) ~ chi-square(1) / (chi-square(1) + b): 2g is the
    // chi-square(1) value with lower tail y.  Where 1 - y rounds to 1 the
    // start would be 0, and the mean is kept.
    const long double g = GammaTailInverse(1, 1 - y);
    const long double start = (2 * g) / (((2 * g) + b) - 0.5L);
    if (start > 0 && start < 1) r = start;
  }

  const long double aHalfLess1 = Real(a) / 2 - 1;
  const long double bHalfLess1 = Real(b) / 2 - 1;
  long double f = BetaHalf(a, b, r);
  long double delta = 1;
  for (int steps = 0; !InverseSettled(delta, kBetaStepTolerance, 1, steps); ++steps) {
    // L = ln of the Beta(a/2, b/2) density at r, D = L', E = 1 / density.
    const long double L = (std::log(r) * aHalfLess1 + K) + std::log(1 - r) * bHalfLess1;
    const long double D = aHalfLess1 / r - bHalfLess1 / (1 - r);
    const long double E = std::exp(-L);
    long double step;
    if (std::fabs((f - y) * D) * E < kBetaNewtonZone) {
      step = E * (y - f);  // Newton, as I_r' = density (also where D = 0)
    } else {
      // Exact when the density is exp(L + D (t - r)) between r and the root.
      step = std::log(1 - E * ((f - y) * D)) / D;
    }
    long double next = r + step;
    if (!(next > 0 && next < 1)) {
      // Halve the step until the iterate stays inside (0, 1).  At worst it
      // shrinks until r + step rounds to r, which is inside.
      do {
        FloatScope::Check();  // a step that is NaN or infinite stems from a raised flag
        if (std::isnan(step)) throw EInvalidOp();
        step = step / 2;
        next = r + step;
      } while (!(next > 0 && next < 1));
      step = next - r;
    }
    r = next;
    f = BetaHalf(a, b, r);
    delta = std::fabs(step) / r / (1 - r);
    FloatScope::Check();
  }
  return scope.Done(r);
}

// BetaHalfInverse with the smaller parameter first, by
// I_r(a, b) = y  <=>  I_(1-r)(b, a) = 1 - y.
long double BetaHalfInverseOriented(int32_t a, int32_t b, long double y) {
  FloatScope scope;
  if (b < a) return scope.Done(1 - BetaHalfInverse(b, a, 1 - y));
  return scope.Done(BetaHalfInverse(a, b, y));
}

// The x >= 0 with P(F > x) = y for F(a, b): with c the root of
// I_c(b/2, a/2) = y, x = (b/a) (1 - c) / c, inverting c = b / (a x + b).
// 0 for y = 1; y = 0 divides by c = 0 and raises EZeroDivide.
long double FTailInverse(int32_t a, int32_t b, long double y) {
  FloatScope scope;
  RequireWhole(a);
  RequireWhole(b);
  const long double c = BetaHalfInverseOriented(b, a, y);
  return scope.Done(((Real(b) / a) * (1 - c)) / c);
}

// The t with P(T > t) = y for t(n), by T^2 ~ F(1, n): P(T > t) = P(F > t^2) / 2
// for t >= 0, mirrored for y > 1/2.  Exactly 0 for y = 1/2; y = 0 and y = 1
// raise EZeroDivide.
long double TTailInverse(int32_t n, long double y) {
  FloatScope scope;
  RequireWhole(n);
  if (y > 0.5L) return scope.Done(-std::sqrt(FTailInverse(1, n, (1 - y) * 2)));
  return scope.Done(std::sqrt(FTailInverse(1, n, y * 2)));
}

}  // namespace Distr
