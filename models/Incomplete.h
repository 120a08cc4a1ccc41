// The incomplete gamma and beta functions as the engine takes them from
// Boost.Math: Boost's own value where it keeps its relative accuracy, and
// otherwise Boost's value with its power-term prefix exchanged for the
// engine's saddle-point one (Stirling.h).
//
// For large parameters Boost's tails are its Lanczos prefix, x^a e^-x /
// Gamma(a + 1) or x^a y^b / (a B(a, b)), times a series or continued
// fraction.  The prefix loses relative accuracy in proportion to the
// parameters (1e-14 at a = 5 10^5; for the beta, also in proportion to b
// times the rounding of y = 1 - x), the series or fraction does not.  Boost's
// derivative has the very same prefix, so tail / derivative is accurate, and
// the engine multiplies it by its own density.  This holds only for the tail
// that Boost computes directly, never for the one it forms as one minus the
// other, which the engine then takes as one minus the direct one.
//
// For beta parameters both below kBoostBetaLimit the engine evaluates the
// continued fraction itself under its own prefix (Boost's would call powl
// for the prefix, some microseconds, and its fraction functor is undefined
// at a = 1).  So it does for one parameter below kBoostBetaLimit and the
// other above, with Didonato and Morris's fraction, which takes 1 - x where
// it matters: there Boost's finite sums and asymptotic expansion for a small
// parameter against a large one lose up to 1e-12, and the fraction in x
// alone loses 1 / (1 - x) times the rounding.
#pragma once

namespace models {

// Gamma parameters above this get the engine's prefix; below it Boost's is
// accurate to a few units of 1e-19 times a.
inline constexpr long double kBoostGammaLimit = 1000;
// Beta parameters from this on get the engine's prefix (from 40 on, Boost's
// beta is always its prefix times a continued fraction).
inline constexpr long double kBoostBetaLimit = 40;

// x^(a-1) e^-x / Gamma(a), the derivative of P(a, x): Loader's Poisson term
// (Stirling.h) from a = 1 on, which needs no power function (glibc's powl
// takes a microsecond); Boost's below.
long double GammaDensity(long double a, long double x);

// Q(a, x) when upper, else P(a, x).
long double GammaTail(long double a, long double x, bool upper);

// 1 - I_x(a, b) when upper, else I_x(a, b), with y = 1 - x and
// saddle = x^a y^b Gamma(a + b + 1) / (Gamma(a + 1) Gamma(b + 1)) from the
// caller (BetaSaddleTerm).
long double BetaTail(long double a, long double b, long double x, long double y, bool upper,
                     long double saddle);

// The beta density x^(a-1) y^(b-1) / B(a, b) = saddle (a b / m) / (x y), m = a + b.
long double BetaDensity(long double a, long double b, long double x, long double y,
                        long double saddle);

}  // namespace models
