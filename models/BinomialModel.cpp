// The binomial distribution: successes in n trials of probability p.
//
// P(X <= k) = 1 - I_p(k + 1, n - k) and P(X > k) = I_p(k + 1, n - k), each
// tail taken directly from Boost's incomplete beta function through
// Incomplete.h, which keeps its relative accuracy for large n; the point
// probability is Loader's term (Stirling.h) with delta = k - n p formed
// exactly as a pair, so that neither the rounding of 1 - p (which n
// multiplies) nor a difference of tails enters.  Where k + 1 or n - k is below kBoostBetaLimit
// the tail is instead the short sum of those terms (TermSums.h), with the
// ratio
//   P(X = j + 1) / P(X = j) = (n - j) p / ((j + 1) (1 - p)),
// and so are the point and both strict tails of a forward report together
// where the standard deviation sqrt(n p (1 - p)) is at most kShortSumSpread.
// With p = 0 or 1 the distribution is a point mass at 0 or n.  Mean n p,
// variance n p (1 - p).
#include <boost/math/distributions/binomial.hpp>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "models/BoostPolicy.h"
#include "models/ExactTails.h"
#include "models/ExtendedPair.h"
#include "models/Families.h"
#include "models/Incomplete.h"
#include "models/Models.h"
#include "models/Stirling.h"
#include "models/TermSums.h"

namespace models {

namespace {

using BinomialDistribution = boost::math::binomial_distribution<long double, BoostPolicy>;

// The terms of the distribution, and its tails inside the support.
class Terms {
 public:
  explicit Terms(const Parameters& p) : n_(P1(p)), p_(P0(p)), q_(Complement(p, 0)) {}

  // C(n, j) p^j q^(n-j); at the ends q^n = e^(n ln(1 - p)) and p^n, each
  // logarithm taken from the smaller of p and q, the one held to its last
  // bit (q is the complement of the decimal typed, not 1 minus its rounding).
  long double Point(long double j) const {
    if (j == 0) return std::exp(n_ * (p_ <= 0.5L ? std::log1p(-p_) : std::log(q_)));
    if (j == n_) return std::exp(n_ * (p_ >= 0.5L ? std::log1p(-q_) : std::log(p_)));
    return BetaSaddleTerm(j, n_ - j, p_, q_, Offset(j, n_));
  }
  long double Up(long double j) const { return (n_ - j) / (j + 1) * (p_ / q_); }
  long double Down(long double j) const { return j / (n_ - j + 1) * (q_ / p_); }
  long double Lowest() const { return 0; }
  long double Highest() const { return n_; }
  long double Mode() const { return std::floor((n_ + 1) * p_); }

  // P(X > k) = I_p(k + 1, n - k) when above, else P(X <= k).
  long double Tail(long double k, bool above) const {
    const long double a = k + 1, b = n_ - k;
    if (a < kBoostBetaLimit || b < kBoostBetaLimit)
      return above ? SummedAbove(*this, k) : SummedAtMost(*this, k);
    const long double saddle = BetaSaddleTerm(a, b, p_, q_, Offset(a, n_ + 1));
    // I_p(a, b) = 1 - I_q(b, a): the incomplete beta takes the smaller of p
    // and q as its x, held exactly, and forms the other as 1 - x.
    if (q_ < p_) return BetaTail(b, a, q_, p_, above, saddle);
    return BetaTail(a, b, p_, q_, !above, saddle);
  }

 private:
  // a - m p, from p where p is the smaller, else as -((m - a) - m q): n times
  // the rounding of p near 1 would be far larger than q's.
  ExtendedPair Offset(long double a, long double m) const {
    if (p_ <= q_) return ExactOffset(a, m, p_);
    const ExtendedPair other = ExactOffset(m - a, m, q_);
    return {-other.hi, -other.lo};
  }

  long double n_, p_, q_;
};

class Binomial final : public DiscreteModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"p"}, {"n"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }

  std::string Problem(const Parameters& p) const override {
    if (!(P0(p) >= 0 && P0(p) <= 1)) return "p must lie between 0 and 1";
    if (!IsWhole(P1(p)) || P1(p) < 0 || P1(p) >= kExactWholeLimit)
      return "n must be a whole number from 0 to 2^64 - 1";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters& p) const override {
    return {0, P1(p)};
  }
  Value Mean(const Parameters& p) const override { return Value::Of(P1(p) * P0(p)); }
  Value Variance(const Parameters& p) const override {
    return Value::Of(P1(p) * P0(p) * Complement(p, 0));
  }
  long double RoughMedian(const Parameters& p) const override { return P0(p) * P1(p); }

 protected:
  std::optional<long double> PointMass(const Parameters& p) const override {
    if (P0(p) != 0 && P0(p) != 1) return std::nullopt;
    return P0(p) == 0 ? 0 : P1(p);
  }
  long double PointInside(const Parameters& p, long double k) const override {
    return Terms(p).Point(k);
  }
  long double AtMostInside(const Parameters& p, long double k) const override {
    return Terms(p).Tail(k, false);
  }
  long double AboveInside(const Parameters& p, long double k) const override {
    return Terms(p).Tail(k, true);
  }

  Shape QuantileShape(const Parameters& p) const override {
    const long double n = P1(p), q = P0(p), sd = std::sqrt(n * q * (1 - q));
    return {n * q, sd, (1 - 2 * q) / sd};
  }
  std::string QuantileProblem(const Parameters&) const override { return ""; }
  bool WalksQuantile(const Parameters&) const override { return false; }
  long double SearchedTail(const Parameters& p, long double k, bool above) const override {
    const BinomialDistribution b(P1(p), P0(p));
    return above ? cdf(complement(b, k)) : cdf(b, k);
  }
  std::optional<int> CompareAtMost(const Parameters& p, long double k, ExactRatio& q,
                                   const Ratio& probability) const override {
    ExactRatio success(P0(p), probability);
    return CompareBinomialAtMost(success, P1(p), k, q);
  }

  // With p = 1/2, X and n - X alike: for n odd P(X <= (n - 1)/2) = 1/2.
  std::optional<long double> HalfPoint(const Parameters& p,
                                       const Ratio& probability) const override {
    if (std::fmod(P1(p), 2) != 1 || !IsHalf(P0(p), probability)) return std::nullopt;
    return (P1(p) - 1) / 2;
  }

  std::optional<DiscreteSplit> SplitAt(const Parameters& p, long double x) const override {
    if (!(P1(p) * P0(p) * (1 - P0(p)) <= kShortSumSpread * kShortSumSpread)) return std::nullopt;
    return SplitAround(Terms(p), x);
  }
};

constinit const Binomial kBinomial{};

}  // namespace

const Model& BinomialModel() {
  return kBinomial;
}

}  // namespace models
