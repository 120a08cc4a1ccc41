// The counting functions: the logarithm of a binomial coefficient and the
// hypergeometric point and cumulative probabilities, all built on
// ln m! = ln Gamma(m + 1) = LnGammaHalf(2m + 2).
//
// X is the number of blue balls in a sample of n drawn without replacement
// from an urn of B blue and R red balls:
//   P(X = x) = C(B, x) C(R, n - x) / C(B + R, n).
//
// Every expression is written in the order in which it is evaluated; do not
// reorder the sums, the printed digits depend on it.
#include <algorithm>
#include <cmath>

#include "Distr/Checked.h"
#include "Distr/Distr.h"

namespace Distr {

namespace {

// ln m! with m + 1 and then (m + 1) * 2 formed with overflow checks, so that
// m >= 1073741823 raises EIntOverflow.
long double LnFactorial(int32_t m) {
  return LnGammaHalf(Mul(Add(m, 1), 2));
}

bool OutsideBinomialDomain(int32_t n, int32_t k) {
  return n < 0 || k < 0 || n < k;
}

// ln C(n, k) for 0 <= k <= n, the three terms subtracted left to right.
long double LnBinomialCoefficientInside(int32_t n, int32_t k) {
  return (LnFactorial(n) - LnFactorial(Sub(n, k))) - LnFactorial(k);
}

// ln C(n, k), or 0 outside the domain (an empty choice adds nothing to the
// exponent of a hypergeometric point that is a zero case anyway).
long double LnBinomialCoefficientOrZero(int32_t n, int32_t k) {
  return OutsideBinomialDomain(n, k) ? 0 : LnBinomialCoefficientInside(n, k);
}

// The point probabilities of one urn and sample size.  The logarithms that
// are the same for every x, ln B!, ln R! and ln C(B + R, n), are formed at
// the first point that needs them and kept: a pure function gives the same
// bits each time, so the points are those of the plain formula.  They are not
// formed before, since B + R may overflow where every point is a zero case.
class HypergeometricPoints {
 public:
  HypergeometricPoints(int32_t B, int32_t R, int32_t n) : B_(B), R_(R), n_(n) {}

  // P(X = x): 0 when x > B, n - x > R or x > n (tested in this order);
  // otherwise e^Exponent(x).
  long double At(int32_t x) {
    if (x > B_) return 0;
    if (Sub(n_, x) > R_) return 0;
    if (x > n_) return 0;
    return std::exp(Exponent(x));
  }

  // (ln C(B, x) + ln C(R, n - x)) - ln C(B + R, n), for an x past the zero
  // cases of At.
  long double Exponent(int32_t x) {
    const int32_t red = Sub(n_, x);
    long double lnBlue, lnRed;
    if (x >= 0 && red >= 0) {
      // 0 <= x <= B, 0 <= n - x <= R and n <= B + R: no coefficient is
      // flagged, and each is the same three terms as LnBinomialCoefficient's.
      if (!haveLnFactorials_) {
        lnFactorialB_ = LnFactorial(B_);
        lnFactorialR_ = LnFactorial(R_);
        haveLnFactorials_ = true;
      }
      lnBlue = (lnFactorialB_ - LnFactorial(Sub(B_, x))) - LnFactorial(x);
      lnRed = (lnFactorialR_ - LnFactorial(Sub(R_, red))) - LnFactorial(red);
    } else {
      // A negative count (no caller passes one): a coefficient outside its
      // domain counts as 0.
      lnBlue = LnBinomialCoefficientOrZero(B_, x);
      lnRed = LnBinomialCoefficientOrZero(R_, red);
    }
    if (!haveLnAll_) {
      lnAll_ = LnBinomialCoefficientOrZero(Add(B_, R_), n_);
      haveLnAll_ = true;
    }
    return (lnBlue + lnRed) - lnAll_;
  }

  // p(i + 1) >= p(i) and p(i + 1) <= p(i), decided exactly in whole numbers by
  // p(i + 1) / p(i) = (B - i)(n - i) / ((i + 1)(R - n + i + 1)), for i and
  // i + 1 in the support max(0, n - R) .. min(n, B).  Every factor there lies
  // in 0 .. 2^31, so the products fit 64 bits.  The ratio falls as i grows.
  bool RisesAfter(int64_t i) const { return Above(i) >= Below(i); }
  bool FallsAfter(int64_t i) const { return Above(i) <= Below(i); }

 private:
  int64_t Above(int64_t i) const { return (int64_t{B_} - i) * (int64_t{n_} - i); }
  int64_t Below(int64_t i) const { return (i + 1) * (int64_t{R_} - n_ + i + 1); }

