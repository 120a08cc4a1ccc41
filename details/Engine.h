// What the files of the details engine share: the notes, the guard that runs
// every public call, and the accessors of a distribution's parameters.
//
// Guarded checks the parameters, holds the floating-point environment for the
// length of the call (feholdexcept, then fesetenv back: the caller sees its
// own flags unchanged, whatever the computation raised), and turns every
// exception of Boost.Math (BoostPolicy.h) or of the engine into a value of
// none with a note.  Inside, a computation may simply throw.
#pragma once

#include <cfenv>
#include <cmath>
#include <stdexcept>
#include <string>

#include "details/Details.h"

namespace details {

// Sentences of the notes.
inline const char* const kBelowRange = "below the smallest extended real (about 3.4e-4932)";
inline const char* const kAboveRange = "beyond the largest extended real (about 1.2e+4932)";
inline const char* const kNotFinite = "not a finite number";
inline const char* const kDomain = "outside the domain the mathematics library accepts";
inline const char* const kNoConvergence = "the mathematics library did not converge";
inline const char* const kNotContinuous = "a discrete distribution has no density or continuous quantile";
inline const char* const kNotDiscrete = "a continuous distribution has no point probabilities";
inline const char* const kProbabilityRange = "p must lie strictly between 0 and 1";

// Whole numbers up to this bound are exact in the 64-bit mantissa.
inline constexpr long double kExactWholeLimit = 18446744073709551616.0L;  // 2^64

// A failure of the engine's own, carried to Guarded with its note.
struct NoValue : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Holds the floating-point environment for one scope: no exception traps,
// flags cleared on entry, and on exit the environment (flags included) of the
// caller back as it was.
class HeldFloatEnvironment {
 public:
  HeldFloatEnvironment() { std::feholdexcept(&saved_); }
  ~HeldFloatEnvironment() { std::fesetenv(&saved_); }
  HeldFloatEnvironment(const HeldFloatEnvironment&) = delete;
  HeldFloatEnvironment& operator=(const HeldFloatEnvironment&) = delete;

 private:
  std::fenv_t saved_;
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
inline long double P0(const Distribution& d) { return d.parameters[0]; }
inline long double P1(const Distribution& d) { return d.parameters[1]; }
inline long double P2(const Distribution& d) { return d.parameters[2]; }

// For the normal and t distributions, the w with P(|X - mean| < w) = p,
// computed from p itself so that a tiny central interval keeps its relative
// accuracy (1 - p would already have rounded it away).
Value CentralHalfWidth(const Distribution& d, long double p);

// The engine's raw hypergeometric probabilities (Hypergeometric.cpp), for k
// inside the support and valid parameters; they may throw.
long double HypergeometricPoint(const Distribution& d, long double k);
long double HypergeometricAtMost(const Distribution& d, long double k);  // P(X <= k)
long double HypergeometricAbove(const Distribution& d, long double k);   // P(X > k)
// Whether Boost's exact factorisations answer for this urn (small urns).
bool HypergeometricByBoost(const Distribution& d);

}  // namespace details
