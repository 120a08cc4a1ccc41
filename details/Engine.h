// What the files of the details engine share: the notes, the guard that runs
// every public call, and the accessors of a distribution's parameters.
//
// Guarded checks the parameters, holds the floating-point environment for the
// length of the call (HeldFloatEnvironment, Details.h: the caller sees its
// own flags unchanged, whatever the computation raised), and turns every
// exception of Boost.Math (BoostPolicy.h) or of the engine into a value of
// none with a note.  Inside, a computation may simply throw.
#pragma once

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>

#include "details/Details.h"
#include "details/TermSums.h"

namespace details {

// Sentences of the notes.
inline const char* const kBelowRange = "below the smallest extended real (about 3.4e-4932)";
inline const char* const kAboveRange = "beyond the largest extended real (about 1.2e+4932)";
inline const char* const kNotFinite = "not a finite number";
inline const char* const kDomain = "outside the domain the mathematics library accepts";
inline const char* const kNoConvergence = "the mathematics library did not converge";
inline const char* const kNotContinuous =
    "a discrete distribution has no density or continuous quantile";
inline const char* const kNotDiscrete = "a continuous distribution has no point probabilities";
inline const char* const kProbabilityRange = "p must lie strictly between 0 and 1";

// Whether v is a whole number.  Below 2^53 through double, whose conversion
// to an integer needs no change of the x87 rounding mode (the extended
// floor switches it twice, some tens of cycles, and the engine asks often).
inline bool IsWhole(long double v) {
  if (!(std::fabs(v) < 0x1p53L)) return std::isfinite(v) && v == std::floor(v);
  const double d = static_cast<double>(v);
  return static_cast<long double>(d) == v && d == static_cast<double>(static_cast<long long>(d));
}

// Whole numbers up to this bound are exact in the 64-bit mantissa.
inline constexpr long double kExactWholeLimit = 18446744073709551616.0L;  // 2^64

// A failure of the engine's own, carried to Guarded with its note.
struct NoValue : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The note for an exception thrown inside a computation.
std::string NoteOfException();

// Runs compute() (returning Value) for d in a held environment; a parameter
// problem or an exception becomes a value of none with its note.
template <class Compute>
Value Guarded(const Distribution& d, Compute&& compute) {
  HeldFloatEnvironment held;
  const std::string problem = ParameterProblem(d);
  if (!problem.empty()) return Value::None(problem);
  try {
    return compute();
  } catch (...) {
    return Value::None(NoteOfException());
  }
}

// A probability whose true value is positive: an underflow to 0 or to a
// denormal (which has lost relative accuracy) becomes a note.
Value Positive(long double v);
// A real that may have any sign; an overflow becomes a note.
Value Finite(long double v);

// Parameters by name.
inline long double P0(const Distribution& d) {
  return d.parameters[0];
}
inline long double P1(const Distribution& d) {
  return d.parameters[1];
}
inline long double P2(const Distribution& d) {
  return d.parameters[2];
}

// For the normal and t distributions, the w with P(|X - mean| < w) = p,
// computed from p itself so that a tiny central interval keeps its relative
// accuracy (1 - p would already have rounded it away).
Value CentralHalfWidth(const Distribution& d, long double p);

// The engine's raw hypergeometric probabilities (Hypergeometric.cpp), for k
// inside the support and valid parameters; they may throw.
long double HypergeometricPoint(const Distribution& d, long double k);
long double HypergeometricAtMost(const Distribution& d, long double k);  // P(X <= k)
long double HypergeometricAbove(const Distribution& d, long double k);   // P(X > k)
// Whether Boost's factorials answer for this urn (small urns).
bool HypergeometricByBoost(const Distribution& d);
// For x strictly inside the support: P(X = x) and the strict tails from one
// sum (TermSums.h).
DiscreteSplit HypergeometricAround(const Distribution& d, long double x);

// The same for any discrete distribution whose sums are short: an urn, a
// binomial or Poisson distribution with a standard deviation of at most
// kShortSumSpread (the sums then run over at most some 10 times as many
// terms, faster than two incomplete beta or gamma functions); none where the
// sums would be long, x is not whole and strictly inside the support, or the
// parameters are outside the domain.
inline constexpr long double kShortSumSpread = 16;
std::optional<DiscreteSplit> ShortSums(const Distribution& d, long double x);

}  // namespace details
