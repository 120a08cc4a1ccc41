// The distribution models: every value of a distribution, each accurate in
// relative terms, for the log lines of every function but the nine first
// (whose digits are their own arithmetic's, Distr/), and for the details
// pane, the JSON output, the plots and the tables of all of them.
//
// This layer depends on nothing of ours.  A distribution is
// a model (Model.h: one class per distribution, one file each, reached
// through Models.h) with its parameters; the functions below check the
// parameters and guard the model's operations.  Its distributions are
// Boost.Math's in extended precision (long double, 64-bit mantissa), with
// one error policy chosen in BoostPolicy.h.  Where Boost's plain form loses
// relative accuracy, or is slow (its power terms call powl, a microsecond
// each), the engine computes that part its own way: the normal tails far out
// (NormalModel.cpp); the densities and point probabilities as Loader's
// saddle-point terms (Stirling.h); the power-term prefixes of the incomplete
// gamma and beta functions at large parameters, and the t and F tails at
// small ones under that prefix (Incomplete.h); the discrete tails of a
// small spread and of every urn as short sums of points (TermSums.h,
// HypergeometricModel.cpp); the Poisson tails of a large mean by Temme's
// uniform expansion (PoissonModel.cpp).  The counting functions, and the
// discrete quantile's exact boundaries (ExactTails.h), are exact big
// integers (GMP), the former with a logarithm beside them.
//
// Every value is either a number or none together with a sentence that says
// why (an underflow below the extended range, a parameter outside the
// domain, a distribution without a model).  A number aims at 1e-15 relative
// wherever its magnitude is at least 1e-4900, and tests/details hold it to
// that on independent values; what cancels in the mathematics itself can
// miss it (a quantile near 0 that is the mean less a deviation of nearly the
// same size; for parameters of 10^4 and more, tails below about 1e-2000
// where x or 1 - x is off its mean by more than half of it, there the
// rounding of a logarithm in the exponent alone comes near 1e-15).  No call
// throws, and each runs in a held floating-point environment: the flags the
// caller sees after it are the flags it had.
#pragma once

#include <cfenv>
#include <optional>
#include <string>
#include <utility>

#include "models/Model.h"

namespace models {

// A distribution: its model and its parameters, in the order of the
// calculator's fields (Models.h lists each model's).  Without a model every
// function below answers with a note.
struct Distribution {
  const Model* model = nullptr;
  Parameters parameters{};
};

// A number of [0, 1] exactly as a user typed it: numerator / denominator,
// whole numbers in decimal digits (0.3 is 3 / 10).  Empty: none typed.
struct Ratio {
  std::string numerator, denominator;
  bool Empty() const { return denominator.empty(); }
};
// The typed decimals a discrete quantile answers for, where a boundary
// P(X <= k) = p is decided exactly: the probability p asked for, and the
// model's probability parameter (the binomial's p).
struct Typed {
  Ratio percentile, probability;
};
// Whether d has a model and that model is discrete.
bool IsDiscrete(const Distribution& d);

// Holds the floating-point environment for one scope: on exit the caller's
// flags are as they were, whatever the computation raised.  Saving and
// restoring the whole environment (feholdexcept, fesetenv) costs about a
// hundred nanoseconds, as much as a tail itself, so the usual case is
// cheaper: with no exception traps enabled, the flags are read on entry and
// only those raised since are cleared on exit, usually none (the inexact
// flag is nearly always up already).  Traps enabled by the caller are held
// off as feholdexcept does.  Scopes nest: an inner one, as a public call
// inside an aggregate, does nothing; a caller that makes several calls in a
// row may hold one around them all and pay once.
class HeldFloatEnvironment {
 public:
  HeldFloatEnvironment() : outer_(depth_++ == 0) {
    if (!outer_) return;
    whole_ = fegetexcept() != 0;
    if (whole_)
      std::feholdexcept(&saved_);
    else
      flags_ = std::fetestexcept(FE_ALL_EXCEPT);
  }
  ~HeldFloatEnvironment() {
    --depth_;
    if (!outer_) return;
    if (whole_) {
      std::fesetenv(&saved_);
      return;
    }
    const int raised = std::fetestexcept(FE_ALL_EXCEPT) & ~flags_;
    if (raised != 0) std::feclearexcept(raised);
  }
  HeldFloatEnvironment(const HeldFloatEnvironment&) = delete;
  HeldFloatEnvironment& operator=(const HeldFloatEnvironment&) = delete;

