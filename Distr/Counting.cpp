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

// The point probabilities of one urn and sample size.  ln C(B + R, n) is the
// same for every x: it is formed at the first point that needs it and kept,
// which gives the same bits as forming it anew each time.  It is not formed
// before, since B + R may overflow where every point is a zero case.
class HypergeometricPoints {
 public:
  HypergeometricPoints(int32_t B, int32_t R, int32_t n) : B_(B), R_(R), n_(n) {}

  // P(X = x): 0 when x > B, n - x > R or x > n (tested in this order);
  // otherwise e^((ln C(B, x) + ln C(R, n - x)) - ln C(B + R, n)).
  long double At(int32_t x) {
    if (x > B_) return 0;
    const int32_t red = Sub(n_, x);
    if (red > R_) return 0;
    if (x > n_) return 0;
    // Past the zero cases 0 <= x <= B, 0 <= n - x <= R and n <= B + R, so no
    // coefficient is flagged and the flags are not read.
    bool unused;
    const long double lnBlue = LnBinomialCoefficient(B_, x, unused);
    const long double lnRed = LnBinomialCoefficient(R_, red, unused);
    if (!haveLnAll_) {
      lnAll_ = LnBinomialCoefficient(Add(B_, R_), n_, unused);
      haveLnAll_ = true;
    }
    return std::exp((lnBlue + lnRed) - lnAll_);
  }

 private:
  int32_t B_;
  int32_t R_;
  int32_t n_;
  bool haveLnAll_ = false;
  long double lnAll_ = 0;
};

}  // namespace

// ln C(n, k) = ln n! - ln (n - k)! - ln k!, subtracted in this order, so that
// C(n, 0) and C(n, n) give exactly 0 (the equal terms cancel and ln 0! = 0).
// Sets error for n < 0, k < 0 or k > n, and returns 0 then (a value without
// meaning).  Raises EIntOverflow for n >= 1073741823.
long double LnBinomialCoefficient(int32_t n, int32_t k, bool& error) {
  FloatScope scope;
  error = false;
  if (n < 0 || k < 0) error = true;
  if (n < k) error = true;
  if (error) return 0;
  return scope.Done((LnFactorial(n) - LnFactorial(Sub(n, k))) - LnFactorial(k));
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
// The sum skips the terms that HypergeometricPoint makes exactly 0 by its own
// zero cases, i < n - R (more red balls than the urn holds) and i > n (more
// blue balls than the sample); adding an exact 0 changes no bit of S, so the
// results are those of the full sum, in time proportional to the range of
// possible values instead of to x.  ln C(B + R, n) is formed once for all
// points (HypergeometricPoints).  Expects B, R, n, x >= 0.
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
    for (int64_t i = first; i <= last; ++i) {
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
