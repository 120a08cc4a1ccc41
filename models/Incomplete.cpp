// Boost's incomplete gamma and beta functions with the engine's prefixes
// (Incomplete.h), the uniform expansion for large parameters and the first
// order for tiny ones.  Which tail Boost computes directly is read off its
// own choices in Boost 1.74: Temme's expansion for P and Q in the middle
// (gamma.hpp), the lambda test that orients I_x(a, b) (beta.hpp); the tests
// against independent values hold the engine to them.
#include "models/Incomplete.h"

#include <array>
#include <boost/math/constants/constants.hpp>
#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/expint.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cfloat>
#include <cmath>
#include <optional>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/NormalTail.h"
#include "models/Stirling.h"

namespace models {

namespace {

// Whether Boost takes P(a, x) and Q(a, x) from Temme's expansion: for a > 200
// while ((x - a)/a)^2 < 20/a.  That value is accurate as it is.
bool BoostUsesTemme(long double a, long double x) {
  const long double sigma = (x - a) / a;
  return a > 200 && 20 / a > sigma * sigma;
}

// Whether Boost swaps (a, x) with (b, y): when lambda < 0.  The swap
// inverts the tail it computes, so that with both parameters from
// kBoostBetaLimit on, the tail it returns is its power terms times a
// continued fraction exactly when upper equals the swap, and one minus that
// otherwise.
bool BoostBetaSwaps(long double a, long double b, long double x, long double y) {
  const long double lambda = a < b ? a - (a + b) * x : (a + b) * y - b;
  return lambda < 0;
}

// tail / boostDensity * density, unless Boost's density has underflowed.
long double Exchanged(long double tail, long double boostDensity, long double density) {
  if (!(boostDensity >= LDBL_MIN)) return tail;
  return tail / boostDensity * density;
}

}  // namespace

namespace {

// ---- Large parameters: the uniform expansion ----
//
// For the beta with a <= b, q = a / b, x0 = a / (a + b), and for the gamma
// (q = 0, x0 = a), with u = x / x0 - 1 and the deviance D of the saddle-point
// term (Stirling.h),
//   D / a = xi^2 / 2 = sum_{n >= 2} ((-1)^n + q^(n-1)) u^n / n,
// xi of the sign of u.  The tail beyond x on the far side of the mean (the
// upper tail for u > 0, the lower one for u < 0) is, as Temme showed for the
// gamma (with his C_k = H_k less the Stirling series),
//   erfc(sqrt(D)) / 2 + sign(u) e^(stirling - D) / sqrt(2 pi a) sum_k H_k(xi) / a^k,
// stirling = s(a + b) - s(a) - s(b) of Stirling.h (the gamma's -s(a)), where
// with F(xi) = xi / (u sqrt(1 + q)) (F(0) = 1), H_0 = (F - 1) / xi and
// H_k = (F_k - F_k(0)) / xi, F_k = H_(k-1)'.  Each H_k is a power series in
// xi of radius about 2 sqrt(pi), taken here by reverting the series of xi in
// u; the tails of the extended range need |xi| <= 151 / sqrt(a), below 0.5
// from kLargeParameter on, where H_0..H_3 leave less than 1e-22 and the
// series' 21 terms and more less still.  Both parts of the tail fall as e^-D
// and the second is at most 0.05 of the first: with D as a pair, the tail is
// as accurate as erfc down to the bottom of the range, and it costs a few
// microseconds where Boost's series and fractions would take sqrt(a) terms
// (beyond some 10^10 they do not converge at all).
constexpr int kSeriesLength = 28;
constexpr int kExpansionOrders = 4;
using Series = std::array<long double, kSeriesLength>;

Series Product(const Series& p, const Series& q) {
  Series r{};
  for (int i = 0; i < kSeriesLength; ++i)
    for (int j = 0; i + j < kSeriesLength; ++j) r[i + j] += p[i] * q[j];
  return r;
}

// 1 / p and sqrt(p), for p[0] > 0.
Series Reciprocal(const Series& p) {
  Series r{};
  r[0] = 1 / p[0];
  for (int n = 1; n < kSeriesLength; ++n) {
    long double sum = 0;
    for (int k = 1; k <= n; ++k) sum += p[k] * r[n - k];
    r[n] = -sum * r[0];
  }
  return r;
}

Series SquareRoot(const Series& p) {
  Series r{};
  r[0] = std::sqrt(p[0]);
  for (int n = 1; n < kSeriesLength; ++n) {
    long double sum = p[n];
    for (int k = 1; k < n; ++k) sum -= r[k] * r[n - k];
    r[n] = sum / (2 * r[0]);
  }
  return r;
}

using ExpansionSeries = std::array<Series, kExpansionOrders>;

// H_0 .. H_3 for q.  With w = u sqrt(1 + q), xi = w sigma(w); Lagrange's
// inversion gives w = xi W(xi), the coefficient of xi^n in w being that of
// w^(n-1) in sigma^-n, over n; then F = 1 / W.
ExpansionSeries ExpansionFor(long double q) {
  Series g{};  // xi^2 / w^2
  long double power = q;
  for (int n = 2; n < kSeriesLength + 2; ++n, power *= q)
    g[n - 2] = 2 * ((n % 2 == 0 ? 1 : -1) + power) / (n * (1 + q));
  Series sigma = SquareRoot(g);
  const long double shrink = 1 / std::sqrt(1 + q);
  long double scale = 1;
  for (long double& c : sigma) c *= scale, scale *= shrink;
  const Series inverse = Reciprocal(sigma);
  Series w{}, inversePower = inverse;
  for (int n = 1; n <= kSeriesLength; ++n) {
    w[n - 1] = inversePower[n - 1] / n;
    inversePower = Product(inversePower, inverse);
  }
  ExpansionSeries h{};
  Series f = Reciprocal(w);
  for (int k = 0; k < kExpansionOrders; ++k) {
    for (int i = 0; i + 1 < kSeriesLength; ++i) h[k][i] = f[i + 1];
    for (int i = 0; i + 1 < kSeriesLength; ++i) f[i] = (i + 1) * h[k][i + 1];
    f[kSeriesLength - 1] = 0;
  }
  return h;
}

// The series of the last q asked for on this thread (a quantile asks for the
// same q some dozens of times).
const ExpansionSeries& ExpansionAt(long double q) {
  static thread_local long double lastQ = -1;
  static thread_local ExpansionSeries last{};
  if (q != lastQ) last = ExpansionFor(q), lastQ = q;
  return last;
}

// sum_k H_k(xi) / a^k; H_k has kSeriesLength - 1 - 2k good coefficients.
long double ExpansionSum(long double a, long double q, long double xi) {
  const ExpansionSeries& h = ExpansionAt(q);
  long double sum = 0;
  for (int k = kExpansionOrders - 1; k >= 0; --k) {
    long double value = 0;
    for (int i = kSeriesLength - 2 - 2 * k; i >= 0; --i) value = value * xi + h[k][i];
    sum = sum / a + value;
  }
  return sum;
}

// The tail beyond x on the far side of the mean: the upper one when above.
long double FarSideTail(long double a, long double q, const ExtendedPair& deviance,
                        long double stirling, bool above) {
  if (!(deviance.hi < HUGE_VALL)) return 0;
  const long double root = std::sqrt(deviance.hi);
  const ExtendedPair square = TwoProduct(root, root);
  const long double rootLo =
      root > 0 ? (((deviance.hi - square.hi) - square.lo) + deviance.lo) / (2 * root) : 0;
  const long double xi = (above ? root : -root) * std::sqrt(2 / a);
  const long double twoPi = boost::math::constants::two_pi<long double>();
  const long double half = HalfErfc({root, rootLo});
  const long double term = std::exp(stirling - deviance.hi) * (1 - deviance.lo);
  if (term == 0) return half;  // then xi is too large for the series, and both parts are 0
  const long double correction = term / std::sqrt(twoPi * a) * ExpansionSum(a, q, xi);
  return half + (above ? correction : -correction);
}

long double LargeGammaTail(long double a, long double x, bool upper) {
  const bool above = x > a;
  const long double tail = FarSideTail(a, 0, PoissonDeviance(a, x), -StirlingError(a), above);
  return upper == above ? tail : 1 - tail;
}

}  // namespace

std::optional<long double> LargeBetaTail(long double a, long double b, long double x,
                                         long double y, const ExtendedPair& delta, bool upper) {
  if (!(std::fmin(a, b) >= kLargeParameter) || !(x > 0 && y > 0)) return std::nullopt;
  ExtendedPair d = delta;
  if (a > b) std::swap(a, b), std::swap(x, y), d = {-d.hi, -d.lo}, upper = !upper;
  const bool above = d.hi < 0;  // x beyond the mean a / (a + b)
  const long double stirling = StirlingError(a + b) - StirlingError(a) - StirlingError(b);
  const long double tail = FarSideTail(a, a / b, BetaDeviance(a, b, x, y, d), stirling, above);
  return upper == above ? tail : 1 - tail;
}

namespace {

// Below this shape the gamma is taken to first order in a: with
// Gamma(a) = 1/a - gamma + O(a) and Gamma(a, x) = E1(x) + O(a ln^2 x),
//   Q(a, x) = a E1(x),  P(a, x) = 1 - Q(a, x),  density (a / x) x^a e^-x,
// their neglected terms below 1e-22 of them for any x of the extended range.
// Boost's own forms divide by a, which a shape near the bottom of the range
// overflows.
long double TinyShapeTail(long double a, long double x, bool upper) {
  const long double q = a * boost::math::expint(1, x, BoostPolicy());
  return upper ? q : 1 - q;
}

}  // namespace

long double GammaDensity(long double a, long double x) {
  if (a < kTinyShape && x > 0) return a / x * std::exp(a * std::log(x) - x);
  if (a < 1 || x == 0) return boost::math::gamma_p_derivative(a, x, BoostPolicy());
  return PoissonTerm(a - 1, x);
}

long double GammaTail(long double a, long double x, bool upper) {
  if (a >= kLargeParameter && x > 0 && std::isfinite(x)) return LargeGammaTail(a, x, upper);
  if (a < kTinyShape && x > 0) return TinyShapeTail(a, x, upper);
  const long double tail =
      upper ? boost::math::gamma_q(a, x, BoostPolicy()) : boost::math::gamma_p(a, x, BoostPolicy());
  if (a <= kBoostGammaLimit || BoostUsesTemme(a, x) || tail == 0) return tail;
  // Outside Temme's range the tail below 1e-6 is the direct one.
  if (tail > 0.5L) return 1 - GammaTail(a, x, !upper);
  return Exchanged(tail, boost::math::gamma_p_derivative(a, x, BoostPolicy()), GammaDensity(a, x));
}

namespace {

// ln x for x + y = 1, from the one below 1/2 (ln(1 - y) for x near 1, where
// x has lost the digits y keeps).
long double LogOfEither(long double x, long double y) {
  return x <= 0.5L ? std::log(x) : std::log1p(-y);
}

}  // namespace

long double BetaDensity(long double a, long double b, long double x, long double y,
                        long double saddle) {
  // Below kTinyShape, 1 / B(a, b) is ab / (a + b) to first order (a alone:
  // a), where the saddle-point term's factors overflow.
  if (std::fmin(a, b) < kTinyShape) {
    const long double power = a * LogOfEither(x, y) + b * LogOfEither(y, x);
    const long double factor = a / (x * y) * (b / (a + b));
    if (std::isfinite(factor) && factor > 0) return factor * std::exp(power);
    return std::exp(power + std::log(a) - std::log(x) - std::log(y) + std::log(b / (a + b)));
  }
  return saddle * (a * (b / (a + b))) / (x * y);
}

namespace {

// I_x(a, b) when upper is false, else 1 - I_x(a, b), for a and b below
// kBoostBetaLimit and 0 < x < 1, without a power function: the engine's
// prefix x^a y^b / (a B(a, b)) = saddle b / (a + b) times the continued
// fraction
//   1 / (1 + d1 / (1 + d2 / (1 + ...))),
//   d(2m+1) = -(a + m)(a + b + m) x / ((a + 2m)(a + 2m + 1)),
//   d(2m) = m (b - m) x / ((a + 2m - 1)(a + 2m)),
// evaluated by the modified Lentz method.  It converges quickly for x below
// (a + 1) / (a + b + 2), in a few dozen terms for parameters below
// kBoostBetaLimit; above that point the fraction is taken for I_y(b, a)
// instead.  The tail so computed is the one short of that point, and the
// other, one minus it, is at least about 0.08 for parameters from 1/2 on.
// None where the fraction has not converged within kMaxFractionTerms.
constexpr int kMaxFractionTerms = 1000;
constexpr long double kFractionTolerance = 0x1p-64L;
constexpr long double kLentzTiny = 1e-4000L;

long double LentzDenominator(long double v) {
  return std::fabs(v) < kLentzTiny ? kLentzTiny : v;
}

// The modified Lentz method's running ratios; Step takes the next partial
// numerator an and denominator bn and gives the factor by which the
// convergent changes.
struct Lentz {
  long double c, d;
  long double Step(long double an, long double bn) {
    d = 1 / LentzDenominator(bn + an * d);
    c = LentzDenominator(bn + an / c);
    return d * c;
  }
};

// The tail asked for from the one a fraction computed directly: that one
// itself when asked, else one minus it, unless the direct one is beyond
// kLargestDirect (for parameters below about 0.05 the direct tail may be
// 1 - 1e-10 where the other is 1e-10: none then, and Boost computes the
// other by itself).
constexpr long double kLargestDirect = 0.9L;

std::optional<long double> Oriented(long double direct, bool asked) {
  if (asked) return direct;
  if (direct > kLargestDirect) return std::nullopt;
  return 1 - direct;
}

std::optional<long double> BetaFraction(long double a, long double b, long double x) {
  Lentz lentz{1, 1 / LentzDenominator(1 - (a + b) * x / (a + 1))};
  long double h = lentz.d;
  for (int m = 1; m <= kMaxFractionTerms; ++m) {
    const long double twoM = 2.0L * m;
    h *= lentz.Step(m * (b - m) * x / ((a + twoM - 1) * (a + twoM)), 1);
    const long double change =
        lentz.Step(-(a + m) * (a + b + m) * x / ((a + twoM) * (a + twoM + 1)), 1);
    h *= change;
    if (std::fabs(change - 1) <= kFractionTolerance) return h;
  }
  return std::nullopt;
}

std::optional<long double> FractionTail(long double a, long double b, long double x, long double y,
                                        bool upper, long double saddle) {
  const bool swap = x > (a + 1) / (a + b + 2);
  if (swap) std::swap(a, b), std::swap(x, y);
  const std::optional<long double> fraction = BetaFraction(a, b, x);
  if (!fraction) return std::nullopt;
  // x^a y^b / (a B(a, b)) = saddle b / (a + b), symmetric in the swap.
  const long double direct = saddle * (b / (a + b)) * *fraction;
  return Oriented(direct, upper == swap);
}

// For one parameter below kBoostBetaLimit and the other from it on, where
// the fraction above, taken in the variable near 1, would lose digits in
// proportion to 1 / (1 - x) (each of its denominators is then a small
// difference of terms near 1), and where Boost's own routes lose up to 1e-12
// (for a small b and large a, above all its finite sum of terms before
// Didonato and Morris's asymptotic expansion, F(20, 3627) at 1.6693 off by
// 7e-14): their continued fraction
//   I_x(a, b) = x^a y^b / B(a, b) / (b0 + a1 / (b1 + a2 / (b2 + ...))),
//   a_m = (a + m - 1)(a + b + m - 1) m (b - m) x^2 / (a + 2m - 1)^2,
//   b_m = m + m (b - m) x / (a + 2m - 1)
//         + (a + m)(a y - b x + 1 + m (2 - x)) / (a + 2m + 1),
// which takes y where it matters (a y stays exact for large a and x near 1),
// for lambda = a - (a + b) x (or (a + b) y - b when a >= b) from 0 on, that
// is below the mean, the orientation Boost's lambda test chooses (lambda is
// a y - b x either way).  It converges in at most a few hundred terms even
// for a parameter of 10^15 against one of 1/2.  The tail so computed is at
// most about P(c, c) for the smaller parameter c (0.68 at c = 1/2, 0.9 at
// c = 0.05; 1/2 at the mean for large ones), so the other one, one minus it,
// keeps its digits.
std::optional<long double> LambdaFraction(long double a, long double b, long double x,
                                          long double y) {
  const long double b0 = a * (a * y - b * x + 1) / (a + 1);
  long double f = LentzDenominator(b0);
  Lentz lentz{f, 0};
  for (int m = 1; m <= kMaxFractionTerms; ++m) {
    const long double odd = a + 2 * m - 1;
    const long double an = (a + m - 1) / odd * ((a + b + m - 1) / odd) * m * (b - m) * x * x;
    const long double bn =
        m + m * (b - m) * x / odd + (a + m) * (a * y - b * x + 1 + m * (2 - x)) / (odd + 2);
    const long double change = lentz.Step(an, bn);
    f *= change;
    if (std::fabs(change - 1) <= kFractionTolerance) return f;
  }
  return std::nullopt;
}

std::optional<long double> LambdaTail(long double a, long double b, long double x, long double y,
                                      bool upper, long double saddle) {
  const bool swap = BoostBetaSwaps(a, b, x, y);
  if (swap) std::swap(a, b), std::swap(x, y);
  const std::optional<long double> fraction = LambdaFraction(a, b, x, y);
  if (!fraction) return std::nullopt;
  // x^a y^b / B(a, b) = saddle a b / (a + b), symmetric in the swap.
  const long double direct = saddle * (a * (b / (a + b))) / *fraction;
  return Oriented(direct, upper == swap);
}

}  // namespace

namespace {

// 1 - I_x(a, b) when upper, else I_x(a, b), for a or b below kTinyShape, to
// first order in it.  With both tiny, 1 / B(a, b) = ab / (a + b) and
//   I_x(a, b) = (b / (a + b)) x^a - (ab / (a + b)) ln y,
//   1 - I_x(a, b) = (a / (a + b)) y^b - (ab / (a + b)) ln x;
// with a alone tiny, 1 - I_x(a, b) = a int_x^1 (1 - t)^(b-1) / t dt, linear
// in a: Boost's at a = kTinyShape, scaled (Boost's own divides by a, which
// overflows near the bottom of the range); b alone, mirrored.
long double TinyParameterTail(long double a, long double b, long double x, long double y,
                              bool upper) {
  if (a < kTinyShape && b < kTinyShape) {
    const long double harmonic = a * (b / (a + b));
    const long double logX = LogOfEither(x, y), logY = LogOfEither(y, x);
    if (upper) return a / (a + b) * std::exp(b * logY) - harmonic * logX;
    return b / (a + b) * std::exp(a * logX) - harmonic * logY;
  }
  if (b < kTinyShape) return TinyParameterTail(b, a, y, x, !upper);
  const long double above = boost::math::ibetac(kTinyShape, b, x, BoostPolicy()) * (a / kTinyShape);
  return upper ? above : 1 - above;
}

}  // namespace

long double BetaTail(long double a, long double b, long double x, long double y, bool upper,
                     long double saddle) {
  if (std::fmin(a, b) < kTinyShape && x > 0 && y > 0) return TinyParameterTail(a, b, x, y, upper);
  if (a < kBoostBetaLimit && b < kBoostBetaLimit && x > 0 && y > 0)
    if (const auto tail = FractionTail(a, b, x, y, upper, saddle)) return *tail;
  if ((a < kBoostBetaLimit) != (b < kBoostBetaLimit) && x > 0 && y > 0)
    if (const auto tail = LambdaTail(a, b, x, y, upper, saddle)) return *tail;
  if (a < kBoostBetaLimit || b < kBoostBetaLimit)
    return upper ? boost::math::ibetac(a, b, x, BoostPolicy())
                 : boost::math::ibeta(a, b, x, BoostPolicy());
  if (upper != BoostBetaSwaps(a, b, x, 1 - x)) return 1 - BetaTail(a, b, x, y, !upper, saddle);
  // Boost's ibeta and ibetac are this call; it also hands back its power
  // terms over x y, taken with the very arguments the tail took them with.
  long double boostDensity = -1;
  const long double tail =
      boost::math::detail::ibeta_imp(a, b, x, BoostPolicy(), upper, true, &boostDensity);
  if (tail == 0) return tail;
  return Exchanged(tail, boostDensity, BetaDensity(a, b, x, y, saddle));
}

}  // namespace models
