// The noncentral chi-square distribution with df > 0 degrees of freedom and
// noncentrality lambda >= 0: a Poisson mixture, of mean lambda / 2, of central
// chi-square distributions with df + 2j degrees of freedom, so that
//   P(X < x) = sum_j w_j P(df/2 + j, x/2),  P(X > x) = sum_j w_j Q(df/2 + j, x/2)
// and the density is sum_j w_j g(df/2 + j, x/2) / 2 with g the gamma density;
// each a sum of positive terms (PoissonMixture.h) over the incomplete gamma
// functions of Incomplete.h, each tail taken directly.  Beyond kMixtureLimit the
// tails and density are Boost's; the quantiles start from Patnaik's
// approximation, refined on these tails (QuantileRefinement.h).  With
// lambda = 0 the distribution is the central chi-square one, whose model
// answers (ChiSquareModel.cpp; its quantiles are Boost's chi-square ones).  Mean df + lambda,
// variance 2 (df + 2 lambda).
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/non_central_chi_squared.hpp>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/Models.h"
#include "models/PoissonMixture.h"
#include "models/QuantileRefinement.h"

namespace models {

namespace {

using NoncentralChiSquared =
    boost::math::non_central_chi_squared_distribution<long double, BoostPolicy>;
using ChiSquared = boost::math::chi_squared_distribution<long double, BoostPolicy>;

NoncentralChiSquared Of(const Parameters& p) {
  return NoncentralChiSquared(P0(p), P1(p));
}

// Below this noncentrality the Poisson weights beyond the first add less
// than lambda / 2 times a ratio of neighbouring central tails (at most some
// 1e4 where a tail is within the range) to each value: far below its last
// digit, so the central distribution answers (a denormal lambda made the
// sums run for ever).
constexpr long double kNegligibleNoncentrality = 1e-30L;

bool Central(const Parameters& p) {
  return P1(p) < kNegligibleNoncentrality;
}

// Whether the sums serve (else Boost's).
bool Summed(const Parameters& p) {
  return P1(p) / 2 <= kMixtureLimit;
}

// P(X > x) when upper, else P(X < x), for x > 0.
long double Tail(const Parameters& p, long double x, bool upper) {
  if (!Summed(p)) return upper ? cdf(complement(Of(p), x)) : cdf(Of(p), x);
  const long double a = P0(p) / 2, z = x / 2;
  return PoissonMixture(P1(p) / 2, [&](long double j) { return GammaTail(a + j, z, upper); });
}

// The density at x > 0.
long double MixtureDensity(const Parameters& p, long double x) {
  if (!Summed(p)) return pdf(Of(p), x);
  const long double a = P0(p) / 2, z = x / 2;
  return PoissonMixture(P1(p) / 2, [&](long double j) { return GammaDensity(a + j, z); }) / 2;
}

// Patnaik's approximation, c times a central chi-square with h degrees of
// freedom of the same mean and variance, as the first guess (Boost's own
// noncentral quantile takes some forty sums of the mixture, ten times these
// steps), refined on the tails above (QuantileRefinement.h); the mean where
// the approximation fails.
long double Refined(const Parameters& p, long double q, bool upper) {
  const long double df = P0(p), lambda = P1(p);
  const long double c = (df + 2 * lambda) / (df + lambda);
  const long double h = (df + lambda) * ((df + lambda) / (df + 2 * lambda));
  long double guess = 0;
  try {
    const ChiSquared patnaik(h);
    guess = c * (upper ? quantile(complement(patnaik, q)) : quantile(patnaik, q));
  } catch (const std::exception&) {
  }
  if (!(guess > 0 && std::isfinite(guess))) guess = df + lambda;
  return RefinedQuantile(
      guess, q, upper, [&](long double x) { return Tail(p, x, upper); },
      [&](long double x) { return MixtureDensity(p, x); });
}

class NoncentralChiSquare final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"df"}, {"lambda"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    const std::string df = DegreesProblem(P0(p), "the degrees of freedom");
    if (!df.empty()) return df;
    if (!(std::isfinite(P1(p)) && P1(p) >= 0))
      return "the noncentrality must be a finite number of at least 0";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override { return Finite(P0(p) + P1(p)); }
  Value Variance(const Parameters& p) const override { return Finite(2 * (P0(p) + 2 * P1(p))); }
  long double RoughMedian(const Parameters& p) const override { return P0(p) + P1(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    if (Central(p)) return ChiSquareModel().CentralInterval(p, q);
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (Central(p)) return ChiSquareModel().Density(p, x);
    if (x < 0) return Value::Of(0);
    if (x == 0) return DensityAtZero(P0(p), std::exp(-P1(p) / 2) / 2);
    return Positive(MixtureDensity(p, x));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (Central(p)) return ChiSquareModel().Lower(p, x);
    return x <= 0 ? Value::Of(0) : Positive(Tail(p, x, false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (Central(p)) return ChiSquareModel().Upper(p, x);
    return x <= 0 ? Value::Of(1) : Positive(Tail(p, x, true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(ChiSquared(P0(p)), q);
    return Refined(p, q, false);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(complement(ChiSquared(P0(p)), q));
    return Refined(p, q, true);
  }
};

constinit const NoncentralChiSquare kNoncentralChiSquare{};

}  // namespace

const Model& NoncentralChiSquareModel() {
  return kNoncentralChiSquare;
}

}  // namespace models
