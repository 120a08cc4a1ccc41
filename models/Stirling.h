// Stirling's error term and the deviance: the building blocks of accurate
// logarithms of large factorials, and of the binomial and Poisson point
// probabilities in Loader's saddle-point form, whose only large quantity is
// the deviance itself (no difference of large logarithms).  Rounded in
// extended precision the deviance would carry a few units of 1e-19 times
// itself, 3e-15 at 1e-700; from a deviance of 64 on, the Poisson and beta
// terms take it as a pair, and keep a few units of 1e-19 down to the bottom
// of the range wherever |delta| is at most half of each parameter; beyond,
// the rounding of ln x (or ln y, or ln(lambda / k)) times its parameter
// remains.
#pragma once

#include "models/ExtendedPair.h"

namespace models {

// ln m! - ((m + 1/2) ln m - m + ln sqrt(2 pi)), the error of Stirling's
// formula, for whole m >= 1.  Directly from ln Gamma up to kStirlingSwitch,
// from the asymptotic series above it.
long double StirlingError(long double m);

// The deviance term x ln(x / M) + M - x >= 0 for x >= 0, M > 0, without the
// cancellation of its plain form when x is close to M.
long double Deviance(long double x, long double M);

// e^(-lambda) lambda^k / Gamma(k + 1) for real k >= 0, lambda > 0: the
// Poisson point probability, and the gamma density x^(a-1) e^(-x) / Gamma(a)
// at a = k + 1, x = lambda.
long double PoissonTerm(long double k, long double lambda);

// C(m, x) p^x q^(m-x) for whole 0 <= x <= m, p + q = 1.
long double BinomialTerm(long double x, long double m, long double p, long double q);

// x^a y^b Gamma(a + b + 1) / (Gamma(a + 1) Gamma(b + 1)) for a, b > 0 and
// x + y = 1, given delta = a - (a + b) x to full relative accuracy (the
// caller forms it without rounding x or y first).  Loader's form:
//   sqrt(m / (2 pi a b)) e^(s(m) - s(a) - s(b) - D),  m = a + b,
//   D = -a g(-delta/a) - b g(delta/b) >= 0,  g(u) = ln(1 + u) - u,
// where 1 - delta/a = m x / a and 1 + delta/b = m y / b; x and y themselves
// serve only where |u| > 1/2, when their rounding no longer matters.
// From a deviance of 64 on, delta as the pair hi + lo (ExtendedPair.h) is
// taken to its full length, so that the caller that forms it to more than
// extended precision gets the term to a few units of 1e-19 even at the
// bottom of the range, where the deviance is 11000.
long double BetaSaddleTerm(long double a, long double b, long double x, long double y,
                           long double delta);
long double BetaSaddleTerm(long double a, long double b, long double x, long double y,
                           const ExtendedPair& delta);

}  // namespace models
