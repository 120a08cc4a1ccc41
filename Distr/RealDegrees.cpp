// Chi-square, t and F with real degrees of freedom.
//
// Chi-square with df degrees of freedom is the gamma distribution of shape
// df/2 at x/2.  For t and F the beta argument is taken on the side where it
// is small, so that its complement is never formed from a number near 1:
// with u = x^2, P(|T| > |x|) is the upper tail of I(1/2, df/2) at
// u / (df + u) while u < df, and the lower tail of I(df/2, 1/2) at
// df / (df + u) beyond; P(F < x) is I(df1/2, df2/2) at y = df1 x / (df2 + df1 x)
// while df1 x < df2, and the upper tail of I(df2/2, df1/2) at
// df2 / (df2 + df1 x) beyond.  The quantiles invert the same forms.
#include "Distr/RealDegrees.h"

#include <cmath>

#include "Distr/FloatCheck.h"
#include "Distr/RealShapes.h"

namespace Distr {

namespace {

constexpr long double kHalf = 0.5L;

// The two parts of t's distribution about 0 at |x|: P(|T| < |x|) and
// P(|T| > |x|).
Tails AbsoluteT(long double df, long double x) {
  const long double u = x * x;
  if (u < df) return BetaTails(kHalf, df / 2, u / (df + u));
  const Tails t = BetaTails(df / 2, kHalf, df / (df + u));
  return {t.upper, t.lower};
}

// The t > 0 with P(T > t) = p for 0 < p < 1/2: 2p is the upper tail of
// I(1/2, df/2) at y = t^2 / (df + t^2), the lower tail of I(df/2, 1/2) at
// w = 1 - y; each form is used where its argument is the small one.
long double TUpperPoint(long double df, long double p) {
  const long double twice = 2 * p;
  if (twice > kHalf) {
    const long double y = BetaQuantile(kHalf, df / 2, twice, Tail::Upper);
    return std::sqrt(df * y / (1 - y));
  }
  const long double w = BetaQuantile(df / 2, kHalf, twice, Tail::Lower);
  return std::sqrt(df * (1 - w) / w);
}

}  // namespace

Tails ChiSquareTailsReal(long double df, long double x) {
  FloatScope scope;
  if (x <= 0) return {0, 1};
  return scope.Done(GammaTails(df / 2, x / 2));
}

long double ChiSquareQuantileReal(long double df, long double p, Tail tail) {
  FloatScope scope;
  return scope.Done(2 * GammaQuantile(df / 2, p, tail));
}

Tails TTailsReal(long double df, long double x) {
  FloatScope scope;
  if (x == 0) return {kHalf, kHalf};
  const Tails a = AbsoluteT(df, x);
  const long double beyond = a.upper / 2;          // P(T > |x|)
  const long double within = kHalf + a.lower / 2;  // P(T < |x|)
  return scope.Done(x > 0 ? Tails{within, beyond} : Tails{beyond, within});
}

long double TQuantileReal(long double df, long double p, Tail tail) {
  FloatScope scope;
  if (p == kHalf) return 0;
  // The upper point of the smaller of p and 1 - p (exact for p >= 1/2), with
  // the sign of its side.
  const bool small = p < kHalf;
  const long double t = TUpperPoint(df, small ? p : 1 - p);
  const bool above = (tail == Tail::Upper) == small;
  return scope.Done(above ? t : -t);
}

Tails FTailsReal(long double df1, long double df2, long double x) {
  FloatScope scope;
  if (x <= 0) return {0, 1};
  const long double mx = df1 * x;
  if (mx < df2) return scope.Done(BetaTails(df1 / 2, df2 / 2, mx / (df2 + mx)));
  const Tails t = BetaTails(df2 / 2, df1 / 2, df2 / (df2 + mx));
  return scope.Done(Tails{t.upper, t.lower});
}

long double FQuantileReal(long double df1, long double df2, long double p, Tail tail) {
  FloatScope scope;
  // y with I_y(df1/2, df2/2) on the asked side = p, x = df2 y / (df1 (1 - y));
  // where y passes 1/2, w = 1 - y from I(df2/2, df1/2) on the other side.
  const long double y = BetaQuantile(df1 / 2, df2 / 2, p, tail);
  if (y <= kHalf) return scope.Done(df2 * y / (df1 * (1 - y)));
  const Tail other = tail == Tail::Lower ? Tail::Upper : Tail::Lower;
  const long double w = BetaQuantile(df2 / 2, df1 / 2, p, other);
  return scope.Done(df2 * (1 - w) / (df1 * w));
}

}  // namespace Distr
