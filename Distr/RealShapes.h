// Distr: the incomplete gamma and beta functions for real parameters, and
// their inverses.
//
// These carry the distributions whose parameters are arbitrary positive reals
// (gamma, beta, negative binomial, and chi-square, t and F with fractional
// degrees of freedom).  Each routine returns both tails, each computed by its
// own route: the smaller one always directly, the larger one as one minus the
// smaller only where it is at least 0.1, so that both keep their relative
// accuracy down to the smallest extended reals.
//
// Like the rest of Distr the routines keep no state, open a FloatScope and
// raise EInvalidOp, EZeroDivide or EOverflow for a floating-point fault;
// underflow is silent and makes a tail 0.  Arguments outside the stated
// domains (a shape <= 0 or infinite, p outside (0, 1), a NaN) raise
// EDomainError.
#pragma once

#include "Distr/Errors.h"
#include "Distr/FloatCheck.h"
#include "Distr/Tails.h"

namespace Distr {

// ln Gamma(a) for a > 0.
long double LnGammaReal(long double a);

// lower = P(a, x), upper = Q(a, x): the regularized incomplete gamma
// functions for a > 0; {0, 1} for x <= 0 and {1, 0} for x = +infinity.
Tails GammaTails(long double a, long double x);

// lower = I_x(a, b), upper = 1 - I_x(a, b): the regularized incomplete beta
// function for a, b > 0; {0, 1} for x <= 0 and {1, 0} for x >= 1.
Tails BetaTails(long double a, long double b, long double x);

// The x >= 0 with P(a, x) = p (Tail::Lower) or Q(a, x) = p (Tail::Upper), for
// a > 0 and 0 < p < 1; 0 where that x is below the smallest normal extended
// real.
long double GammaQuantile(long double a, long double p, Tail tail);

// The x in [0, 1] with I_x(a, b) = p (Tail::Lower) or 1 - I_x(a, b) = p
// (Tail::Upper), for a, b > 0 and 0 < p < 1; 0 likewise.
long double BetaQuantile(long double a, long double b, long double p, Tail tail);

}  // namespace Distr
