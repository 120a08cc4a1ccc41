// Student's t distribution with n > 0 degrees of freedom: density, tails and
// quantiles, symmetric about 0.
//
// With a = n/2, b = 1/2, z = n / (n + t^2), y = t^2 / (n + t^2), the tail
// beyond |t| is P(|T| > |t|) / 2 = I_z(a, b) / 2, whose derivative in t gives
// the density
//   f(t) = z^a y^b / (B(a, b) |t|) = (a b / m) saddle / |t|,  m = a + b,
// with the saddle-point term of Stirling.h and delta = a - m z =
// n (t^2 - 1) / (2 (n + t^2)) formed in pairs without rounding z: no power
// function, and more accurate than Boost's pdf.  The tails are the engine's
// continued fractions under that prefix (Incomplete.h; Boost's tail for
// 89884183 degrees of freedom at 136.668 was 1e-15 off); near t = 0 (where y
// underflows) and where t^2 overflows they are Boost's students_t, each tail
// in its own form (the upper one through complement(), never 1 - P).  The quantiles are Boost's; the central
// interval of probability p is -+w with P(|T| < w) = I_y(1/2, n/2) = p,
// from p itself.  Mean 0 for n > 1, variance n / (n - 2) for n > 2.
#include <boost/math/constants/constants.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/beta.hpp>
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
#include "models/Stirling.h"

namespace models {

namespace {

using StudentsT = boost::math::students_t_distribution<long double, BoostPolicy>;

// Below this |t| the saddle-point form gives way to Boost's (y underflows).
constexpr long double kTSaddleFrom = 1e-100L;
const long double kPi = boost::math::constants::pi<long double>();

struct TBeta {
  long double a, b, z, y, saddle;
};

// None near t = 0 and where t^2 overflows.
std::optional<TBeta> TBetaOf(const Parameters& p, long double t) {
  const long double n = P0(p);
  const long double s = n + t * t;
  if (!(std::fabs(t) >= kTSaddleFrom) || !std::isfinite(s)) return std::nullopt;
  const long double a = n / 2, b = 0.5L, z = n / s, y = t * t / s;
  // delta = n (t^2 - 1) / (2 (n + t^2)) in pairs: far out, with n in the
  // millions, the deviance is 10^4 and each rounding of delta counts twice.
  const ExtendedPair square = TwoProduct(t, t);
  const ExtendedPair ratio = QuotientOfPairs({n / 2, 0}, SumPair({n, 0}, square));
  const ExtendedPair delta = ProductOfPairs(ratio, SumPair(square, {-1, 0}));
  return TBeta{a, b, z, y, BetaSaddleTerm(a, b, z, y, delta)};
}

const std::optional<TBeta>& TBetaAt(const Parameters& p, long double t) {
  static thread_local LastOf<TBeta> last;
  return last.Get(p, t, [&] { return TBetaOf(p, t); });
}

long double TDensity(const Parameters& p, long double t) {
  const std::optional<TBeta>& f = TBetaAt(p, t);
  if (!f) return pdf(StudentsT(P0(p)), t);
  return f->a * f->b / (f->a + f->b) * f->saddle / std::fabs(t);
}

// P(T > t) when upper, else P(T < t): the tail beyond |t| is I_z(a, b) / 2,
// the other one minus that.  Through Incomplete.h; Boost's students_t near
// t = 0 and where t^2 overflows.
long double TTail(const Parameters& p, long double t, bool upper) {
  if (P0(p) == 1 && !std::isfinite(t * t) && std::isfinite(t)) {
    // One degree of freedom, where t^2 overflows (|t| > 1e2466): the Cauchy
    // distribution, whose tail beyond |t| is atan(1/|t|)/pi = 1/(pi |t|)
    // here, far inside the extended range (Boost's form underflows).
    const long double beyond = std::atan2(1.0L, std::fabs(t)) / kPi;
    return upper == (t > 0) ? beyond : 1;
  }
  const std::optional<TBeta>& f = TBetaAt(p, t);
  if (!f) {
    const StudentsT dist(P0(p));
    return upper ? cdf(complement(dist, t)) : cdf(dist, t);
  }
  // Beyond |t|: I_z(a, b) / 2.  On t's near side: 1 - I_z(a, b) / 2, that
  // is 1/2 + (1 - I_z(a, b)) / 2.
  if (upper == (t > 0)) return BetaTail(f->a, f->b, f->z, f->y, false, f->saddle) / 2;
  return 0.5L + BetaTail(f->a, f->b, f->z, f->y, true, f->saddle) / 2;
}

class T final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"df"}};
    return kNames;
  }
  bool Symmetric() const override { return true; }
  bool NearNormal(const Parameters& p) const override { return P0(p) >= kNearNormalDf; }

  std::string Problem(const Parameters& p) const override {
    return DegreesProblem(P0(p), "the degrees of freedom");
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    const long double inf = std::numeric_limits<long double>::infinity();
    return {-inf, inf};
  }
  Value Mean(const Parameters& p) const override {
    if (P0(p) <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
    return Value::Of(0);
  }
  Value Variance(const Parameters& p) const override {
    const long double df = P0(p);
    if (df <= 1) return Value::None("undefined for 1 or fewer degrees of freedom");
    if (df <= 2) return Value::None("infinite for 2 or fewer degrees of freedom");
    return Value::Of(df / (df - 2));
  }
  long double RoughMedian(const Parameters&) const override { return 0; }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return SymmetricInterval(*this, p, q, 0, [&] {
      // P(|T| < w) = I_y(1/2, n/2) = q with y = w^2 / (n + w^2), so w^2 = n y / (1 - y).
      long double complementOfY = 0;
      const long double y =
          boost::math::ibeta_inv(0.5L, P0(p) / 2, q, &complementOfY, BoostPolicy());
      return std::sqrt(P0(p) * y / complementOfY);
    });
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    return Positive(TDensity(p, x));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    return Positive(TTail(p, x, false));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    return Positive(TTail(p, x, true));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return quantile(StudentsT(P0(p)), q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return quantile(complement(StudentsT(P0(p)), q));
  }
};

constinit const T kT{};

}  // namespace

const Model& TModel() {
  return kT;
}

}  // namespace models
