// Distr: the noncentral chi-square, F and t distributions, and their inverses.
//
// Each is a Poisson mixture of central distributions: chi-square and F of
// the incomplete gamma and beta functions of RealShapes.h at shapes growing
// by one, the t (in the form of Lenth and Guenther) of two such mixtures of
// incomplete beta functions.  Each tail is summed by itself from the mode of
// the Poisson weights outwards, so that it keeps its relative accuracy far
// into the tail, and large noncentralities cost O(sqrt(lambda)) terms.
//
// As everywhere in Distr, the routines keep no state, open a FloatScope and
// raise EInvalidOp, EZeroDivide or EOverflow for a floating-point fault;
// underflow is silent.  Arguments outside the stated domains (degrees of
// freedom <= 0 or infinite, a noncentrality < 0 or not finite, p outside
// (0, 1), a NaN) raise EDomainError.
#pragma once

#include "Distr/Errors.h"
#include "Distr/FloatCheck.h"
#include "Distr/Tails.h"

namespace Distr {

// The tails at x of the chi-square with df > 0 degrees of freedom and
// noncentrality lambda >= 0 (the sum of squares of normals with unit
// variance and means whose squares add up to lambda).
Tails NoncentralChiSquareTails(long double df, long double lambda, long double x);

// The tails at x of the F with df1, df2 > 0 degrees of freedom and
// noncentrality lambda >= 0 of the numerator.
Tails NoncentralFTails(long double df1, long double df2, long double lambda, long double x);

// The tails at x of Student's t with df > 0 degrees of freedom and
// noncentrality delta (the mean of the normal numerator).
Tails NoncentralTTails(long double df, long double delta, long double x);

// The x with P(X < x) = p (Tail::Lower) or P(X > x) = p (Tail::Upper), for
// 0 < p < 1; 0 for chi-square and F where that x is below the smallest
// normal extended real.
long double NoncentralChiSquareQuantile(long double df, long double lambda, long double p,
                                        Tail tail);
long double NoncentralFQuantile(long double df1, long double df2, long double lambda, long double p,
                                Tail tail);
long double NoncentralTQuantile(long double df, long double delta, long double p, Tail tail);

}  // namespace Distr
