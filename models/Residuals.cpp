// The forward and interval values at the exact decimals typed rather than
// at their roundings.  A long double holds a decimal such as 0.3 to some 1e-20 of
// it, which is nothing in a central value but not in a far tail, whose
// logarithm may change thousands of times faster than its input: a Poisson
// tail near 1e-35 at lambda = 5463608.68218 moves 1e-15 with lambda's
// rounding.  To first order,
//   ln v(input + residual) = ln v(input) + (d ln v / d input) residual,
// with the derivative of each input that has a residual taken as a
// difference quotient over a relative step of kStep: the values' own errors
// (1e-18) then enter the derivative at 1e-9, and the correction (below 1e-12
// of the value) at far less than a unit of its last place.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "models/Engine.h"

namespace models {

namespace {

constexpr long double kStep = 1e-9L;
// The largest change of ln v over one step that is still first order: a
// derivative of a million times the relative step.
constexpr long double kLinearChange = 1e-3L;

// x and 0, or the bounds of an interval.
using Points = std::array<long double, 2>;

// The exponents e^(...) that correct each value of an aggregate.
template <class Aggregate>
class Corrections {
 public:
  using Member = Value Aggregate::*;
  Corrections(std::initializer_list<Member> members) : members_(members) {}

  // Adds (ln nudged - ln at) * (residual / step) for each value.
  void Add(const Aggregate& at, const Aggregate& nudged, long double ratio) {
    for (std::size_t i = 0; i < members_.size(); ++i) {
      const Value &v = at.*members_[i], &w = nudged.*members_[i];
      if (!(v.value && w.value && *v.value > 0 && *w.value > 0)) continue;
      // A step that moves the value this much is no first-order step (a
      // location of 1e300 at a scale of 1e10 moves by 1e281 scales): its
      // quotient says nothing of the residual's effect, which is left out.
      const long double change = std::log(*w.value / *v.value);
      if (std::fabs(change) <= kLinearChange) exponents_[i] += change * ratio;
    }
  }

  void Apply(Aggregate& at) const {
    for (std::size_t i = 0; i < members_.size(); ++i) {
      Value& v = at.*members_[i];
      if (v.value && exponents_[i] != 0) v.value = *v.value + *v.value * std::expm1(exponents_[i]);
    }
  }

 private:
  std::vector<Member> members_;
  std::vector<long double> exponents_ = std::vector<long double>(members_.size());
};

// The aggregate at the exact inputs: compute(d, points) once at the long
// doubles and once more for each input with a residual, nudged by a step of
// that residual's sign.  The points are x (and 0), or the bounds a and b of
// an interval.
template <class Aggregate, class Compute>
Aggregate Corrected(const Distribution& d, Points points, const Residuals& r, Compute compute,
                    Corrections<Aggregate> corrections) {
  HeldFloatEnvironment held;  // once for all the values
  Aggregate at = compute(d, points);
  if (d.model == nullptr || !ParameterProblem(d).empty()) return at;
  const auto nudge = [&](const Distribution& moved, const Points& movedPoints, long double step,
                         long double residual) {
    corrections.Add(at, compute(moved, movedPoints), residual / step);
  };
  const int count = std::min(d.model->ParameterCount(), kComplementPlace);
  for (int i = 0; i < count; ++i) {
    const long double residual = r.parameters[i], value = d.parameters[i];
    if (residual == 0 || !std::isfinite(value) || value == 0) continue;
    Distribution moved = d;
    const long double complement = d.parameters[kComplementPlace];
    const bool withComplement = i == r.probability && complement > 0;
    const long double scale = withComplement ? std::min(value, complement) : std::fabs(value);
    const long double step = std::copysign(kStep * scale, residual);
    moved.parameters[i] = value + step;
    if (withComplement) moved.parameters[kComplementPlace] = complement - step;
    if (!ParameterProblem(moved).empty()) continue;
    nudge(moved, points, step, residual);
  }
  const Points residuals{r.x, r.b};
  for (std::size_t j = 0; j < points.size(); ++j) {
    if (residuals[j] == 0 || !std::isfinite(points[j]) || points[j] == 0) continue;
    Points moved = points;
    const long double step = std::copysign(kStep * std::fabs(points[j]), residuals[j]);
    moved[j] += step;
    nudge(d, moved, step, residuals[j]);
  }
  corrections.Apply(at);
  return at;
}

}  // namespace

ContinuousForward Forward(const Distribution& d, long double x, const Residuals& residuals) {
  return Corrected<ContinuousForward>(
      d, {x, 0}, residuals,
      [](const Distribution& at, const Points& y) { return Forward(at, y[0]); },
      {&ContinuousForward::lower, &ContinuousForward::upper, &ContinuousForward::density,
       &ContinuousForward::twoTailed});
}

DiscreteForward DiscreteForwardAt(const Distribution& d, long double x, const Residuals& residuals) {
  return Corrected<DiscreteForward>(
      d, {x, 0}, residuals,
      [](const Distribution& at, const Points& y) { return DiscreteForwardAt(at, y[0]); },
      {&DiscreteForward::below, &DiscreteForward::atMost, &DiscreteForward::point,
       &DiscreteForward::atLeast, &DiscreteForward::above});
}

IntervalValues Between(const Distribution& d, long double a, long double b,
                       const Residuals& residuals) {
  return Corrected<IntervalValues>(
      d, {a, b}, residuals,
      [](const Distribution& at, const Points& y) { return Between(at, y[0], y[1]); },
      {&IntervalValues::between, &IntervalValues::outside});
}

}  // namespace models
