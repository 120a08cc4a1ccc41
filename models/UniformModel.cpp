// The continuous uniform distribution on [a, b], a < b.
//
// P(X < x) = (x - a) / (b - a) and P(X > x) = (b - x) / (b - a), each from
// its own difference (three roundings, never one minus the other); the
// density is 1 / (b - a) on [a, b].  The quantile of q below is a + q (b - a)
// up to q = 1/2 and b - (1 - q)(b - a) above (1 - q is then exact), so that
// the end nearer the answer anchors it, and the quantile above likewise; the
// central interval of probability q is the middle -+ q (b - a) / 2.  Mean
// (a + b) / 2, variance (b - a)^2 / 12.
#include <cmath>
#include <string>
#include <utility>

#include "models/Families.h"
#include "models/LocationScale.h"
#include "models/Models.h"

namespace models {

namespace {

long double Width(const Parameters& p) {
  return P1(p) - P0(p);
}

long double Middle(const Parameters& p) {
  return P0(p) / 2 + P1(p) / 2;
}

// The x with P(X < x) = q.
long double FromBelow(const Parameters& p, long double q) {
  if (q <= 0.5L) return P0(p) + q * Width(p);
  return P1(p) - (1 - q) * Width(p);
}

// The x with P(X > x) = q.
long double FromAbove(const Parameters& p, long double q) {
  if (q <= 0.5L) return P1(p) - q * Width(p);
  return P0(p) + (1 - q) * Width(p);
}

class Uniform final : public ContinuousModel {
 public:
  std::span<const ParameterAbout> ParameterNames() const override {
    static constexpr ParameterAbout kNames[] = {{"a"}, {"b"}};
    return kNames;
  }
  bool Symmetric() const override { return true; }
  bool NearNormal(const Parameters&) const override { return false; }

  std::string Problem(const Parameters& p) const override {
    if (const std::string a = FiniteProblem(P0(p), "a"); !a.empty()) return a;
    if (!(std::isfinite(P1(p)) && P1(p) > P0(p))) return "b must be a finite number above a";
    if (!std::isfinite(Width(p))) return "b - a must be below the largest extended real";
    return "";
  }
  std::pair<long double, long double> Support(const Parameters& p) const override {
    return {P0(p), P1(p)};
  }
  Value Mean(const Parameters& p) const override { return Value::Of(Middle(p)); }
  Value Variance(const Parameters& p) const override {
    const long double w = Width(p);
    return Positive(w * w / 12);
  }
  long double RoughMedian(const Parameters& p) const override { return Middle(p); }

  Interval CentralInterval(const Parameters& p, long double q) const override {
    return SymmetricInterval(*this, p, q, Middle(p), [&] { return q * Width(p) / 2; });
  }

 protected:
  Value DensityAt(const Parameters& p, long double x) const override {
    if (x < P0(p) || x > P1(p)) return Value::Of(0);
    return Positive(1 / Width(p));
  }
  Value LowerAt(const Parameters& p, long double x) const override {
    if (x <= P0(p) || x >= P1(p)) return Value::Of(x <= P0(p) ? 0 : 1);
    return Positive((x - P0(p)) / Width(p));
  }
  Value UpperAt(const Parameters& p, long double x) const override {
    if (x <= P0(p) || x >= P1(p)) return Value::Of(x <= P0(p) ? 1 : 0);
    return Positive((P1(p) - x) / Width(p));
  }
  long double LowerQuantile(const Parameters& p, long double q) const override {
    return FromBelow(p, q);
  }
  long double UpperQuantile(const Parameters& p, long double q) const override {
    return FromAbove(p, q);
  }
};

constinit const Uniform kUniform{};

}  // namespace

const Model& UniformModel() {
  return kUniform;
}

}  // namespace models
