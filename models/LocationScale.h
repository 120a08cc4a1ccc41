// What the models of a location and a scale share (ExponentialModel.cpp,
// WeibullModel.cpp, CauchyModel.cpp, LogisticModel.cpp and the others of the
// simple continuous distributions): the standardized variable
// (x - location) / scale as an unevaluated pair, the exponential of a pair,
// and the sentences of their parameter problems.
//
// Far out, a tail e^(-t) with t near 11000 (1e-4900) turns one rounding of t
// into 6e-16 of relative error; forming t as hi + lo (ExtendedPair.h) and
// taking e^(hi) (1 + lo) leaves only the error of the exponential itself.
#pragma once

#include <cmath>
#include <string>

#include "models/Engine.h"
#include "models/ExtendedPair.h"

namespace models {

// Beyond this magnitude the error-free product could overflow in its split:
// the pair then holds the rounded value alone.
inline constexpr long double kPairLimit = 0x1p8000L;

// a * b as hi + lo.
inline ExtendedPair ProductPair(long double a, long double b) {
  if (!(std::fabs(a) < kPairLimit && std::fabs(b) < kPairLimit)) return {a * b, 0};
  return TwoProduct(a, b);
}

// (x - location) / scale as hi + lo, scale > 0.
inline ExtendedPair Standardized(long double x, long double location, long double scale) {
  const ExtendedPair diff = TwoSum(x, -location);
  const long double q = diff.hi / scale;
  if (!(std::isfinite(diff.lo) && std::fabs(q) < kPairLimit && scale < kPairLimit)) return {q, 0};
  const ExtendedPair product = TwoProduct(q, scale);
  const long double remainder = ((diff.hi - product.hi) - product.lo) + diff.lo;
  return {q, remainder / scale};
}

// e^(hi + lo), |lo| far below 1.
inline long double ExpOf(const ExtendedPair& e) {
  return std::exp(e.hi) * (1 + e.lo);
}

// -e = -hi - lo.
inline ExtendedPair Negated(const ExtendedPair& e) {
  return {-e.hi, -e.lo};
}

// Why v is not a positive finite number (named by name); empty when it is.
inline std::string PositiveProblem(long double v, const char* name) {
  if (std::isfinite(v) && v > 0) return "";
  return std::string(name) + " must be a positive finite number";
}

// Why v is not a finite number; empty when it is.
inline std::string FiniteProblem(long double v, const char* name) {
  if (std::isfinite(v)) return "";
  return std::string(name) + " must be a finite number";
}

// The first problem of two.
inline std::string EitherProblem(const std::string& first, const std::string& second) {
  return first.empty() ? second : first;
}

}  // namespace models
