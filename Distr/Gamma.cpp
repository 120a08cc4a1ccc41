// The gamma family: ln Gamma at halves of whole numbers, the upper
// regularized incomplete gamma function Q(n/2, x), the normal, chi-square and
// Poisson tails that reduce to it, and the inverses of the normal and gamma
// tails.
//
// Every expression is written in the order in which it is evaluated, one
// rounded operation after another.  Do not reorder or "simplify" them: the
// last bits of the results, and sometimes a printed digit, depend on it.
#include <array>
#include <cmath>

#include "Distr/Checked.h"
#include "Distr/Distr.h"
#include "Distr/GammaLimits.h"

namespace Distr {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kTwoPi = 6.283185307179586476925286766559005768L;
constexpr long double kOneOver360 = 1.0L / 360;

// ln Gamma(n/2) is summed directly up to this n, and by Stirling's series above.
constexpr int32_t kStirlingSwitch = 500;
// The upper sum of Q(h, x) is used only from this x on (and for x >= h); its
// odd-n remainder erfc(sqrt(x)) is below 5e-20 there.
constexpr long double kUpperSumFloor = 42;
// A first series term e^t with t at or below this is taken as 0.
constexpr long double kNegligibleExponent = -1000;
// The rest of the lower series is bounded by term * (h+k) / (h+k-x) <= this.
constexpr long double kLowerSeriesBound = 1e-20L;
// The rest of the upper sum is bounded by term * x / (x-h+k) <= 2 * this.
constexpr long double kUpperSumBound = 5e-21L;
// NormalTailInverse: Newton step while |z| is below this, logarithmic step above.
constexpr long double kNormalNewtonZone = 0.01L;
constexpr long double kNormalStepTolerance = 1e-10L;
// GammaTailInverse: Newton step while |u| is below this, logarithmic step above.
constexpr long double kGammaNewtonZone = 1e-5L;
constexpr long double kGammaStepTolerance = 1e-7L;
// GammaTailInverse starts at the mean up to this n, from Fisher's approximation above.
constexpr int32_t kMeanStartLimit = 100;
// Both inverses settle within about ten steps for every probability the
// reports pass, up to degrees of freedom near 10^8; past this many steps the
// relative bound of GammaLimits.h may end them.
constexpr int kGammaPlainSteps = 12;

// ln(2 pi) / 2, evaluated once: the same bits as evaluating it at every use.
long double LnHalfOf2Pi() {
  static const long double value = std::log(kTwoPi) / 2;
  return value;
}

// ln Gamma(n/2) for n <= kStirlingSwitch by the exact recurrence
// Gamma(h) = (h-1) Gamma(h-1) down to Gamma(1) = 1 or Gamma(1/2) = sqrt(pi),
// summed from the largest factor down; 0 for n <= 0 and n = 2.
long double LnGammaHalfDirectSum(int32_t n) {
  long double r = 0;
  int32_t m = n;
  while (m > 2) {
    m = Sub(m, 2);
    r = r + std::log(static_cast<long double>(m) / 2);
  }
  if (m == 1) r = r + std::log(kPi) / 2;
  return r;
}

// The direct sums for n = 0 .. kStirlingSwitch, each computed once by
// LnGammaHalfDirectSum itself: an entry holds exactly the bits that summing
// anew would give (the sum reads nothing but n and the rounding mode, which
// stays round-to-nearest), at the cost of one lookup instead of up to 249
// logarithms.  Built on first use, thread-safely.
const std::array<long double, kStirlingSwitch + 1>& DirectSums() {
  static const auto table = [] {
    std::array<long double, kStirlingSwitch + 1> sums;
    for (int32_t n = 0; n <= kStirlingSwitch; ++n) sums[n] = LnGammaHalfDirectSum(n);
    return sums;
  }();
  return table;
}

}  // namespace

long double LnGammaHalf(int32_t n) {
  FloatScope scope;
  if (n <= kStirlingSwitch) {
    // The direct sum, from the table; every n <= 0 gives 0 like n = 0.
    return scope.Done(n <= 0 ? 0.0L : DirectSums()[n]);
  }
  // Stirling: (h - 1/2) ln h - h + ln(2 pi)/2 + 1/(12h) - 1/(360 h^3).
  const long double h = static_cast<long double>(n) / 2;
  const long double a = LnHalfOf2Pi();
  const long double b = std::log(h) * (h - 0.5L) + a;
  const long double c = (b - h) + 1 / (h * 12);
  return scope.Done(c - ((kOneOver360 / h) / h) / h);
}

