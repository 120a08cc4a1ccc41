// Means and variances, in closed form; none where the moment is undefined
// (a t with at most 1 degree of freedom has no mean) or infinite.
#include <cmath>

#include "details/Engine.h"

namespace details {

namespace {

// The moments of t with df degrees of freedom: mean 0 for df > 1, variance
// df / (df - 2) for df > 2, infinite for 1 < df <= 2.
Value TMean(long double df) {
  if (df <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
  return Value::Of(0);
}

Value TVariance(long double df) {
  if (df <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
  if (df <= 2) return Value::None("infinite for 2 or fewer degrees of freedom");
  return Value::Of(df / (df - 2));
}

// F(d1, d2): mean d2 / (d2 - 2) for d2 > 2; variance
// 2 d2^2 (d1 + d2 - 2) / (d1 (d2 - 2)^2 (d2 - 4)) for d2 > 4.
Value FMean(long double d2) {
  if (d2 <= 2) return Value::None("infinite for 2 or fewer denominator degrees of freedom");
  return Value::Of(d2 / (d2 - 2));
}

Value FVariance(long double d1, long double d2) {
  if (d2 <= 2) return Value::None("undefined for 2 or fewer denominator degrees of freedom");
  if (d2 <= 4) return Value::None("infinite for 4 or fewer denominator degrees of freedom");
  const long double shifted = d2 - 2;
  return Finite(2 * d2 * d2 * (d1 + d2 - 2) / (d1 * shifted * shifted * (d2 - 4)));
}

// Blue balls in a sample of n from B blue and R red, N = B + R: mean n B/N,
// variance n (B/N) (R/N) (N - n)/(N - 1).
Value HypergeometricMean(long double blue, long double red, long double n) {
  const long double total = blue + red;
  return Value::Of(n == 0 ? 0 : n * (blue / total));
}

Value HypergeometricVariance(long double blue, long double red, long double n) {
  const long double total = blue + red;
  if (n == 0 || total <= 1) return Value::Of(0);
  return Value::Of(n * (blue / total) * (red / total) * ((total - n) / (total - 1)));
}

}  // namespace

Value Mean(const Distribution& d) {
  return Guarded(d, [&]() -> Value {
    switch (d.kind) {
      case Kind::Normal:
        return Value::Of(P0(d));
      case Kind::ChiSquare:
        return Value::Of(P0(d));
      case Kind::T:
        return TMean(P0(d));
      case Kind::F:
        return FMean(P1(d));
      case Kind::Binomial:
        return Value::Of(P1(d) * P0(d));
      case Kind::Poisson:
        return Value::Of(P0(d));
      case Kind::Hypergeometric:
        return HypergeometricMean(P0(d), P1(d), P2(d));
    }
    return Value::None(kDomain);
  });
}

Value Variance(const Distribution& d) {
  return Guarded(d, [&]() -> Value {
    switch (d.kind) {
      case Kind::Normal:
        return Value::Of(P1(d));
      case Kind::ChiSquare:
        return Finite(2 * P0(d));
      case Kind::T:
        return TVariance(P0(d));
      case Kind::F:
        return FVariance(P0(d), P1(d));
      case Kind::Binomial:
        return Value::Of(P1(d) * P0(d) * (1 - P0(d)));
      case Kind::Poisson:
        return Value::Of(P0(d));
      case Kind::Hypergeometric:
        return HypergeometricVariance(P0(d), P1(d), P2(d));
    }
    return Value::None(kDomain);
  });
}

}  // namespace details
