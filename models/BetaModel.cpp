// The beta distribution with alpha, beta > 0 on [0, 1].
//
// P(X < x) = I_x(alpha, beta) and P(X > x) = 1 - I_x(alpha, beta) are taken
// each directly through Incomplete.h, under the engine's saddle-point prefix
// (Stirling.h) with delta = alpha - (alpha + beta) x formed as an
// unevaluated pair (LocationScale.h), so that neither the rounding of
// alpha + beta nor that of the product enters; the density is the beta
// density of Incomplete.h on the same term; with both parameters from
// kLargeParameter on, the tails are its uniform expansion.  With one
// parameter 10^18 times the other and more, the beta is the gamma of the
// smaller at -b ln(1 - x) (Boost's fractions would overflow, the engine's
// take hundreds of terms).  At an end of the support the density is infinite
// where its parameter is below 1, that of the other parameter where it is 1
// (alpha at 0, beta at 1), and 0 above.  The quantiles are searched on these
// tails (BracketedQuantile, QuantileRefinement.h) on the side of 1/2 where
// they lie, from the normal approximation or the tail's first term: Boost's
// own search ran for minutes at parameters of 10^300.  Mean
// alpha / (alpha + beta), variance alpha beta / ((alpha + beta)^2 (alpha + beta + 1)).
#include <boost/math/special_functions/erf.hpp>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/LocationScale.h"
#include "models/Models.h"
#include "models/QuantileRefinement.h"
#include "models/Stirling.h"

