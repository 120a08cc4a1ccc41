// Boost's incomplete gamma and beta functions with the engine's prefixes
// (Incomplete.h).  Which tail Boost computes directly is read off its own
// choices in Boost 1.74: Temme's expansion for P and Q in the middle
// (gamma.hpp), the lambda test that orients I_x(a, b) (beta.hpp); the tests
// against independent values hold the engine to them.
#include "models/Incomplete.h"

#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cfloat>
#include <cmath>
#include <optional>
#include <utility>

#include "models/BoostPolicy.h"
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

long double GammaDensity(long double a, long double x) {
  if (a < 1 || x == 0) return boost::math::gamma_p_derivative(a, x, BoostPolicy());
  return PoissonTerm(a - 1, x);
}

long double GammaTail(long double a, long double x, bool upper) {
  const long double tail =
      upper ? boost::math::gamma_q(a, x, BoostPolicy()) : boost::math::gamma_p(a, x, BoostPolicy());
  if (a <= kBoostGammaLimit || BoostUsesTemme(a, x) || tail == 0) return tail;
  // Outside Temme's range the tail below 1e-6 is the direct one.
  if (tail > 0.5L) return 1 - GammaTail(a, x, !upper);
  return Exchanged(tail, boost::math::gamma_p_derivative(a, x, BoostPolicy()), GammaDensity(a, x));
}

long double BetaDensity(long double a, long double b, long double x, long double y,
                        long double saddle) {
  return saddle * (a * b / (a + b)) / (x * y);
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
  return upper == swap ? direct : 1 - direct;
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
  const long double direct = saddle * (a * b / (a + b)) / *fraction;
  return upper == swap ? direct : 1 - direct;
}

}  // namespace

long double BetaTail(long double a, long double b, long double x, long double y, bool upper,
                     long double saddle) {
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