  int32_t B_;
  int32_t R_;
  int32_t n_;
  bool haveLnFactorials_ = false;
  long double lnFactorialB_ = 0;
  long double lnFactorialR_ = 0;
  bool haveLnAll_ = false;
  long double lnAll_ = 0;
};

// e^E is exactly 0 for every E below this: the smallest positive extended
// real is 2^-16445 = e^-11398.8, and e^E rounds to 0 below half of it.  The
// margin of about 100 dwarfs the rounding error of an exponent (far below
// 1e-6 for urns within int32).
constexpr long double kVanishingExponent = -11500;

// The points first .. last of the lower sum, without those that are exactly 0
// at either end, as [start, end].  The hypergeometric probabilities rise up to
// the mode and fall after it.  So if p(c) is at or after its left neighbour
// (it is still rising) and its computed exponent lies below
// kVanishingExponent, every exact p(i) for i <= c is at most p(c), so every
// computed exponent there lies below -11500 plus twice the rounding error,
// and every point is e^E = 0.  Likewise after the mode.  Binary searches find
// the cut points; only their verified condition is relied on, never the
// monotonicity of the computed exponents.
void NonZeroRange(HypergeometricPoints& points, int64_t first, int64_t last, int64_t& start,
                  int64_t& end) {
  start = first;
  end = last;
  if (first > last) return;
  auto vanishes = [&points](int64_t i) {
    return points.Exponent(static_cast<int32_t>(i)) < kVanishingExponent;
  };
  // Left: the largest c with p rising into c and e^E(c) = 0.
  auto leftZero = [&](int64_t c) {
    return (c == first || points.RisesAfter(c - 1)) && vanishes(c);
  };
  if (leftZero(first)) {
    int64_t lo = first, hi = last + 1;
    while (hi - lo > 1) {
      const int64_t mid = lo + (hi - lo) / 2;
      (leftZero(mid) ? lo : hi) = mid;
    }
    start = lo + 1;
  }
  if (start > last) return;
  // Right: the smallest c with p falling after c and e^E(c) = 0.
  auto rightZero = [&](int64_t c) { return (c == last || points.FallsAfter(c)) && vanishes(c); };
  if (rightZero(last)) {
    int64_t lo = start - 1, hi = last;
    while (hi - lo > 1) {
      const int64_t mid = lo + (hi - lo) / 2;
      (rightZero(mid) ? hi : lo) = mid;
    }
    end = hi - 1;
  }
}

}  // namespace

// ln C(n, k) = ln n! - ln (n - k)! - ln k!, subtracted in this order, so that
// C(n, 0) and C(n, n) give exactly 0 (the equal terms cancel and ln 0! = 0).
// Raises EDomainError for n < 0, k < 0 or k > n (before any arithmetic that
// could overflow), EIntOverflow for n >= 1073741823.
long double LnBinomialCoefficient(int32_t n, int32_t k) {
  FloatScope scope;
  if (OutsideBinomialDomain(n, k)) throw EDomainError();
  return scope.Done(LnBinomialCoefficientInside(n, k));
}

// P(X = x) = C(B, x) C(R, n - x) / C(B + R, n), through the logarithms; 0
// when x > B, n - x > R or x > n.  Raises EIntOverflow when B + R, or a
// coefficient with n >= 1073741823, leaves int32.
long double HypergeometricPoint(int32_t B, int32_t R, int32_t n, int32_t x) {
  FloatScope scope;
  return scope.Done(HypergeometricPoints(B, R, n).At(x));
}

// P(X <= x), P(X = x) and P(X >= x).  Both tails come from one sum
// S = P(X < x) of the point probabilities for i = 0, 1, ..., x - 1 in
// increasing order: P(X <= x) = |S + P(X = x)| and P(X >= x) = |1 - S|.
// For x > B, S = 1 (the results are exactly 1, 0 and 0).
//
// The sum skips terms that are exactly 0: those that HypergeometricPoint
// makes 0 by its own zero cases, i < n - R (more red balls than the urn
// holds) and i > n (more blue balls than the sample), and those far in the
// tails whose e^E underflows to 0 (NonZeroRange).  Adding an exact 0 changes
// no bit of S, so the results are those of the full sum, in time that grows
// with the width of the distribution instead of with x.  Expects B, R, n, x >= 0.
void HypergeometricCumulative(int32_t B, int32_t R, int32_t n, int32_t x, long double& lower,
                              long double& point, long double& upper) {
  FloatScope scope;
  HypergeometricPoints points(B, R, n);
  long double S = 0;
  if (B < x) {
    S = 1;
  } else {
    // The bounds in 64 bits, where n - R and n + 1 cannot overflow; i stays
    // below x, so it fits the int32 argument.
    const int64_t first = std::max<int64_t>(0, int64_t{n} - int64_t{R});
    const int64_t last = std::min<int64_t>(int64_t{x} - 1, int64_t{n});
    int64_t start, end;
    NonZeroRange(points, first, last, start, end);
    for (int64_t i = start; i <= end; ++i) {
      FloatScope::Check();
      S = S + points.At(static_cast<int32_t>(i));
    }
  }
  point = std::fabs(points.At(x));
  lower = std::fabs(S + point);
  upper = std::fabs(1 - S);
  FloatScope::Check();
}

}  // namespace Distr
