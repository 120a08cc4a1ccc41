// The discrete uniform distribution on the whole numbers a, a + 1, ..., b.
//
// With n = b - a + 1 points (exact: the ends lie within 2^63 of 0),
// P(X = k) = 1 / n, P(X <= k) = (k - a + 1) / n and P(X > k) = (b - k) / n,
// each numerator exact and one rounding in all, and the quantile's boundary
// compared exactly (ExactFractions.h).  Mean (a + b) / 2, variance
// (n - 1)(n + 1) / 12.
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "models/ExactFractions.h"
#include "models/Families.h"
#include "models/Models.h"

namespace models {

namespace {

// The ends are whole numbers of magnitude below this.
constexpr long double kEndLimit = 0x1p63L;

long double Points(const Parameters& p) {
  return P1(p) - P0(p) + 1;
}

std::string EndProblem(long double v, const char* name) {
  if (IsWhole(v) && std::fabs(v) < kEndLimit) return "";
  return std::string(name) + " must be a whole number between -2^63 and 2^63";
}

class DiscreteUniform final : public DiscreteModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"a"}, {"b"}};
    return kNames;
  }
  bool Symmetric() const override { return true; }

  std::string Problem(const Parameters& p) const override {
    if (const std::string a = EndProblem(P0(p), "a"); !a.empty()) return a;
    if (const std::string b = EndProblem(P1(p), "b"); !b.empty()) return b;
    if (P1(p) < P0(p)) return "b must be at least a";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters& p) const override {
    return {P0(p), P1(p)};
  }
  Value Mean(const Parameters& p) const override { return Value::Of(P0(p) / 2 + P1(p) / 2); }
  Value Variance(const Parameters& p) const override {
    const long double n = Points(p);
    return Value::Of((n - 1) * (n + 1) / 12);
  }
  long double RoughMedian(const Parameters& p) const override { return P0(p) / 2 + P1(p) / 2; }

 protected:
  std::optional<long double> PointMass(const Parameters&) const override { return std::nullopt; }
  long double PointInside(const Parameters& p, long double) const override { return 1 / Points(p); }
  long double AtMostInside(const Parameters& p, long double k) const override {
    return (k - P0(p) + 1) / Points(p);
  }
  long double AboveInside(const Parameters& p, long double k) const override {
    return (P1(p) - k) / Points(p);
  }

  Shape QuantileShape(const Parameters& p) const override {
    const long double n = Points(p);
    return {P0(p) / 2 + P1(p) / 2, std::sqrt((n - 1) * (n + 1) / 12), 0};
  }
  std::string QuantileProblem(const Parameters&) const override { return ""; }
  bool WalksQuantile(const Parameters&) const override { return false; }
  long double SearchedTail(const Parameters& p, long double k, bool above) const override {
    return above ? AboveInside(p, k) : AtMostInside(p, k);
  }
  std::optional<int> CompareAtMost(const Parameters& p, long double k, ExactRatio& q,
                                   const Ratio&) const override {
    return CompareCountAtMost(k - P0(p) + 1, Points(p), q);
  }

  std::optional<DiscreteSplit> SplitAt(const Parameters&, long double) const override {
    return std::nullopt;
  }
};

constinit const DiscreteUniform kDiscreteUniform{};

}  // namespace

const Model& DiscreteUniformModel() {
  return kDiscreteUniform;
}

}  // namespace models
