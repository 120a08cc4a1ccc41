// The gamma family for real shapes: ln Gamma, the regularized incomplete
// gamma functions P(a, x) and Q(a, x), and their inverse.
//
// Every probability is the power term x^a e^-x / Gamma(a + 1) times a sum:
// the series of P for x < a + 1, Legendre's continued fraction of Q above.
// The power term never passes through x^a or Gamma(a) for large a: it is
// exp(-a D(x/a)) / (sqrt(2 pi a) Gamma*(a)) with D(r) = r - 1 - ln r taken
// from its own series near r = 1 and Gamma* the remainder of Stirling's
// formula, so that it is exact to a few units in the last place for a in the
// billions at x near a, where both sums still converge in O(sqrt a) terms.
// Where x < a + 1 leaves Q below 0.1 (only for a < 1), Q is summed directly
// from the expansion of the lower gamma function in powers of x.
#include <cmath>
#include <limits>

#include "Distr/RealShapes.h"
#include "Distr/RealShapesCore.h"
#include "Distr/RootSearch.h"

namespace Distr {

namespace {

constexpr long double kEulerGamma = 0.5772156649015328606065121L;
constexpr long double kLnSqrt2Pi = 0.9189385332046727417803297L;
constexpr long double kTwoPi = 6.283185307179586476925286766559005768L;
// zeta(k) for k = 2 .. 33, the coefficients of the series of ln Gamma(1 + a).
constexpr long double kZeta[] = {
    1.64493406684822643647242L, 1.20205690315959428539974L, 1.082323233711138191516L,
    1.03692775514336992633137L, 1.01734306198444913971452L, 1.0083492773819228268398L,
    1.00407735619794433937869L, 1.00200839282608221441785L, 1.00099457512781808533715L,
    1.0004941886041194645587L,  1.00024608655330804829864L, 1.00012271334757848914675L,
    1.00006124813505870482926L, 1.00003058823630702049355L, 1.00001528225940865187173L,
    1.00000763719763789976227L, 1.00000381729326499983986L, 1.00000190821271655393893L,
    1.00000095396203387279611L, 1.00000047693298678780646L, 1.00000023845050272773299L,
    1.00000011921992596531107L, 1.00000005960818905125948L, 1.00000002980350351465228L,
    1.00000001490155482836504L, 1.00000000745071178983543L, 1.00000000372533402478846L,
    1.00000000186265972351305L, 1.00000000093132743241967L, 1.00000000046566290650338L,
    1.00000000023283118336765L, 1.00000000011641550172701L};
// B_2k / (2k (2k - 1)) for k = 1 .. 10: Stirling's series of ln Gamma*(a).
constexpr long double kStirling[] = {
    1.0L / 12,        -1.0L / 360, 1.0L / 1260,       -1.0L / 1680,      1.0L / 1188,
    -691.0L / 360360, 1.0L / 156,  -3617.0L / 122400, 43867.0L / 244188, -174611.0L / 125400};
// ln Gamma(1 + a) is summed from its zeta series for |a| below this.
constexpr long double kZetaSeriesLimit = 0.2L;
// ln Gamma(b + a) - ln Gamma(b) for b below kStirlingFloor is summed from the
// zeta series for a below this, and is a plain difference above.
constexpr long double kShiftSeriesLimit = 0.1L;
// Stirling's series for ln Gamma*(a) from this a on (its first omitted term
// is below 2e-20 there); below it, ln Gamma* comes from the C library's lgamma.
constexpr long double kStirlingFloor = 10;
// D(r) comes from its series in r - 1 while |r - 1| is below this.
constexpr long double kLogExcessSeriesLimit = 0.5L;
// Below kStirlingFloor the power term is x^a e^-x / Gamma(a + 1) as a product
// up to this x (where e^-x is still a normal extended real), a logarithm above.
constexpr long double kProductCeiling = 11000;
// A series or continued fraction ends when its next contribution is below
// this relative to the sum.
constexpr long double kSumTolerance = 1e-21L;
// Q is taken as 1 - P while P is at most this (and P as 1 - Q likewise).
constexpr long double kComplementLimit = 0.9L;
// The quantiles end with this many Newton steps on x itself, each only
// while its relative size is below kPolishLimit.
constexpr int kPolishSteps = 2;
constexpr long double kPolishLimit = 1e-12L;
// A continued fraction has settled when a step changes it by at most two
// units in the last place (a step d c that rounds to 1 +- 1 ulp may recur).
constexpr long double kFractionSettled = 0x1p-62L;
// A continued-fraction denominator this small is replaced by it (Lentz).
constexpr long double kLentzTiny = 1e-4900L;
// The series of P and the continued fraction of Q take about 6 sqrt(a) terms
// at x near a; this bound only guards against a non-finite argument.
constexpr long kMaxTerms = 200000000;

// ln Gamma(a) by lgammal_r (thread-safe: no global sign).
long double LibraryLnGamma(long double a) {
  int sign;
  return lgammal_r(a, &sign);
}

// sum over n >= 0 of x^n / ((a+1) (a+2) ... (a+n)), for x < a + 1.  The rest
// after a term t is below t r / (1 - r) with r = x / (a + n + 1).
long double LowerSeries(long double a, long double x) {
  long double sum = 1, term = 1;
  for (long n = 1; n < kMaxTerms; ++n) {
    const long double denominator = a + n;
    term = term * x / denominator;
    sum = sum + term;
    if (term * x <= kSumTolerance * sum * (denominator + 1 - x)) break;
  }
  return sum;
}

// Legendre's continued fraction of Gamma(a, x) e^x x^-a, for x >= a + 1:
// 1 / (x + 1 - a - 1 (1 - a) / (x + 3 - a - 2 (2 - a) / (x + 5 - a - ...))),
// by the modified Lentz method.
long double UpperFraction(long double a, long double x) {
  long double b = x + 1 - a;
  long double c = 1 / kLentzTiny;
  long double d = 1 / b;
  long double h = d;
  for (long i = 1; i < kMaxTerms; ++i) {
    const long double an = -i * (i - a);
    b = b + 2;
    d = an * d + b;
    if (std::fabs(d) < kLentzTiny) d = kLentzTiny;
    c = b + an / c;
    if (std::fabs(c) < kLentzTiny) c = kLentzTiny;
    d = 1 / d;
    const long double delta = d * c;
    h = h * delta;
    if (std::fabs(delta - 1) <= kFractionSettled) break;
  }
  return h;
}

// Q(a, x) for a < 1 and x < 2 from gamma(a, x) = sum (-1)^n x^(a+n) / (n! (a+n)):
// Q = -(x^a / Gamma(1+a) - 1) - a (x^a / Gamma(1+a)) sum_{n>=1} (-x)^n / (n! (a+n)),
// the first difference taken by expm1 so that Q keeps its digits as a -> 0.
long double SmallShapeUpper(long double a, long double x) {
  const long double u = a * std::log(x) - LnGamma1p(a);
  const long double excess = std::expm1(u);
  long double sum = 0, power = 1;
  for (int n = 1; n < 200; ++n) {
    power = -power * x / n;
    const long double term = power / (a + n);
    sum = sum + term;
    if (std::fabs(term) <= kSumTolerance * std::fabs(sum)) break;
  }
  return -excess - a * (1 + excess) * sum;
}

// A start for the quantile of the tail (lower or upper) equal to q <= 1/2:
// the leading term of P for a small lower tail, of Q for a small upper tail,
// the Wilson-Hilferty cube otherwise.
long double GammaQuantileStart(long double a, long double q, bool lower) {
  const long double z = lower ? RoughNormalQuantile(q) : -RoughNormalQuantile(q);
  const long double c = 1 / (9 * a);
  const long double cube = 1 - c + z * std::sqrt(c);
  const long double wilson = cube > 0 ? a * cube * cube * cube : 0;
  if (lower) {
    // P ~ x^a / Gamma(a + 1) as x -> 0: the start for small shapes, and where
    // the cube fails.
    if (a >= 1 && wilson > 0) return wilson;
    const long double lnSmall = (std::log(q) + LnGamma1p(a)) / a;
    return lnSmall > -11000 ? std::exp(lnSmall) : 0;
  }
  // Q ~ x^(a-1) e^-x / Gamma(a) as x -> inf.
  const long double l = -std::log(q);
  const long double large = l + (a - 1) * std::log(l) - LnGammaReal(a);
  if (q < 0.01L && large > a && large > 1) return large;
  return wilson > 0 ? wilson : a;
}

// zeta(k) for k >= 2: the table, and 1 + 2^-k + 3^-k past it (4^-34 < 4e-21).
long double Zeta(int k) {
  if (k - 2 < static_cast<int>(sizeof kZeta / sizeof kZeta[0])) return kZeta[k - 2];
  return 1 + std::pow(2.0L, -k) + std::pow(3.0L, -k);
}

// ln Gamma(1 + g + a) - ln Gamma(1 + g) for |g| <= 1/2 and 0 <= a < kShiftSeriesLimit,
// from the zeta series term by term: -gamma a + sum_{k>=2} (-1)^k zeta(k) D_k / k
// with D_k = (g + a)^k - g^k = (g + a) D_{k-1} + a g^(k-1), free of cancellation.
long double LnGammaShiftSeries(long double g, long double a) {
  long double difference = a, gPower = 1, sum = 0;
  for (int k = 2; k < 400; ++k) {
    gPower = gPower * g;
    difference = (g + a) * difference + a * gPower;
    const long double term = ((k % 2 == 0) ? Zeta(k) : -Zeta(k)) * difference / k;
    sum = sum + term;
    if (std::fabs(term) <= kSumTolerance * std::fabs(sum)) break;
  }
  return sum - kEulerGamma * a;
}

}  // namespace

// A first guess at the standard normal quantile of the lower tail q <= 1/2
// (Abramowitz and Stegun 26.2.23, error below 5e-4): enough to start an
// iteration.
long double RoughNormalQuantile(long double q) {
  const long double t = std::sqrt(-2 * std::log(q));
  return -(t - (2.515517L + t * (0.802853L + t * 0.010328L)) /
                   (1 + t * (1.432788L + t * (0.189269L + t * 0.001308L))));
}

long double LnGammaShift(long double b, long double a) {
  if (b >= kStirlingFloor) {
    // Stirling: (b - 1/2) ln(1 + a/b) + a ln(a + b) - a + ln Gamma*(a + b) - ln Gamma*(b),
    // the last difference term by term, c_k b^-n ((1 + a/b)^-n - 1) with n = 2k - 1.
    const long double lnRatio = std::log1p(a / b);
    const long double inverse = 1 / b;
    const long double square = inverse * inverse;
    long double stars = 0, power = inverse;
    for (int k = 0; k < 10; ++k) {
      stars = stars + kStirling[k] * power * std::expm1(-(2 * k + 1) * lnRatio);
      power = power * square;
    }
    return (((b - 0.5L) * lnRatio + a * std::log(a + b)) - a) + stars;
  }
  if (a >= kShiftSeriesLimit) return LnGammaReal(a + b) - LnGammaReal(b);
  if (b < 0.5L) {
    // ln Gamma(z) = ln Gamma(1 + z) - ln z.
    return LnGammaShiftSeries(b, a) - std::log1p(a / b);
  }
  // b = f + m with f in [1/2, 3/2) (exact), and ln Gamma(z + 1) = ln Gamma(z) + ln z.
  const long double m = std::floor(b - 0.5L);
  const long double f = b - m;
  long double sum = LnGammaShiftSeries(f - 1, a);
  for (long double k = 0; k < m; k = k + 1) sum = sum + std::log1p(a / (f + k));
  return sum;
}

long double LnGamma1p(long double a) {
  if (std::fabs(a) < kZetaSeriesLimit) {
    // ln Gamma(1 + a) = -gamma a + sum_{k>=2} (-1)^k zeta(k) a^k / k.
    long double sum = 0, power = -a;  // (-a)^(k-1)
    for (int k = 2; k < 34; ++k) {
      power = -power * a;
      const long double term = kZeta[k - 2] * power / k;
      sum = sum + term;
      if (std::fabs(term) <= kSumTolerance * std::fabs(sum)) break;
    }
    return sum - kEulerGamma * a;
  }
  return LibraryLnGamma(1 + a);
}

long double LnGammaStar(long double a) {
  if (a < kStirlingFloor) return ((LibraryLnGamma(a) - (a - 0.5L) * std::log(a)) + a) - kLnSqrt2Pi;
  const long double inverse = 1 / a;
  const long double square = inverse * inverse;
  long double sum = 0;
  for (int k = 9; k >= 0; --k) sum = sum * square + kStirling[k];
  return sum * inverse;
}

long double LogExcess(long double rMinus1, long double r) {
  if (std::fabs(rMinus1) < kLogExcessSeriesLimit) {
    // ln r = 2 atanh z with z = (r-1)/(r+1), and r - 1 - 2z = (r - 1) z, so
    // D = (r - 1) z - 2 (z^3/3 + z^5/5 + ...).
    const long double z = rMinus1 / (2 + rMinus1);
    const long double z2 = z * z;
    long double power = z * z2, sum = 0;
    for (int k = 3; k < 200; k += 2) {
      const long double term = power / k;
      sum = sum + term;
      if (std::fabs(term) <= kSumTolerance * std::fabs(sum)) break;
      power = power * z2;
    }
    return rMinus1 * z - 2 * sum;
  }
  return rMinus1 - std::log(r);
}

long double GammaPowerTerm(long double a, long double x) {
  if (!(x > 0)) return a == 0 ? 1.0L : 0.0L;
  if (a < kStirlingFloor) {
    if (x < kProductCeiling) return std::pow(x, a) * std::exp(-x) / std::exp(LnGamma1p(a));
    return std::exp((a * std::log(x) - x) - LnGamma1p(a));
  }
  // exp(-a D(x/a)) / (sqrt(2 pi a) Gamma*(a)).
  const long double excess = a * LogExcess((x - a) / a, x / a);
  return std::exp(-excess - LnGammaStar(a)) / std::sqrt(kTwoPi * a);
}

long double LnGammaReal(long double a) {
  RequireShape(a);
  FloatScope scope;
  // Near the zeros at 1 and 2, from the series in the exact difference.
  if (std::fabs(a - 1) < kZetaSeriesLimit) return scope.Done(LnGamma1p(a - 1));
  if (std::fabs(a - 2) < kZetaSeriesLimit) {
    const long double u = a - 2;
    return scope.Done(LnGamma1p(u) + std::log1p(u));
  }
  if (a < kStirlingFloor) return scope.Done(LibraryLnGamma(a));
  return scope.Done((((a - 0.5L) * std::log(a) - a) + kLnSqrt2Pi) + LnGammaStar(a));
}

Tails GammaTails(long double a, long double x) {
  RequireShape(a);
  RequireArgument(x);
  FloatScope scope;
  if (!(x > 0)) return {0, 1};
  if (std::isinf(x)) return {1, 0};
  Tails tails;
  if (x < a + 1) {
    tails.lower = GammaPowerTerm(a, x) * LowerSeries(a, x);
    tails.upper = tails.lower <= kComplementLimit ? 1 - tails.lower : SmallShapeUpper(a, x);
  } else {
    tails.upper = (a * GammaPowerTerm(a, x)) * UpperFraction(a, x);
    tails.lower = 1 - tails.upper;
  }
  return scope.Done(Clamped(tails));
}

long double GammaQuantile(long double a, long double p, Tail tail) {
  RequireShape(a);
  RequireProbability(p);
  FloatScope scope;
  // Iterate on the tail whose target is at most 1/2 (1 - p is exact there).
  const bool lower = (tail == Tail::Lower) == (p <= 0.5L);
  const long double q = p <= 0.5L ? p : 1 - p;
  const long double lnQ = std::log(q);
  // Newton in t = ln x: dP/dt = x^a e^-x / Gamma(a), and g = ln(tail) - ln q
  // (with its sign turned for the upper tail), so that g is increasing in t.
  auto at = [&](long double x) -> Probe {
    const Tails tails = GammaTails(a, x);
    const long double value = lower ? tails.lower : tails.upper;
    if (!(value > 0)) return {lower ? -INFINITY : INFINITY, 0};
    const long double slope = (a * GammaPowerTerm(a, x)) / value;
    const long double difference = std::log(value) - lnQ;
    return {lower ? difference : -difference, slope};
  };
  auto g = [&](long double t) { return at(std::exp(t)); };
  // x stays within the normal extended reals; a lower quantile below them is 0.
  const long double kLowestT = std::log(std::numeric_limits<long double>::min());
  constexpr long double kHighestT = 11350;  // e^t overflows above about 11356
  const Tails edge = GammaTails(a, std::numeric_limits<long double>::min());
  if (lower ? edge.lower >= q : edge.upper <= q) {
    return scope.Done(0.0L);
  }
  const long double start = GammaQuantileStart(a, q, lower);
  const long double t0 = start > 0 ? std::log(start) : kLowestT / 2;  // inside (kLowestT, 0)
  long double x = std::exp(NewtonInBracket(g, t0, kLowestT, kHighestT));
  // e^t is within a few units in the last place of t, in relative terms:
  // Newton steps on x itself, x (1 - dt), bring it to within one of x.
  for (int step = 0; step < kPolishSteps; ++step) {
    const Probe probe = at(x);
    if (!std::isfinite(probe.value) || !(probe.slope > 0)) break;
    const long double dt = probe.value / probe.slope;
    if (!(std::fabs(dt) < kPolishLimit)) break;
    x = x - x * dt;
  }
  return scope.Done(x);
}

}  // namespace Distr
