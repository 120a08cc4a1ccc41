// The negative binomial distribution: X, the number of failures before the
// r-th success in trials of probability 0 < p <= 1, r whole, on 0, 1, 2, ...
//
// P(X <= k) = I_p(r, k + 1) and P(X > k) = 1 - I_p(r, k + 1), each tail taken
// directly through Incomplete.h under the saddle-point prefix of Stirling.h
// with delta = r - (r + k + 1) p formed exactly but for one rounding, as the
// binomial's (BinomialModel.cpp).  The point probability
//   C(r + k - 1, k) p^r (1 - p)^k = r / (r + k) C(r + k, k) p^r (1 - p)^k
// is Loader's term of the same kind, and p^r by powl at k = 0.  The tails are
// fractions of integers, compared with a probability exactly where they are
// workable (ExactFractions.h).  With p = 1 the distribution is a point mass
// at 0.  Mean r (1 - p) / p, variance r (1 - p) / p^2.
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "models/ExactFractions.h"
#include "models/ExtendedPair.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/Models.h"
#include "models/Stirling.h"

namespace models {

namespace {

// C(r + k, r) p^r q^k for whole r >= 1, k >= 1, with delta = r - (r + k) p.
long double Term(long double r, long double k, long double p, long double q) {
  const ExtendedPair mp = TwoProduct(r + k, p);
  return BetaSaddleTerm(r, k, p, q, (r - mp.hi) - mp.lo);
}

// P(X > k) = 1 - I_p(r, k + 1) when above, else I_p(r, k + 1).
long double Tail(const Parameters& p, long double k, bool above) {
  const long double r = P0(p), s = P1(p), b = k + 1, q = Complement(p, 1);
  return BetaTail(r, b, s, q, above, Term(r, b, s, q));
}

class NegativeBinomial final : public DiscreteModel {
 public:
  int ParameterCount() const override { return 2; }

  std::string Problem(const Parameters& p) const override {
    if (!IsWhole(P0(p)) || P0(p) < 1 || P0(p) >= kExactWholeLimit)
      return "r must be a whole number from 1 to 2^64 - 1";
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
    const long double r = P0(p);
    if (k == 0) return std::pow(P1(p), r);
    return r / (r + k) * Term(r, k, P1(p), Complement(p, 1));
  }
  long double AtMostInside(const Parameters& p, long double k) const override {
    return Tail(p, k, false);
  }
  long double AboveInside(const Parameters& p, long double k) const override {
    return Tail(p, k, true);
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
