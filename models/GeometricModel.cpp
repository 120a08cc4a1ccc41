// The geometric distribution: X, the number of failures before the first
// success in trials of probability 0 < p <= 1, on 0, 1, 2, ...
//
// With L = log1p(-p) = ln(1 - p), P(X > k) = (1 - p)^(k + 1) = e^((k + 1) L)
// and P(X = k) = p e^(k L), the products formed as unevaluated pairs
// (LocationScale.h) so that a tail near 1e-4900 keeps its relative accuracy,
// and P(X <= k) = -expm1((k + 1) L), accurate however small; neither tail is
// one minus the other.  The tails are fractions of integers, compared with a
// probability exactly where they are workable (ExactFractions.h, with r = 1).
// With p = 1 the distribution is a point mass at 0.  Mean (1 - p) / p,
// variance (1 - p) / p^2.
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "models/ExactFractions.h"
#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"

namespace models {

namespace {

// e^(j L), L = ln(1 - p).
long double PowerOfFailure(const Parameters& p, long double j) {
  return ExpOf(ProductPair(j, LnComplement(p, 0)));
}

class Geometric final : public DiscreteModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"p"}};
    return kNames;
  }
  bool Symmetric() const override { return false; }

  std::string Problem(const Parameters& p) const override {
    if (!(P0(p) > 0 && P0(p) <= 1)) return "p must lie above 0 and at most 1";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters&) const override {
    return {0, std::numeric_limits<long double>::infinity()};
  }
  Value Mean(const Parameters& p) const override { return Finite(Complement(p, 0) / P0(p)); }
  Value Variance(const Parameters& p) const override {
    return Finite(Complement(p, 0) / P0(p) / P0(p));
  }
  long double RoughMedian(const Parameters& p) const override { return Complement(p, 0) / P0(p); }

 protected:
  std::optional<long double> PointMass(const Parameters& p) const override {
    if (P0(p) != 1) return std::nullopt;
    return 0;
  }
  long double PointInside(const Parameters& p, long double k) const override {
    return P0(p) * PowerOfFailure(p, k);
  }
  long double AtMostInside(const Parameters& p, long double k) const override {
    return -std::expm1((k + 1) * LnComplement(p, 0));
  }
  long double AboveInside(const Parameters& p, long double k) const override {
    return PowerOfFailure(p, k + 1);
  }

  Shape QuantileShape(const Parameters& p) const override {
    const long double q = Complement(p, 0), root = std::sqrt(q);
    return {q / P0(p), root / P0(p), (1 + q) / root};
  }
  // The closed form: P(X <= k) = 1 - e^((k + 1) L) >= q where
  // k + 1 >= ln(1 - q) / L, ln(1 - q) from the smaller of q and 1 - q; the
  // search then checks it (and its neighbour) on the tails.
  long double QuantileGuess(const Parameters& p, long double q,
                            long double complement) const override {
    const long double lnRest = q <= 0.5L ? std::log1p(-q) : std::log(complement);
    return std::ceil(lnRest / LnComplement(p, 0)) - 1;
  }
  std::string QuantileProblem(const Parameters&) const override { return ""; }
  bool WalksQuantile(const Parameters&) const override { return false; }
  long double SearchedTail(const Parameters& p, long double k, bool above) const override {
    return above ? AboveInside(p, k) : AtMostInside(p, k);
  }
  std::optional<int> CompareAtMost(const Parameters& p, long double k, ExactRatio& q,
                                   const Ratio& probability) const override {
    ExactRatio success(P0(p), probability);
    return CompareFailuresAtMost(success, 1, k, q);
  }

  // P(X <= 0) = p.
  std::optional<long double> HalfPoint(const Parameters& p,
                                       const Ratio& probability) const override {
    if (!IsHalf(P0(p), probability)) return std::nullopt;
    return 0;
  }

  std::optional<DiscreteSplit> SplitAt(const Parameters&, long double) const override {
    return std::nullopt;
  }
};

constinit const Geometric kGeometric{};

}  // namespace

const Model& GeometricModel() {
  return kGeometric;
}

}  // namespace models
