// The forward values at the exact decimals typed rather than at their
// roundings.  A long double holds a decimal such as 0.3 to some 1e-20 of
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
#include <cmath>
#include <initializer_list>
#include <vector>

#include "details/Engine.h"

namespace details {

namespace {

constexpr long double kStep = 1e-9L;

// The exponents e^(...) that correct each value of a forward aggregate.
template <class Aggregate>
class Corrections {
 public:
  using Member = Value Aggregate::*;
  Corrections(std::initializer_list<Member> members) : members_(members) {}

  // Adds (ln nudged - ln at) * (residual / step) for each value.
  void Add(const Aggregate& at, const Aggregate& nudged, long double ratio) {
    std::size_t i = 0;
    for (const Member m : members_) {
      const Value &v = at.*m, &w = nudged.*m;
      if (v.value && w.value && *v.value > 0 && *w.value > 0)
        exponents_[i] += std::log(*w.value / *v.value) * ratio;
      ++i;
    }
  }

  void Apply(Aggregate& at) const {
    std::size_t i = 0;
    for (const Member m : members_) {
      Value& v = at.*m;
      if (v.value && exponents_[i] != 0) v.value = *v.value + *v.value * std::expm1(exponents_[i]);
      ++i;
    }
  }

 private:
  std::vector<Member> members_;
  std::vector<long double> exponents_ = std::vector<long double>(members_.size());
};

// The aggregate at the exact inputs: compute(d, x) once at the long doubles
// and once more for each input with a residual, nudged by a step of that
// residual's sign.
template <class Aggregate, class Compute>
Aggregate Corrected(const Distribution& d, long double x, const Residuals& r, Compute compute,
                    Corrections<Aggregate> corrections) {
  HeldFloatEnvironment held;  // once for all the values
  Aggregate at = compute(d, x);
  if (d.model == nullptr || !ParameterProblem(d).empty()) return at;
  const auto nudge = [&](Distribution moved, long double movedX, long double step,
                         long double residual) {
    corrections.Add(at, compute(moved, movedX), residual / step);
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
    nudge(moved, x, step, residual);
  }
  if (r.x != 0 && std::isfinite(x) && x != 0) {
    const long double step = std::copysign(kStep * std::fabs(x), r.x);
    nudge(d, x + step, step, r.x);
  }
  corrections.Apply(at);
  return at;
}

}  // namespace

ContinuousForward Forward(const Distribution& d, long double x, const Residuals& residuals) {
  return Corrected<ContinuousForward>(
      d, x, residuals, [](const Distribution& at, long double y) { return Forward(at, y); },
      {&ContinuousForward::lower, &ContinuousForward::upper, &ContinuousForward::density,
       &ContinuousForward::twoTailed});
}

DiscreteForward DiscreteAt(const Distribution& d, long double x, const Residuals& residuals) {
  return Corrected<DiscreteForward>(
      d, x, residuals, [](const Distribution& at, long double y) { return DiscreteAt(at, y); },
      {&DiscreteForward::below, &DiscreteForward::atMost, &DiscreteForward::point,
       &DiscreteForward::atLeast, &DiscreteForward::above});
}

}  // namespace details
