// The distributions whose tails have closed forms: exponential, uniform,
// Weibull, Cauchy, logistic and log-normal among the continuous ones,
// geometric and discrete uniform among the discrete ones.
//
// Each continuous distribution gives both tails at x, each by its own
// formula (the small one never as one minus the large one), and the x of a
// tail probability p for 0 < p < 1, however small p is.  Each discrete one
// gives P(X <= k), P(X >= k) and P(X = k) at any whole k (its quantile is
// searched on these, DiscreteSearch.h).
#pragma once

#include <cstdint>

#include "Distr/Tails.h"

namespace Distr {

// Exponential with rate > 0.
Tails ExponentialTails(long double rate, long double x);
long double ExponentialQuantile(long double rate, long double p, Tail tail);

// Uniform on [a, b], a < b.
Tails UniformTails(long double a, long double b, long double x);
long double UniformQuantile(long double a, long double b, long double p, Tail tail);

// Weibull with shape k > 0 and scale > 0: P(X > x) = exp(-(x/scale)^k).
Tails WeibullTails(long double k, long double scale, long double x);
long double WeibullQuantile(long double k, long double scale, long double p, Tail tail);

// Cauchy with location and scale > 0.
Tails CauchyTails(long double location, long double scale, long double x);
long double CauchyQuantile(long double location, long double scale, long double p, Tail tail);

// Logistic with location and scale > 0: P(X < x) = 1 / (1 + e^-z).
Tails LogisticTails(long double location, long double scale, long double x);
long double LogisticQuantile(long double location, long double scale, long double p, Tail tail);

// Log-normal: ln X is normal with mean mu and standard deviation sigma > 0.
Tails LognormalTails(long double mu, long double sigma, long double x);
long double LognormalQuantile(long double mu, long double sigma, long double p, Tail tail);

// The z with P(Z > z) = p for a standard normal Z, 0 < p < 1, however small
// p is (Q(1/2, z^2/2) = 2 P(Z > z) inverted, RealShapes.h).
long double NormalUpperQuantile(long double p);

// The three probabilities of a discrete distribution at one whole k.
struct DiscreteTails {
  long double atMost;   // P(X <= k)
  long double atLeast;  // P(X >= k)
  long double point;    // P(X = k)
};

// Geometric: the failures before the first success of probability
// 0 < p <= 1, so P(X = k) = p (1 - p)^k for k = 0, 1, 2, ...
DiscreteTails GeometricAt(long double p, int32_t k);

// Discrete uniform on the whole numbers a..b, a <= b.
DiscreteTails DiscreteUniformAt(int32_t a, int32_t b, int32_t k);

}  // namespace Distr