 private:
  static inline thread_local int depth_ = 0;
  const bool outer_;
  bool whole_ = false;
  int flags_ = 0;
  std::fenv_t saved_;
};

// Why the parameters of d are outside the distribution's domain; empty when
// they are inside.  Every function below answers such a d with this note.
std::string ParameterProblem(const Distribution& d);

// Continuous distributions.
Value Density(const Distribution& d, long double x);
Value Lower(const Distribution& d, long double x);          // P(X < x)
Value Upper(const Distribution& d, long double x);          // P(X > x)
Value QuantileLower(const Distribution& d, long double p);  // x with P(X < x) = p
Value QuantileUpper(const Distribution& d, long double q);  // x with P(X > x) = q

// Discrete distributions (k whole; a fractional k counts the whole numbers
// on its side: AtMost(2.5) = P(X <= 2), AtLeast(2.5) = P(X >= 3)).
Value Point(const Distribution& d, long double k);    // P(X = k)
Value AtMost(const Distribution& d, long double k);   // P(X <= k)
Value AtLeast(const Distribution& d, long double k);  // P(X >= k)
// The smallest k with P(X <= k) >= p, for the decimals typed where given.
Value DiscreteQuantile(const Distribution& d, long double p, const Typed& typed = {});

// The smallest and largest value of the support, as long double (may be huge,
// or infinite for the Poisson and every continuous distribution's open end).
std::pair<long double, long double> Support(const Distribution& d);

// Every distribution.
Value Mean(const Distribution& d);
Value Variance(const Distribution& d);

// Aggregates, as the JSON output and the details pane show them.
struct ContinuousForward {
  long double x;
  Value lower, upper, density, twoTailed;
};
struct ContinuousInverse {
  long double p;
  Value xLower, xUpper, centralLow, centralHigh;
};
struct DiscreteForward {
  long double x;
  Value below, atMost, point, atLeast, above;
};
struct DiscreteInverse {
  long double p;
  Value quantile;
};
// Between bounds a < b: P(a < X < b) (P(a <= X <= b) for a discrete
// distribution) and P(X < a or X > b), each from the accurate tails at the
// bounds as a sum or a difference of tails below 1/2.
struct IntervalValues {
  long double a, b;
  bool discrete;  // the bounds belong to the interval
  Value between, outside;
};
// The two tails at x alone, the likely smaller one first and the other as
// one minus it where that keeps its accuracy (Forward's tails).
struct BothTails {
  Value lower, upper;
};
BothTails Tails(const Distribution& d, long double x);
// The x with P(X < x) = p and the x with P(X > x) = p (Inverse's x-values);
// `complement` as for Inverse.
struct BothQuantiles {
  Value xLower, xUpper;
};
BothQuantiles Quantiles(const Distribution& d, long double p, long double complement = 0);
ContinuousForward Forward(const Distribution& d, long double x);
// What the decimals typed add to the long doubles read from them: the exact
// inputs are parameters[i] + this parameters[i], and x + this x (for an
// interval, a + x and b + this b).  The parameter in place `probability`
// (-1: none) moves its complement, when given, the other way.
struct Residuals {
  Parameters parameters{};
  long double x = 0, b = 0;
  int probability = -1;
};
// The forward values at the exact inputs: those at the long doubles, each
// times e^(sum of d ln v / d input times residual), to first order in the
// residuals (some 1e-20 of their inputs, but multiplied in a far tail by
// derivatives in the thousands).
ContinuousForward Forward(const Distribution& d, long double x, const Residuals& residuals);
DiscreteForward DiscreteForwardAt(const Distribution& d, long double x, const Residuals& residuals);
IntervalValues Between(const Distribution& d, long double a, long double b,
                       const Residuals& residuals);
IntervalValues Between(const Distribution& d, long double a, long double b);
// `complement`, when above 0, is 1 - p exactly (the decimal typed, minus
// from one): above p = 1/2 each x-value is then the quantile of the other
// tail at it, P(X < x) = p being P(X > x) = 1 - p.
ContinuousInverse Inverse(const Distribution& d, long double p, long double complement = 0);
DiscreteForward DiscreteForwardAt(const Distribution& d, long double x);
DiscreteInverse DiscreteInv(const Distribution& d, long double p, const Typed& typed = {});

// Counting functions.
constexpr int kMaxExactDigits = 10000;
struct Counting {
  std::optional<std::string> exact;  // decimal digits, when at most kMaxExactDigits
  Value log10;
  std::string note;  // why exact is missing; empty when it is there
};
Counting Factorial(long double n);
Counting BinomialCoefficient(long double n, long double k);

}  // namespace models