namespace models {

namespace {

// x, y = 1 - x, delta = a - (a + b) x as a pair and the saddle-point term
// of I_x(a, b), for 0 < x < 1.
struct BetaAt {
  long double a, b, x, y;
  ExtendedPair delta;
  long double saddle;
};

BetaAt BetaAtOf(const Parameters& p, long double x) {
  const long double a = P0(p), b = P1(p), y = 1 - x;
  const ExtendedPair m = TwoSum(a, b);
  const ExtendedPair mx = ProductPair(m.hi, x);
  const ExtendedPair delta = SumPair(TwoSum(a, -mx.hi), {-mx.lo - m.lo * x, 0});
  return {a, b, x, y, delta, BetaSaddleTerm(a, b, x, y, delta)};
}

// From b >= kGammaLimit (a + 1) (a + kFarthestShift)^2 on (a the smaller
// parameter), the beta is the gamma of shape a at z = -b ln(1 - x) to
// 1e-18: the terms it leaves are of order (a - 1)(a - z) z / b, and the
// tails of the extended range lie within kFarthestShift of a (some 11400
// beyond it for a tail of 1e-4932).  The continued fractions would take
// hundreds of terms there, and Boost's overflow beyond 1e4800.
constexpr long double kGammaLimit = 1e18L;
constexpr long double kFarthestShift = 12000;
// Up to this x, -ln(1 - x) = x (1 + x/2) to 2^-64 (its next term is x^2/3);
// beyond it z is 10^8 times a at least, and the tails are 0 and 1.
constexpr long double kShortLogFrom = 1e-10L;
// Beyond this size a product's halves would overflow Dekker's split
// (ExtendedPair.h): its factors are scaled by 2^-+kPairScale first.
constexpr long double kSplitLimit = 0x1p8000L;
constexpr int kPairScale = 8000;

// The gamma limit: none where b is not large enough.
std::optional<long double> GammaLimitTail(const BetaAt& f, bool upper) {
  long double a = f.a, b = f.b, x = f.x, y = f.y;
  if (a > b) std::swap(a, b), std::swap(x, y), upper = !upper;
  const long double reach = a + kFarthestShift;
  if (!(b >= kGammaLimit * (a + 1) * reach * reach)) return std::nullopt;
  if (x > kShortLogFrom) return GammaTail(a, -b * std::log(y), upper);
  // z = b x (1 + x/2), b x as a pair, the rest to first order in the slope.
  const bool scaled = b >= kSplitLimit;
  const ExtendedPair bx = TwoProduct(scaled ? std::ldexp(b, -kPairScale) : b,
                                     scaled ? std::ldexp(x, kPairScale) : x);
  const long double shift = bx.lo + bx.hi * (x / 2);
  const long double tail = GammaTail(a, bx.hi, upper);
  const long double slope = GammaDensity(a, bx.hi);
  return tail + (upper ? -shift : shift) * slope;
}

// 1 - I_x(a, b) when upper, else I_x(a, b).
long double Tail(const BetaAt& f, bool upper) {
  if (const auto large = LargeBetaTail(f.a, f.b, f.x, f.y, f.delta, upper)) return *large;
  if (const auto limit = GammaLimitTail(f, upper)) return *limit;
  return BetaTail(f.a, f.b, f.x, f.y, upper, f.saddle);
}

// The tail and the density at any x, the ends of the support included.
long double TailAt(const Parameters& p, long double x, bool upper) {
  if (x <= 0 || x >= 1) return (x <= 0) == upper ? 1 : 0;
  return Tail(BetaAtOf(p, x), upper);
}

long double DensityInside(const Parameters& p, long double x) {
  const BetaAt f = BetaAtOf(p, x);
  return BetaDensity(f.a, f.b, f.x, f.y, f.saddle);
}

// From this smaller parameter on, the normal approximation is the first
// guess at a quantile; below it the first term of the tail near 0,
// x^a / (a B(a, b)).
constexpr long double kNormalGuessFrom = 1;
// ln Gamma(b) - ln Gamma(a + b) is -a ln b to 1e-15 from b = 10^15 (a + 1)
// on, where the difference of the two logarithms would lose its digits.
constexpr long double kLogRatioFrom = 1e15L;

// A first guess at the x in (0, 1/2] with P(X > x) = q when upper, else
// P(X < x) = q.
long double GuessBelowHalf(const Parameters& p, long double q, bool upper) {
  const long double a = P0(p), b = P1(p);
  if (std::fmin(a, b) >= kNormalGuessFrom) {
    const long double z = boost::math::erfc_inv(2 * q, BoostPolicy()) * std::sqrt(2.0L);
    const long double m = a + b;
    const long double sd = std::sqrt(a / m * (b / m) / (m + 1));
    const long double x = a / m + (upper ? z : -z) * sd;
    if (x > 0 && x <= 0.5L) return x;
  }
  const long double logLower = upper ? std::log1p(-q) : std::log(q);
  const long double logRatio =
      b >= kLogRatioFrom * (a + 1) ? -a * std::log(b) : std::lgamma(b) - std::lgamma(a + b);
  return std::exp((logLower + std::lgamma(a + 1) + logRatio) / a);
}

// The x in (0, 1/2] with P(X > x) = q when upper, else P(X < x) = q, for a
// caller that knows it lies there; 0 where it lies below the extended range.
long double QuantileBelowHalf(const Parameters& p, long double q, bool upper) {
  const auto tail = [&](long double x) { return TailAt(p, x, upper); };
  if (upper ? tail(LDBL_MIN) <= q : tail(LDBL_MIN) >= q) return 0;
  return BracketedQuantile(GuessBelowHalf(p, q, upper), q, upper, LDBL_MIN, 0.5L, tail,
                           [&](long double x) { return DensityInside(p, x); });
}

// The x with P(X > x) = q when upper, else P(X < x) = q: from the tail that
// is the smaller there (1 - q is exact for q above 1/2), searched on the
// side of 1/2 where x lies, beyond 1/2 as 1 - y for the mirrored
// distribution Beta(b, a) of 1 - X, so that y keeps its relative accuracy.
long double BetaQuantile(const Parameters& p, long double q, bool upper) {
  if (q > 0.5L) q = 1 - q, upper = !upper;
  if (TailAt(p, 0.5L, upper) >= q) {
    if (!upper) return PositiveQuantile(QuantileBelowHalf(p, q, false));
    const Parameters mirrored{P1(p), P0(p)};
    return 1 - QuantileBelowHalf(mirrored, q, false);
  }
  if (upper) return PositiveQuantile(QuantileBelowHalf(p, q, true));
  const Parameters mirrored{P1(p), P0(p)};
  return 1 - QuantileBelowHalf(mirrored, q, true);
}

class Beta final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"alpha"}, {"beta"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(PositiveProblem(P0(p), "alpha"), PositiveProblem(P1(p), "beta"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override { return {0, 1}; }
  Value Mean(const Parameters& p) const override { return Positive(P0(p) / (P0(p) + P1(p))); }
  Value Variance(const Parameters& p) const override {
    const long double a = P0(p), b = P1(p), m = a + b;
    return Positive(a / m * (b / m) / (m + 1));
  }
  long double RoughMedian(const Parameters& p) const override { return P0(p) / (P0(p) + P1(p)); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x < 0 || x > 1) return Value::Of(0);
    if (x == 0) return AtEnd(P0(p), P1(p), "infinite at x = 0");
    if (x == 1) return AtEnd(P1(p), P0(p), "infinite at x = 1");
    const BetaAt f = BetaAtOf(p, x);
    return Positive(BetaDensity(f.a, f.b, f.x, f.y, f.saddle));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (x <= 0 || x >= 1) return Value::Of(x <= 0 ? 0 : 1);
    return Positive(Tail(BetaAtOf(p, x), false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (x <= 0 || x >= 1) return Value::Of(x <= 0 ? 1 : 0);
    return Positive(Tail(BetaAtOf(p, x), true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return BetaQuantile(p, q, false);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return BetaQuantile(p, q, true);
  }

 private:
  // The density at the end whose parameter is c, the other parameter other:
  // infinite below 1, other at 1 (the end's factor is then 1), 0 above.
  static Value AtEnd(long double c, long double other, const char* infinite) {
    if (c < 1) return Value::None(infinite);
    return Finite(c == 1 ? other : 0);
  }
};

constinit const Beta kBeta{};

}  // namespace

const Model& BetaModel() {
  return kBeta;
}

}  // namespace models
