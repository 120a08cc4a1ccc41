// The negative binomial distribution: X, the number of failures before the
// r-th success in trials of probability 0 < p <= 1, on 0, 1, 2, ...; r any
// real above 0 (a dispersion where it is not whole: X is then the Poisson
// count whose mean is gamma-distributed, of shape r).
//
// P(X <= k) = I_p(r, k + 1) and P(X > k) = 1 - I_p(r, k + 1) = I_q(k + 1, r),
// each tail taken directly through Incomplete.h under the saddle-point
// prefix of Stirling.h, with the smaller of p and q = 1 - p as the
// incomplete beta's x: that one is held to its last bit (q the complement
// of the decimal typed), and the other formed from it, as the binomial's
// (BinomialModel.cpp).  The prefix's delta = r - (r + k + 1) p is formed
// exactly as a pair, from p or as (r + k + 1) q - (k + 1) from q.  The point
// probability
//   Gamma(r + k) / (Gamma(r) k!) p^r q^k = r / (r + k) C(r + k, k) p^r q^k
// is Loader's term of the same kind, and p^r at k = 0 powl's, or
// e^(r ln(1 - q)) above p = 1/2.  For whole r the tails are fractions of
// integers, compared with a probability exactly where they are workable
// (ExactFractions.h).  With p = 1 the distribution is a point mass at 0.
// Mean r (1 - p) / p, variance r (1 - p) / p^2.
#include <boost/math/special_functions/beta.hpp>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/ExactFractions.h"
#include "models/ExtendedPair.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/LocationScale.h"
#include "models/Models.h"
#include "models/Stirling.h"

namespace models {

namespace {

// Below this r the tails are Boost's (Trials::SmallShapeTail).
constexpr long double kSmallShape = 0.5L;

// The successes and their probability.
struct Trials {
  explicit Trials(const Parameters& p) : r(P0(p)), p(P1(p)), q(Complement(p, 1)) {}
  long double r, p, q;

  // Gamma(r + b + 1) / (Gamma(r + 1) Gamma(b + 1)) p^r q^b for b > 0, with
  // delta = r - (r + b) p.  r + b as a pair: for r not whole it may round.
  long double Term(long double b) const {
    const ExtendedPair m = TwoSum(r, b);
    ExtendedPair delta;
    if (p <= q) {
      delta = ExactOffset(r, m.hi, p);
      delta = TwoSum(delta.hi, delta.lo - m.lo * p);
    } else {  // r - (r + b) (1 - q) = (r + b) q - b
      const ExtendedPair other = ExactOffset(b, m.hi, q);
      delta = TwoSum(-other.hi, m.lo * q - other.lo);
    }
    return BetaSaddleTerm(r, b, p, q, delta);
  }

  // P(X > k) = I_q(k + 1, r) when above, else P(X <= k) = I_p(r, k + 1).
  long double Tail(long double k, bool above) const {
    const long double b = k + 1;
    if (r < kSmallShape) return SmallShapeTail(b, above);
    const long double saddle = Term(b);
    if (q < p) return BetaTail(b, r, q, p, !above, saddle);
    return BetaTail(r, b, p, q, above, saddle);
  }

  // For r below kSmallShape, where I_p(r, b) lies near 1 for nearly every
  // p and the fraction of Incomplete.h would give the upper tail as one
  // minus it: Boost's own series for a small parameter, which take either
  // tail directly.
  long double SmallShapeTail(long double b, bool above) const {
    if (q < p) {
      return above ? boost::math::ibeta(b, r, q, BoostPolicy())
                   : boost::math::ibetac(b, r, q, BoostPolicy());
    }
    return above ? boost::math::ibetac(r, b, p, BoostPolicy())
                 : boost::math::ibeta(r, b, p, BoostPolicy());
  }
};

class NegativeBinomial final : public DiscreteModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"r"}, {"p"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }

  std::string Problem(const Parameters& p) const override {
    if (!(P0(p) > 0 && P0(p) < kExactWholeLimit)) return "r must lie above 0 and below 2^64";
    if (!(P1(p) > 0 && P1(p) <= 1)) return "p must lie above 0 and at most 1";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override {
    return Finite(P0(p) * (Complement(p, 1) / P1(p)));
  }
  Value Variance(const Parameters& p) const override {
    return Finite(P0(p) * (Complement(p, 1) / P1(p)) / P1(p));
  }
  long double RoughMedian(const Parameters& p) const override {
    return P0(p) * (Complement(p, 1) / P1(p));
  }

 protected:
  std::optional<long double> PointMass(const Parameters& p) const override {
    if (P1(p) != 1) return std::nullopt;
    return 0;
  }
  long double PointInside(const Parameters& p, long double k) const override {
    const Trials t(p);
    if (k > 0) return t.r / (t.r + k) * t.Term(k);
    if (t.p <= 0.5L) return std::pow(t.p, t.r);
    return ExpOf(ProductPair(t.r, std::log1p(-t.q)));
  }
  long double AtMostInside(const Parameters& p, long double k) const override {
    return Trials(p).Tail(k, false);
  }
  long double AboveInside(const Parameters& p, long double k) const override {
    return Trials(p).Tail(k, true);
  }

  Shape QuantileShape(const Parameters& p) const override {
    const long double r = P0(p), q = Complement(p, 1), root = std::sqrt(r * q);
    return {r * q / P1(p), root / P1(p), (1 + q) / root};
  }
  std::string QuantileProblem(const Parameters&) const override { return ""; }
  bool WalksQuantile(const Parameters&) const override { return false; }
  long double SearchedTail(const Parameters& p, long double k, bool above) const override {
    return above ? AboveInside(p, k) : AtMostInside(p, k);
  }
  std::optional<int> CompareAtMost(const Parameters& p, long double k, ExactRatio& q,
                                   const Ratio& probability) const override {
    ExactRatio success(P1(p), probability);
    return CompareFailuresAtMost(success, P0(p), k, q);
  }

  // At most r - 1 failures before the r-th success: at least r successes
  // in 2r - 1 trials, with p = 1/2 a probability of 1/2.
  std::optional<long double> HalfPoint(const Parameters& p,
                                       const Ratio& probability) const override {
    if (!IsWhole(P0(p)) || !IsHalf(P1(p), probability)) return std::nullopt;
    return P0(p) - 1;
  }

  std::optional<DiscreteSplit> SplitAt(const Parameters&, long double) const override {
    return std::nullopt;
  }
};

constinit const NegativeBinomial kNegativeBinomial{};

}  // namespace

const Model& NegativeBinomialModel() {
  return kNegativeBinomial;
}

}  // namespace models
