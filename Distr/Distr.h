// Distr: the own arithmetic of Probex's nine first functions (the normal,
// chi-square, t and F distributions with whole degrees of freedom, the
// binomial, Poisson and hypergeometric distributions, the factorial and the
// binomial coefficient), kept for the digits their log lines print.  Every
// other number of the log is a distribution model's (models/).
//
// Every tail probability is reduced either to the upper regularized incomplete
// gamma function Q(a, x) or to the regularized incomplete beta function
// I_x(a, b), in both cases with parameters that are halves of whole numbers.
// Such a parameter is passed as the whole number n standing for n/2, so that
// 1/2, 1, 3/2, ... are exact.  Every inverse is a Newton-type iteration on the
// corresponding tail.
//
// Reals are 80-bit extended (long double, 64-bit mantissa); whole numbers are
// int32_t and every operation on them is overflow-checked (EIntOverflow).
// Floating-point invalid operations, divisions by zero and overflows raise
// EInvalidOp, EZeroDivide and EOverflow (see FloatCheck.h); underflow is
// silent.  The routines keep no state and allocate nothing.
//
// The order of every floating-point operation is part of the result: the
// routines are written step by step in the order in which the arithmetic is
// done, and agree to the last printed digit only as long as that order stays.
#pragma once

#include <cstdint>

#include "Distr/Errors.h"
#include "Distr/FloatCheck.h"

namespace Distr {

// ---- Gamma family (Gamma.cpp) ----

// ln Gamma(n/2) for n >= 1; 0 for n <= 0.
long double LnGammaHalf(int32_t n);

// Q(n/2, x), the upper regularized incomplete gamma function; 1 for x <= 0.
long double GammaTail(int32_t n, long double x);

// P(Z > z) for a standard normal Z.
long double NormalTail(long double z);

// P(X > x) for X chi-square with n degrees of freedom, = Q(n/2, x/2).
long double ChiSquareTail(int32_t n, long double x);

// P(X >= k) for X Poisson with mean lambda, = 1 - Q(k, lambda); 0 for lambda <= 0.
long double PoissonTail(int32_t k, long double lambda);

// The z with NormalTail(z) = p, for 0 < p < 1.
long double NormalTailInverse(long double p);

// The x with GammaTail(n, x) = p, for n >= 1 and 0 < p < 1.
long double GammaTailInverse(int32_t n, long double p);

// The x with ChiSquareTail(n, x) = p, for n >= 1 and 0 < p < 1.
long double ChiSquareTailInverse(int32_t n, long double p);

// ---- Beta family (Beta.cpp) ----

// I_w(u/2, v/2) by the power series in w; for u + v < 41 and 0 < w <= 1/2.
long double BetaSeries(int32_t u, int32_t v, long double w);

// I_x(a/2, b/2), the regularized incomplete beta function.
long double BetaHalf(int32_t a, int32_t b, long double x);

// P(F > x) for F with a numerator and b denominator degrees of freedom.
long double FTail(int32_t a, int32_t b, long double x);

// P(T > x) for Student's T with n degrees of freedom.
long double TTail(int32_t n, long double x);

// P(X >= k) for X binomial with n experiments and success probability p.
long double BinomialTail(int32_t n, int32_t k, long double p);

// The r in [0, 1] with BetaHalf(a, b, r) = y.
long double BetaHalfInverse(int32_t a, int32_t b, long double y);

// BetaHalfInverse evaluated with the smaller parameter first.
long double BetaHalfInverseOriented(int32_t a, int32_t b, long double y);

// The x >= 0 with FTail(a, b, x) = y.
long double FTailInverse(int32_t a, int32_t b, long double y);

// The t with TTail(n, t) = y.
long double TTailInverse(int32_t n, long double y);

// ---- Counting functions (Counting.cpp) ----

// ln C(n, k); raises EDomainError when n < 0, k < 0 or k > n.
long double LnBinomialCoefficient(int32_t n, int32_t k);

// P(X = x) for X the number of blue balls in a sample of n drawn without
// replacement from an urn of B blue and R red balls.
long double HypergeometricPoint(int32_t B, int32_t R, int32_t n, int32_t x);

// P(X <= x), P(X = x) and P(X >= x) of the same X.
void HypergeometricCumulative(int32_t B, int32_t R, int32_t n, int32_t x, long double& lower,
                              long double& point, long double& upper);

}  // namespace Distr
