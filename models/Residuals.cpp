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
// of the value) at far less than a unit of its last place.  Where a value
// moves on a scale far finer than its input (the uniform's tails at a = 10^8
// with b - a = 1, where a step of 0.1 changes them by a sixth; the beta's
// upper tail at x = 1 - 10^-12, which a step of 10^-9 empties), the step is
// shortened until no value moves by more than kLargestChange, and the
// quotient is taken over the step actually made (the exact difference of
// the moved input and the input).
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

#include "models/Engine.h"

namespace models {

namespace {

constexpr long double kStep = 1e-9L;
// The largest change |ln(moved value / value)| a step may cause: the
// first-order quotient is then off by about half of it, relatively.  A longer
// step is shortened (at most kShortenings times) in proportion.
constexpr long double kLargestChange = 1e-6L;
constexpr int kShortenings = 4;
// The shortening where a step empties a value or leaves the domain.
constexpr long double kEmptiedShortening = 0x1p-20L;

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
      if (v.value && w.value && *v.value > 0 && *w.value > 0)
        exponents_[i] += std::log(*w.value / *v.value) * ratio;
    }
  }

  // The largest |ln(nudged / at)| of the values; infinite where a value
  // has left the range or become none.
  long double Change(const Aggregate& at, const Aggregate& nudged) const {
    long double largest = 0;
    for (const Member member : members_) {
      const Value &v = at.*member, &w = nudged.*member;
      if (!(v.value && *v.value > 0)) continue;
      if (!(w.value && *w.value > 0)) return std::numeric_limits<long double>::infinity();
      largest = std::max(largest, std::fabs(std::log(*w.value / *v.value)));
    }
    return largest;
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

// One input's correction: moved(step) gives the aggregate with the input
// moved by about step and the step actually made (0 where none could be:
// outside the domain, or a step below the input's last place).
template <class Aggregate, class Moved>
void Nudge(const Aggregate& at, Corrections<Aggregate>& corrections, long double residual,
           long double step, Moved&& moved) {
  for (int attempt = 0; attempt <= kShortenings; ++attempt) {
    const auto [nudged, made] = moved(step);
    if (made != 0) {
      const long double change = corrections.Change(at, nudged);
      if (change <= kLargestChange) return corrections.Add(at, nudged, residual / made);
      step *= std::isinf(change) ? kEmptiedShortening : kLargestChange / (2 * change);
    } else {
      step *= kEmptiedShortening;
    }
  }
}

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
  const int count = std::min(d.model->ParameterCount(), kComplementPlace);
  for (int i = 0; i < count; ++i) {
    const long double residual = r.parameters[i], value = d.parameters[i];
    if (residual == 0 || !std::isfinite(value) || value == 0) continue;
    const long double complement = d.parameters[kComplementPlace];
    const bool withComplement = i == r.probability && complement > 0;
    const long double scale = withComplement ? std::min(value, complement) : std::fabs(value);
    Nudge(at, corrections, residual, std::copysign(kStep * scale, residual), [&](long double step) {
      Distribution moved = d;
      moved.parameters[i] = value + step;
      const long double made = moved.parameters[i] - value;
      if (withComplement) moved.parameters[kComplementPlace] = complement - made;
      if (!ParameterProblem(moved).empty()) return std::pair{at, 0.0L};
      return std::pair{compute(moved, points), made};
    });
  }
  const Points residuals{r.x, r.b};
  for (std::size_t j = 0; j < points.size(); ++j) {
    if (residuals[j] == 0 || !std::isfinite(points[j]) || points[j] == 0) continue;
    const long double step = std::copysign(kStep * std::fabs(points[j]), residuals[j]);
    Nudge(at, corrections, residuals[j], step, [&](long double s) {
      Points moved = points;
      moved[j] += s;
      return std::pair{compute(d, moved), moved[j] - points[j]};
    });
  }
  corrections.Apply(at);
  return at;
}

}  // namespace

ContinuousForward Forward(const Distribution& d, long double x, const Residuals& residuals) {
  ContinuousForward f = Corrected<ContinuousForward>(
      d, {x, 0}, residuals,
      [](const Distribution& at, const Points& y) { return Forward(at, y[0]); },
      {&ContinuousForward::lower, &ContinuousForward::upper, &ContinuousForward::density});
  // Twice the smaller tail, from the corrected tails: it has no derivative
  // where they cross (the uniform's middle), and a difference across the
  // crossing would move it by the step.
  if (f.lower.value && f.upper.value)
    f.twoTailed = Value::Of(std::min(1.0L, 2 * std::min(*f.lower.value, *f.upper.value)));
  return f;
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