long double GammaTail(int32_t n, long double x) {
  FloatScope scope;
  const long double h = static_cast<long double>(n) / 2;
  if (!(x > 0)) return 1;

  if (x >= h && x >= kUpperSumFloor) {
    // Upper sum: Q(h, x) = sum over k of x^(h-1-k) e^-x / Gamma(h-k), each term
    // the previous one times (h-k)/x, while h-k >= 1.  For even n this is the
    // finite sum e^-x sum_{j<h} x^j/j!; for odd n it leaves out erfc(sqrt(x)).
    const long double t = (std::log(x) * (h - 1) - x) - LnGammaHalf(n);
    long double term = t > kNegligibleExponent ? std::exp(t) : 0;
    long double sum = 0;
    int32_t i = 0;
    FloatScope::Check();
    for (;;) {
      FloatScope::CheckSeries();
      if (term * x <= (((2 * x) - n) + i) * kUpperSumBound) break;
      if (Sub(n, i) < 2) break;
      sum = sum + term;
      i = Add(i, 2);
      term = ((static_cast<long double>(Sub(n, i)) * term) / 2) / x;
    }
    return scope.Done(std::fabs(sum));
  }

  // Lower series: P(h, x) = sum over k of x^(h+k) e^-x / Gamma(h+k+1), each
  // term the previous one times x/(h+k+1); Q = 1 - P.
  const long double t = (std::log(x) * h - x) - LnGammaHalf(Add(n, 2));
  long double term = t > kNegligibleExponent ? std::exp(t) : 0;
  long double sum = 0;
  int32_t i = 0;
  FloatScope::Check();
  for (;;) {
    FloatScope::CheckSeries();
    const int32_t ni = Add(n, i);
    if (term * ni <= (ni - (2 * x)) * kLowerSeriesBound) break;
    sum = sum + term;
    term = ((term * 2) * x) / Add(ni, 2);
    i = Add(i, 2);
  }
  return scope.Done(std::fabs(1 - sum));
}

long double NormalTail(long double z) {
  FloatScope scope;
  // P(Z > z) = Q(1/2, z^2/2) / 2 for z >= 0, mirrored for z < 0.
  long double q = GammaTail(1, (z * z) / 2) / 2;
  if (z < 0) q = 1 - q;
  return scope.Done(q);
}

long double ChiSquareTail(int32_t n, long double x) {
  FloatScope scope;
  return scope.Done(GammaTail(n, x / 2));
}

long double PoissonTail(int32_t k, long double lambda) {
  FloatScope scope;
  // P(X >= k) = P(k, lambda) = 1 - Q(k, lambda).
  return scope.Done(1 - GammaTail(Mul(2, k), lambda));
}

long double NormalTailInverse(long double p) {
  FloatScope scope;
  // Started at the median; the iterates move monotonically towards the root.
  long double z = 0;
  long double q = 0.5L;  // NormalTail(0)
  long double delta = 1;
  const long double lnHalf2Pi = LnHalfOf2Pi();
  for (int steps = 0; !InverseSettled(delta, kNormalStepTolerance, z, steps, kGammaPlainSteps); ++steps) {
    const long double zOld = z;
    // e = ln phi(z), so e^-e = 1/phi(z).
    const long double e = (-lnHalf2Pi) - (z * z) / 2;
    if (std::fabs(z) < kNormalNewtonZone) {
      z = std::exp(-e) * (q - p) + z;  // Newton, as NormalTail' = -phi
    } else {
      // Logarithmic step, multiplied by +z (not by -z, the slope of ln phi):
      // it agrees with Newton to first order and is shorter far from the root.
      z = std::log(std::exp(-e) * ((q - p) * z) + 1) / z + z;
    }
    q = NormalTail(z);
    delta = std::fabs(z - zOld);
    FloatScope::Check();
  }
  return scope.Done(z);
}

long double GammaTailInverse(int32_t n, long double p) {
  FloatScope scope;
  const long double g = -LnGammaHalf(n);
  if (n == 1) {
    // Q(1/2, x) = erfc(sqrt(x)) = 2 P(Z > sqrt(2x)).
    const long double z = NormalTailInverse(p / 2);
    return scope.Done((z * z) / 2);
  }
  long double x;
  if (n > kMeanStartLimit) {
    // Fisher: sqrt(2 chi^2) ~ sqrt(2n - 1) + z, taken for x = chi^2 / 2.
    const long double z = NormalTailInverse(p);
    const long double root = std::sqrt(static_cast<long double>(Sub(Mul(2, n), 1))) + z;
    x = (root * root) / 4;
  } else {
    x = static_cast<long double>(n) / 2;  // the mean
  }
  long double delta = 1;
  long double q = GammaTail(n, x);
  for (int steps = 0; !InverseSettled(delta, kGammaStepTolerance, x, steps, kGammaPlainSteps); ++steps) {
    const long double xOld = x;
    const long double hm1 = static_cast<long double>(n) / 2 - 1;
    // L = ln f(x) for the gamma density f(x) = x^(h-1) e^-x / Gamma(h); c = (ln f)'.
    const long double L = ((std::log(x) * hm1) + g) - x;
    const long double c = (hm1 / x) - 1;
    const long double u = std::exp(-L) * ((q - p) * c);
    if (std::fabs(u) < kGammaNewtonZone) {
      x = std::exp(-L) * (q - p) + x;  // Newton, as Q' = -f
    } else {
      x = std::log(u + 1) / c + x;  // exact when f(x + d) = f(x) e^(c d)
    }
    q = GammaTail(n, x);
    delta = std::fabs(x - xOld);
    FloatScope::Check();
  }
  return scope.Done(x);
}

long double ChiSquareTailInverse(int32_t n, long double p) {
  FloatScope scope;
  return scope.Done(GammaTailInverse(n, p) * 2);
}

}  // namespace Distr
