// What the files of the details engine share: the notes, the guard that runs
// every public call, and the accessors of a distribution's parameters.
//
// Guarded checks the parameters (a distribution without a model has the
// problem kNoModel), holds the floating-point environment for the length of
// the call (HeldFloatEnvironment, Details.h: the caller sees its own flags
// unchanged, whatever the computation raised), and turns every exception of
// Boost.Math (BoostPolicy.h) or of the engine into a value of none with a
// note.  Inside, a computation, and so every operation of a model, may
// simply throw.
#pragma once

#include <cmath>
#include <optional>
#include <string>

#include "models/Details.h"

namespace models {

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
inline const char* const kNoModel = "no distribution was given";

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

// Parameters by place.
inline long double P0(const Parameters& p) {
  return p[0];
}
inline long double P1(const Parameters& p) {
  return p[1];
}
inline long double P2(const Parameters& p) {
  return p[2];
}

// 1 - p of the probability parameter in place i: the given complement, or
// 1 - p rounded.
inline long double Complement(const Parameters& p, int i) {
  return p[kComplementPlace] > 0 ? p[kComplementPlace] : 1 - p[i];
}
// ln(1 - p): log1p(-p) for p up to 1/2, the logarithm of the complement
// above, where log1p(-p) would inherit p's rounding.
inline long double LnComplement(const Parameters& p, int i) {
  return p[i] <= 0.5L ? std::log1p(-p[i]) : std::log(Complement(p, i));
}

// Why degrees of freedom df are outside the domain (named by name); empty
// when they are inside.  Inline: every call of chi-square, t and F asks.
inline std::string DegreesProblem(long double df, const char* name) {
  if (std::isfinite(df) && df > 0) return "";
  return std::string(name) + " must be a positive finite number";
}

// The short sums of d at x (Model::ShortSums); none without a model.
std::optional<DiscreteSplit> ShortSums(const Distribution& d, long double x);

}  // namespace models
