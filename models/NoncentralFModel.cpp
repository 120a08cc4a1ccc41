// The noncentral F distribution with df1, df2 > 0 degrees of freedom and
// noncentrality lambda >= 0: a Poisson mixture, of mean lambda / 2, of beta
// variables.  With a = df1/2, b = df2/2, s = a x + b, z = a x / s and
// y = b / s (as FModel.cpp forms them),
//   P(X < x) = sum_j w_j I_z(a + j, b),  P(X > x) = sum_j w_j (1 - I_z(a + j, b)),
// and the density is sum_j w_j f_j(z) a b / s^2, f_j the beta density of
// (a + j, b); each a sum of positive terms (PoissonMixture.h), each term
// through Incomplete.h under the saddle-point prefix (Stirling.h) with
//   delta_j = (a + j) - (a + j + b) z = b ((a + j) - a x) / s,
// the product a x as an unevaluated pair, and each tail taken directly.
// Beyond kMixtureLimit the tails and density are Boost's; the quantiles are
// Boost's, refined on these tails (QuantileRefinement.h).  With lambda = 0
// the distribution is the central F one, whose model answers (FModel.cpp).
// For df2 > 2 the mean is df2 (df1 + lambda) / (df1 (df2 - 2)), and for
// df2 > 4 the variance
//   2 (df2 / df1)^2 ((df1 + lambda)^2 + (df1 + 2 lambda)(df2 - 2)) / ((df2 - 2)^2 (df2 - 4)).
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/non_central_f.hpp>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/ExtendedPair.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/Models.h"
#include "models/PoissonMixture.h"
#include "models/QuantileRefinement.h"
#include "models/Stirling.h"

namespace models {

namespace {

using NoncentralFDistribution = boost::math::non_central_f_distribution<long double, BoostPolicy>;
using FisherF = boost::math::fisher_f_distribution<long double, BoostPolicy>;

NoncentralFDistribution Of(const Parameters& p) {
  return NoncentralFDistribution(P0(p), P1(p), P2(p));
}

// Below this noncentrality the Poisson weights beyond the first add less
// than lambda / 2 times a ratio of neighbouring central tails (at most some
// 1e4 where a tail is within the range) to each value: far below its last
// digit, so the central distribution answers (a denormal lambda made the
// sums run for ever).
constexpr long double kNegligibleNoncentrality = 1e-30L;

bool Central(const Parameters& p) {
  return P2(p) < kNegligibleNoncentrality;
}

// The F variable x > 0 as the beta variable: a = df1/2, b = df2/2, the
// product a x as a pair, s = a x + b, z = a x / s and y = b / s.
struct BetaOfF {
  long double a, b;
  ExtendedPair ax;
  long double s, z, y;

  // The saddle-point term of I_z(a + j, b).
  long double Saddle(long double j) const {
    const long double aj = a + j;
    return BetaSaddleTerm(aj, b, z, y, b * (((aj - ax.hi) - ax.lo) / s));
  }
};

BetaOfF BetaOf(const Parameters& p, long double x) {
  const long double a = P0(p) / 2, b = P1(p) / 2;
  const ExtendedPair ax = TwoProduct(a, x);
  const long double s = ax.hi + b;
  return {a, b, ax, s, ax.hi / s, b / s};
}

// Whether the sums serve at x (else Boost's): a moderate noncentrality, and
// a x far inside the extended range.
bool Summed(const Parameters& p, long double x) {
  return P2(p) / 2 <= kMixtureLimit && std::fabs(P0(p) * x) < 0x1p8000L;
}

// P(X > x) when upper, else P(X < x), for x > 0.
long double Tail(const Parameters& p, long double x, bool upper) {
  if (!Summed(p, x)) return upper ? cdf(complement(Of(p), x)) : cdf(Of(p), x);
  const BetaOfF f = BetaOf(p, x);
  return PoissonMixture(P2(p) / 2, [&](long double j) {
    return BetaTail(f.a + j, f.b, f.z, f.y, upper, f.Saddle(j));
  });
}

long double MixtureDensity(const Parameters& p, long double x) {
  if (!Summed(p, x)) return pdf(Of(p), x);
  const BetaOfF f = BetaOf(p, x);
  const long double sum = PoissonMixture(
      P2(p) / 2, [&](long double j) { return BetaDensity(f.a + j, f.b, f.z, f.y, f.Saddle(j)); });
  return sum * (f.a / f.s) * (f.b / f.s);
}

// Boost's quantile as the first guess, refined on the tails above
// (QuantileRefinement.h); the mean where Boost gives up.
long double Refined(const Parameters& p, long double q, bool upper) {
  long double guess = 0;
  try {
    guess = upper ? quantile(complement(Of(p), q)) : quantile(Of(p), q);
  } catch (const std::exception&) {
    guess = 1 + P2(p) / P0(p);
  }
  return RefinedQuantile(
      guess, q, upper, [&](long double x) { return Tail(p, x, upper); },
      [&](long double x) { return MixtureDensity(p, x); });
}

class NoncentralF final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"df1"}, {"df2"}, {"lambda"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    std::string problem = DegreesProblem(P0(p), "the numerator degrees of freedom");
    if (problem.empty()) problem = DegreesProblem(P1(p), "the denominator degrees of freedom");
    if (problem.empty() && !(std::isfinite(P2(p)) && P2(p) >= 0))
      problem = "the noncentrality must be a finite number of at least 0";
    return problem;
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override {
    const long double d1 = P0(p), d2 = P1(p);
    if (d2 <= 2) return Value::None("infinite for 2 or fewer denominator degrees of freedom");
    return Finite(d2 * (d1 + P2(p)) / (d1 * (d2 - 2)));
  }
  Value Variance(const Parameters& p) const override {
    const long double d1 = P0(p), d2 = P1(p), lambda = P2(p);
    if (d2 <= 2) return Value::None("undefined for 2 or fewer denominator degrees of freedom");
    if (d2 <= 4) return Value::None("infinite for 4 or fewer denominator degrees of freedom");
    const long double ratio = d2 / d1, shifted = d2 - 2;
    const long double spread = (d1 + lambda) * (d1 + lambda) + (d1 + 2 * lambda) * shifted;
    return Finite(2 * ratio * ratio * spread / (shifted * shifted * (d2 - 4)));
  }
  long double RoughMedian(const Parameters& p) const override { return 1 + P2(p) / P0(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    if (Central(p)) return FModel().CentralInterval(p, q);
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (Central(p)) return FModel().Density(p, x);
    if (x < 0) return Value::Of(0);
    if (x == 0) return DensityAtZero(P0(p), std::exp(-P2(p) / 2));
    return Positive(MixtureDensity(p, x));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (Central(p)) return FModel().Lower(p, x);
    return x <= 0 ? Value::Of(0) : Positive(Tail(p, x, false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (Central(p)) return FModel().Upper(p, x);
    return x <= 0 ? Value::Of(1) : Positive(Tail(p, x, true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(FisherF(P0(p), P1(p)), q);
    return Refined(p, q, false);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(complement(FisherF(P0(p), P1(p)), q));
    return Refined(p, q, true);
  }
};

constinit const NoncentralF kNoncentralF{};

}  // namespace

const Model& NoncentralFModel() {
  return kNoncentralF;
}

}  // namespace models
