// Chi-square, t and F with degrees of freedom that are any positive reals
// (Welch's t-test has 17.34), on the incomplete gamma and beta functions of
// real parameters (RealShapes.h).  Whole degrees of freedom take the routes
// of Distr.h, whose digits are the log's; these serve the others.
//
// Each gives both tails at x, each by its own route, and the x of a tail
// probability 0 < p < 1.
#pragma once

#include "Distr/Tails.h"

namespace Distr {

Tails ChiSquareTailsReal(long double df, long double x);
long double ChiSquareQuantileReal(long double df, long double p, Tail tail);

Tails TTailsReal(long double df, long double x);
long double TQuantileReal(long double df, long double p, Tail tail);

Tails FTailsReal(long double df1, long double df2, long double x);
long double FQuantileReal(long double df1, long double df2, long double p, Tail tail);

}  // namespace Distr
