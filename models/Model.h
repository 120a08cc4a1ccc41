// The distributions of the details engine as models: one class per
// distribution, in a file of its own (NormalModel.cpp, GammaModel.cpp,
// NoncentralFModel.cpp, GeometricModel.cpp, ...: one per accessor of
// Models.h, which reaches them), each answering every operation the engine asks
// of a distribution: the domain of its parameters, its support, its moments,
// and for its family the density and tails with their quantiles (continuous)
// or the point probabilities and cumulative tails with the discrete quantile
// (discrete).
//
// Model is abstract and every operation is pure virtual; the two families
// (Families.h) answer the other family's operations with a note and leave
// their own to the leaves, and every model is an object, so that a model
// without one of its operations does not compile.  The operations take the
// parameters as they are and may throw: the functions of Details.h are the
// way in, which check the parameters first, hold the floating-point
// environment and turn every exception into a note.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <utility>

namespace models {

// Room for the parameters of any distribution; a model reads the first
// ParameterCount() of them, each in the place of its name in ParameterNames().
inline constexpr int kMaxParameters = 6;
using Parameters = std::array<long double, kMaxParameters>;
// The exact complement 1 - p of a model's probability parameter p, as the
// caller may give it in the last place of Parameters (which no model reads
// as a parameter): the decimal a user typed, subtracted from one before its
// one rounding, where 1 - p rounded from p would lose the digits that p's
// own rounding took (p = 0.999999999999999: 1 - p off by 1.4e-5).  0, the
// default, stands for none given.
inline constexpr int kComplementPlace = kMaxParameters - 1;

// A parameter of a model: its name, as the calculator's fields name it, and
// whether the distribution moves with it (X - location is the same
// distribution at location 0), so that x - location may be given from the
// decimals typed.
struct ParameterAbout {
  const char* name;
  bool location = false;
};

// A value, or none with the reason why (a sentence for a user, e.g. "below the
// smallest extended real", "undefined for 2 or fewer degrees of freedom").
struct Value {
  std::optional<long double> value;
  std::string note;  // empty when value is set
  static Value Of(long double v);
  static Value None(std::string why);
  // Whether the value is none for being below the smallest extended real
  // (a tail too small to hold, not one without meaning).
  bool BelowRange() const;
};

// P(X = x) and the strict tails P(X < x), P(X > x) of a discrete
// distribution, from one short sum (TermSums.h).
struct DiscreteSplit {
  long double point, below, above;
};

// The central interval [low, high] that holds a probability p, each end a
// value or a note.
struct Interval {
  Value low, high;
};

// From these degrees of freedom on (every one of them), chi-square, t and F
// are so near the normal distribution (skewness below 0.03) that the mean and
// variance place their bulk as well as their quantiles would.
inline constexpr long double kNearNormalDf = 10000;

class Model {
 public:
  virtual ~Model() = default;

  // Whether the support is whole numbers.
  virtual bool Discrete() const = 0;
  // Its parameters by name, in the places of Parameters the model reads
  // them from: the caller fills each place by its name.
  virtual std::span<const ParameterAbout> ParameterNames() const = 0;
  int ParameterCount() const { return static_cast<int>(ParameterNames().size()); }
  // Whether the distribution is symmetric about a centre for every value of
  // its parameters, so that a two-sided alpha has one critical value (the
  // x with P(X > x) = alpha / 2) and twice the smaller tail is a two-sided p.
  virtual bool Symmetric() const = 0;
  // Whether mean -+ a few standard deviations places the bulk as well as the
  // quantiles would: the normal distribution always; chi-square, t and F
  // with every df at least kNearNormalDf; never a discrete one.
  virtual bool NearNormal(const Parameters& p) const = 0;

  // Why p is outside the domain; empty when it is inside.  Every operation
  // below is for parameters inside the domain.
  virtual std::string Problem(const Parameters& p) const = 0;
  // The smallest and largest value of the support.
  virtual std::pair<long double, long double> Support(const Parameters& p) const = 0;
  virtual Value Mean(const Parameters& p) const = 0;
  virtual Value Variance(const Parameters& p) const = 0;
  // A rough median: x below it makes P(X < x) the likely smaller tail.
  virtual long double RoughMedian(const Parameters& p) const = 0;

  // Continuous: the density, P(X < x), P(X > x), the x with P(X < x) = q
  // and the x with P(X > x) = q, and the central interval of probability q
  // (for a symmetric distribution from its half-width, which keeps a tiny
  // interval's relative accuracy; otherwise between the quantiles of
  // (1 - q) / 2).  A discrete model answers each with a note.
  virtual Value Density(const Parameters& p, long double x) const = 0;
  virtual Value Lower(const Parameters& p, long double x) const = 0;
  virtual Value Upper(const Parameters& p, long double x) const = 0;
  virtual Value QuantileLower(const Parameters& p, long double q) const = 0;
  virtual Value QuantileUpper(const Parameters& p, long double q) const = 0;
  // Guarded as the functions of Details.h are: it calls them.
  virtual Interval CentralInterval(const Parameters& p, long double q) const = 0;

  // Discrete: P(X = k), P(X <= k), P(X >= k), the smallest k with
  // P(X <= k) >= q, and the point with both strict tails from one short sum
  // where the distribution has one at x (none otherwise).  A continuous
  // model answers each with a note, or none.
  virtual Value Point(const Parameters& p, long double k) const = 0;
  virtual Value AtMost(const Parameters& p, long double k) const = 0;
  virtual Value AtLeast(const Parameters& p, long double k) const = 0;
  virtual Value Quantile(const Parameters& p, long double q) const = 0;
  virtual std::optional<DiscreteSplit> ShortSums(const Parameters& p, long double x) const = 0;
};

}  // namespace models
