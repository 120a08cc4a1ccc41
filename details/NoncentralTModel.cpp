// The noncentral t distribution with df > 0 degrees of freedom and
// noncentrality delta: (Z + delta) / sqrt(V / df) with Z standard normal and
// V chi-square of df degrees of freedom.
//
// The density, tails and quantiles are Boost's non_central_t, each tail in
// its own form (the upper one through complement(), never 1 - P).  With
// delta = 0 the distribution is Student's t, whose model answers
// (TModel.cpp).  Mean delta sqrt(df/2) Gamma((df - 1)/2) / Gamma(df/2) for
// df > 1, the ratio of gamma functions taken as one (tgamma_delta_ratio);
// variance df (1 + delta^2) / (df - 2) - mean^2 for df > 2.
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "details/BoostPolicy.h"
#include "details/Families.h"
#include "details/LocationScale.h"
#include "details/Models.h"

namespace details {

namespace {

using NoncentralTDistribution = boost::math::non_central_t_distribution<long double, BoostPolicy>;
using StudentsT = boost::math::students_t_distribution<long double, BoostPolicy>;

NoncentralTDistribution Of(const Parameters& p) {
  return NoncentralTDistribution(P0(p), P1(p));
}

bool Central(const Parameters& p) {
  return P1(p) == 0;
}

// The mean, for df > 1.
long double MeanOf(const Parameters& p) {
  const long double df = P0(p);
  const long double ratio = boost::math::tgamma_delta_ratio((df - 1) / 2, 0.5L, BoostPolicy());
  return P1(p) * std::sqrt(df / 2) * ratio;
}

class NoncentralT final : public ContinuousModel {
 public:
  int ParameterCount() const override { return 2; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    return EitherProblem(DegreesProblem(P0(p), "the degrees of freedom"),
                         FiniteProblem(P1(p), "the noncentrality"));
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    const long double inf = std::numeric_limits<long double>::infinity();
    return {-inf, inf};
  }
  Value Mean(const Parameters& p) const override {
    if (P0(p) <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
    return Finite(MeanOf(p));
  }
  Value Variance(const Parameters& p) const override {
    const long double df = P0(p), delta = P1(p);
    if (df <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
    if (df <= 2) return Value::None("infinite for 2 or fewer degrees of freedom");
    const long double mean = MeanOf(p);
    return Finite(df * (1 + delta * delta) / (df - 2) - mean * mean);
  }
  long double RoughMedian(const Parameters& p) const override { return P1(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    if (Central(p)) return TModel().CentralInterval(p, q);
    return QuantileInterval(*this, p, q);
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Density(p, x);
    return Positive(pdf(Of(p), x));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Lower(p, x);
    return Positive(cdf(Of(p), x));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (Central(p)) return TModel().Upper(p, x);
    return Positive(cdf(complement(Of(p), x)));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(StudentsT(P0(p)), q);
    return quantile(Of(p), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    if (Central(p)) return quantile(complement(StudentsT(P0(p)), q));
    return quantile(complement(Of(p), q));
  }
};

constinit const NoncentralT kNoncentralT{};

}  // namespace

const Model& NoncentralTModel() {
  return kNoncentralT;
}

}  // namespace details
