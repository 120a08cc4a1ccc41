// The closed-form distributions of Closed.h.
//
// A tail that is small is computed from its own formula: e^-t for the
// exponential and Weibull upper tail and -expm1(-t) for the lower one, the
// angle atan2(1, z) / pi for the Cauchy tails, e^-|z| / (1 + e^-|z|) for the
// logistic's small tail, the normal tail of ln X for the log-normal.  Every
// expression is written in the order of its arithmetic.
#include "Distr/Closed.h"

#include <cfloat>
#include <climits>
#include <cmath>

#include "Distr/Distr.h"
#include "Distr/Errors.h"
#include "Distr/FloatCheck.h"
#include "Distr/RealShapes.h"

namespace Distr {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
// Beyond this natural logarithm a power overflows the extended range (whose
// largest value is about e^11356.5); a little below it, to keep a margin.
constexpr long double kLnHuge = 11350;

// The tails of a distribution whose upper tail is e^-t for t >= 0.
Tails ExpOfMinus(long double t) {
  if (std::isinf(t)) return {1, 0};
  return {-std::expm1(-t), std::exp(-t)};
}

// (x / scale)^k for x > 0, without overflow or underflow of the quotient:
// through logarithms only where the quotient leaves the extended range.
long double ScaledPower(long double x, long double scale, long double k) {
  const long double lnRatio = std::log(x) - std::log(scale);
  if (std::fabs(lnRatio) < kLnHuge) return std::pow(x / scale, k);
  const long double lnPower = k * lnRatio;
  if (lnPower > kLnHuge) return HUGE_VALL;
  return std::exp(lnPower);
}

// -ln(1 - p) and -ln p: the exponent t of an upper tail e^-t, from either tail.
long double MinusLnOf(long double p, Tail tail) {
  return tail == Tail::Lower ? -std::log1p(-p) : -std::log(p);
}

}  // namespace

Tails ExponentialTails(long double rate, long double x) {
  FloatScope scope;
  if (x <= 0) return {0, 1};
  if (rate > 1 && x > LDBL_MAX / rate) return {1, 0};  // rate x beyond the extended range
  return scope.Done(ExpOfMinus(rate * x));
}

long double ExponentialQuantile(long double rate, long double p, Tail tail) {
  FloatScope scope;
  return scope.Done(MinusLnOf(p, tail) / rate);
}

Tails UniformTails(long double a, long double b, long double x) {
  FloatScope scope;
  if (x <= a) return {0, 1};
  if (x >= b) return {1, 0};
  const long double width = b - a;
  return scope.Done(Tails{(x - a) / width, (b - x) / width});
}

long double UniformQuantile(long double a, long double b, long double p, Tail tail) {
  FloatScope scope;
  const long double width = b - a;
  return scope.Done(tail == Tail::Lower ? width * p + a : b - width * p);
}

Tails WeibullTails(long double k, long double scale, long double x) {
  FloatScope scope;
  if (x <= 0) return {0, 1};
  return scope.Done(ExpOfMinus(ScaledPower(x, scale, k)));
}

long double WeibullQuantile(long double k, long double scale, long double p, Tail tail) {
  FloatScope scope;
  // (x / scale)^k = t  <=>  x = scale * t^(1/k).
  const long double t = MinusLnOf(p, tail);
  return scope.Done(scale * std::pow(t, 1 / k));
}

Tails CauchyTails(long double location, long double scale, long double x) {
  FloatScope scope;
  // P(X > x) = 1/2 - atan(z)/pi, the angle of the point (z, 1) over pi.
  const long double z = (x - location) / scale;
  if (std::isinf(z)) return z > 0 ? Tails{1, 0} : Tails{0, 1};
  return scope.Done(Tails{std::atan2(1.0L, -z) / kPi, std::atan2(1.0L, z) / kPi});
}

long double CauchyQuantile(long double location, long double scale, long double p, Tail tail) {
  FloatScope scope;
  if (p == 0.5L) return location;
  // The x with P(X > x) = s <= 1/2 lies at location + scale / tan(pi s).
  const bool small = p < 0.5L;
  const long double s = small ? p : 1 - p;
  const long double offset = scale / std::tan(kPi * s);
  const bool above = (tail == Tail::Upper) == small;
  return scope.Done(above ? location + offset : location - offset);
}

Tails LogisticTails(long double location, long double scale, long double x) {
  FloatScope scope;
  const long double z = (x - location) / scale;
  const long double e = std::exp(-std::fabs(z));  // at most 1: never overflows
  const long double small = e / (1 + e);
  const long double large = 1 / (1 + e);
  return scope.Done(z >= 0 ? Tails{large, small} : Tails{small, large});
}

long double LogisticQuantile(long double location, long double scale, long double p, Tail tail) {
  FloatScope scope;
  // P(X < x) = p  <=>  z = ln p - ln(1 - p).
  const long double z = std::log(p) - std::log1p(-p);
  return scope.Done(tail == Tail::Lower ? scale * z + location : location - scale * z);
}

Tails LognormalTails(long double mu, long double sigma, long double x) {
  FloatScope scope;
  if (x <= 0) return {0, 1};
  const long double z = (std::log(x) - mu) / sigma;
  return scope.Done(Tails{NormalTail(-z), NormalTail(z)});
}

long double NormalUpperQuantile(long double p) {
  FloatScope scope;
  if (p == 0.5L) return 0;
  const bool small = p < 0.5L;
  const long double s = small ? p : 1 - p;  // exact for p >= 1/2
  const long double z = std::sqrt(2 * GammaQuantile(0.5L, 2 * s, Tail::Upper));
  return scope.Done(small ? z : -z);
}

long double LognormalQuantile(long double mu, long double sigma, long double p, Tail tail) {
  FloatScope scope;
  // P(X > x) = p at ln x = mu + sigma z(p); P(X < x) = p at mu - sigma z(p).
  const long double z = NormalUpperQuantile(p);
  return scope.Done(std::exp(tail == Tail::Upper ? mu + sigma * z : mu - sigma * z));
}

DiscreteTails GeometricAt(long double p, int32_t k) {
  FloatScope scope;
  if (k < 0) return {0, 1, 0};
  if (p == 1) return {1, k == 0 ? 1.0L : 0.0L, k == 0 ? 1.0L : 0.0L};
  // P(X >= k) = (1 - p)^k and P(X <= k) = 1 - (1 - p)^(k + 1), from ln(1 - p).
  const long double lnFail = std::log1p(-p);
  const long double k1 = static_cast<long double>(k) + 1;
  const long double atLeast = std::exp(k * lnFail);
  return scope.Done(DiscreteTails{-std::expm1(k1 * lnFail), atLeast, p * atLeast});
}

DiscreteTails DiscreteUniformAt(int32_t a, int32_t b, int32_t k) {
  const long double n = static_cast<long double>(int64_t{b} - a + 1);
  const long double atMost = k < a    ? 0
                             : k >= b ? 1
                                      : static_cast<long double>(int64_t{k} - a + 1) / n;
  const long double atLeast = k <= a  ? 1
                              : k > b ? 0
                                      : static_cast<long double>(int64_t{b} - k + 1) / n;
  const long double point = k < a || k > b ? 0 : 1 / n;
  return {atMost, atLeast, point};
}

}  // namespace Distr
