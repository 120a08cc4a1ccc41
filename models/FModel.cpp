// The F distribution with df1, df2 > 0 degrees of freedom: density, tails
// and quantiles.
//
// With a = df1/2, b = df2/2, the F variable x is the beta variable
// z = a x / (a x + b), with complement y = b / (a x + b): P(X < x) = I_z(a, b),
// oriented as Boost's fisher_f orients it (through I_y(b, a) when
// df1 x > df2), each tail taken directly, never as one minus the other.  The
// prefix of the incomplete beta function and the density
//   f(x) = z^a y^b / (B(a, b) x) = (a b / m) saddle / x,  m = a + b,
// are Loader's beta term (Stirling.h) with
// delta = a - m z = a b (1 - x) / (a x + b), which needs no 1 - z: for large
// degrees of freedom Boost's incomplete beta function takes that prefix
// (Incomplete.h), for small ones, and for few on one side against many on the
// other (F(20, 3627), F(7646561, 30)), the engine's continued fractions, and the
// density needs no power function (Boost's missed 1e-15 for degrees of
// freedom below 80).  The quantiles are Boost's, refined on these tails.
// Mean df2 / (df2 - 2) for df2 > 2; variance
// 2 df2^2 (df1 + df2 - 2) / (df1 (df2 - 2)^2 (df2 - 4)) for df2 > 4.
#include <boost/math/distributions/fisher_f.hpp>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/ExtendedPair.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/Models.h"
#include "models/QuantileRefinement.h"
#include "models/Stirling.h"

namespace models {

namespace {

using FisherF = boost::math::fisher_f_distribution<long double, BoostPolicy>;

// The F variable x as the beta variable z = a x / (a x + b), its complement
// y = b / (a x + b), and their saddle-point term (Incomplete.h).
struct FBeta {
  long double a, b, z, y, saddle;
};

FBeta FBetaOf(const Parameters& p, long double x) {
  const long double a = P0(p) / 2, b = P1(p) / 2;
  const long double s = a * x + b;
  const long double z = a * x / s, y = b / s;
  // delta = a (1 - x) b / s in pairs: far out, with many degrees of freedom,
  // the deviance is 10^4 and each rounding of delta counts twice.
  const ExtendedPair share = QuotientOfPairs({b, 0}, SumPair(TwoProduct(a, x), {b, 0}));
  const ExtendedPair delta = ProductOfPairs(ProductOfPairs({a, 0}, TwoSum(1, -x)), share);
  return {a, b, z, y, BetaSaddleTerm(a, b, z, y, delta)};
}

// The cached term itself, read in place (valid until the thread's next call).
const FBeta& FBetaAt(const Parameters& p, long double x) {
  static thread_local LastOf<FBeta> last;
  return *last.Get(p, x, [&] { return std::optional<FBeta>(FBetaOf(p, x)); });
}

// The F density: z^a y^b / (B(a, b) x) = (a b / m) saddle / x, for every
// a and b (the saddle-point term holds for all; Boost's pdf takes powl).
long double FDensity(const Parameters& p, long double x) {
  const FBeta& f = FBetaAt(p, x);
  if (f.saddle > 0 || !(x > 0)) return f.a * f.b / (f.a + f.b) * f.saddle / x;
  // Near 0 the saddle term z^a y^b underflows before the division by x
  // lifts the density back into range (f(1e-1100) of F(10, 4) is about
  // 1e-4393): f = z^(a-1) y^b (a / (a x + b)) / B(a, b), the power of z
  // taken alone.
  const long double lnBeta = (std::lgamma(f.a) + std::lgamma(f.b)) - std::lgamma(f.a + f.b);
  const long double rest = std::exp(f.b * std::log(f.y) - lnBeta) * (f.a / (f.a * x + f.b));
  return std::pow(f.z, f.a - 1) * rest;
}

// P(F > x) when upper, else P(F < x) = I_z(a, b), oriented as Boost's
// fisher_f orients it: through I_y(b, a) when d1 x > d2.
long double FTail(const Parameters& p, long double x, bool upper) {
  if (!std::isfinite(P0(p) * x)) {  // beyond the extended range: Boost's limits
    const FisherF f(P0(p), P1(p));
    return upper ? cdf(complement(f, x)) : cdf(f, x);
  }
  const FBeta& f = FBetaAt(p, x);
  const long double d1 = P0(p), d2 = P1(p), v1x = d1 * x;
  if (v1x > d2) return BetaTail(f.b, f.a, d2 / (d2 + v1x), f.z, !upper, f.saddle);
  return BetaTail(f.a, f.b, v1x / (d2 + v1x), f.y, upper, f.saddle);
}

// Boost's quantile, refined on the tails above (QuantileRefinement.h):
// Boost inverts its own incomplete beta function, with its tolerance and its
// tails (the upper quantile of F(12285, 30) at 0.717117 was 5e-14 off).
// Where Boost gives up (the lower quantile of F(12.2, 5252095) at 1e-100)
// the refinement starts from 1, near the median.
long double FQuantile(const Parameters& p, long double q, bool upper) {
  const FisherF f(P0(p), P1(p));
  long double guess = 1;
  try {
    guess = upper ? quantile(complement(f, q)) : quantile(f, q);
  } catch (const boost::math::evaluation_error&) {
  }
  if (!(guess > 0 && std::isfinite(guess))) return guess;
  return RefinedQuantile(
      guess, q, upper, [&](long double x) { return FTail(p, x, upper); },
      [&](long double x) { return FDensity(p, x); });
}

class F final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"df1"}, {"df2"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters& p) const override {
    return P0(p) >= kNearNormalDf && P1(p) >= kNearNormalDf;
  }

  std::string Problem(const Parameters& p) const override {
    const std::string problem = DegreesProblem(P0(p), "the numerator degrees of freedom");
    return problem.empty() ? DegreesProblem(P1(p), "the denominator degrees of freedom") : problem;
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override {
    const long double d2 = P1(p);
    if (d2 <= 2) return Value::None("infinite for 2 or fewer denominator degrees of freedom");
    return Value::Of(d2 / (d2 - 2));
  }
  Value Variance(const Parameters& p) const override {
    const long double d1 = P0(p), d2 = P1(p);
    if (d2 <= 2) return Value::None("undefined for 2 or fewer denominator degrees of freedom");
    if (d2 <= 4) return Value::None("infinite for 4 or fewer denominator degrees of freedom");
    const long double shifted = d2 - 2;
    return Finite(2 * d2 * d2 * (d1 + d2 - 2) / (d1 * shifted * shifted * (d2 - 4)));
  }
  long double RoughMedian(const Parameters&) const override { return 1; }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x < 0) return Value::Of(0);
    if (x == 0) return DensityAtZero(P0(p), 1);
    return Positive(FDensity(p, x));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(0) : Positive(FTail(p, x, false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return x <= 0 ? Value::Of(1) : Positive(FTail(p, x, true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return FQuantile(p, q, false);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return FQuantile(p, q, true);
  }
};

constinit const F kF{};

}  // namespace

const Model& FModel() {
  return kF;
}

}  // namespace models
