// The table of functions: one description per function of the calculator.
//
// Everything that lists the functions or tells them apart reads this table:
// Compute (Calculator.h) validates the fields by it and runs its evaluate and
// format routines, the window builds its radio buttons and arranges its fields
// by it, and probex-calc takes its names and writes its help from it.  A new
// function is one entry here, its routines (ContinuousReports.cpp,
// DiscreteReports.cpp) and its mathematics in Distr.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "details/Model.h"

namespace calculator {

enum class Function {
  Normal,
  ChiSquare,
  T,
  F,
  Binomial,
  Poisson,
  Hypergeometric,
  Factorial,
  BinomialCoefficient,
};

// What a function's numbers mean: continuous distributions have tails at an
// x-value and an inverse, discrete ones point probabilities at a whole x, the
// counting functions one (possibly huge) whole number.
enum class Family { Continuous, Discrete, Counting };

// The four label/edit pairs: Label_1/Edit_1 is index 0.
constexpr int kFieldCount = 4;
constexpr int kEdit1 = 0;
constexpr int kEdit2 = 1;
constexpr int kEdit3 = 2;
constexpr int kEdit4 = 3;

// How a field's text is read.  A Point field is the x-value of a continuous
// distribution: a real, or in inverse mode a percentile.
enum class FieldKind { Hidden, Real, Whole, Point };

// One label/edit pair of a function.  A value is accepted when it parses as
// its kind and lies in [low, high] (low itself excluded when lowOpen).
struct FieldAbout {
  FieldKind kind;
  const char* caption;      // the label's caption
  const char* parameter;    // the parameter's name in results; nullptr for the x-value
  const char* defaultText;  // the field's text when the function is selected
  long double low;
  bool lowOpen;
  long double high;
  const char* rule;  // the rule in words, for a user: "a whole number from 1 to 1073741823"
};

// The numbers of one computation, by family and mode.
// Continuous forward: P(X<x) and P(X>x).
struct TailsAt {
  long double x, lower, upper;
};
// Continuous inverse: P(X<xLower) = p and P(X>xUpper) = p.
struct PointsOf {
  long double p, xLower, xUpper;
};
// Discrete: P(X<=x), P(X>=x) and P(X=x).
struct DiscreteAt {
  int32_t x;
  long double atMost, atLeast, point;
};
// Counting: the natural logarithm of the value, and the value itself where
// the log prints it in full.
struct CountingValue {
  long double ln;
  std::optional<long double> value;
};
// monostate: the fields are each valid, but together outside the function's
// domain (k > n of a binomial coefficient).
using Values = std::variant<std::monostate, TailsAt, PointsOf, DiscreteAt, CountingValue>;

// The parsed fields, by index; a Whole field holds an int32 value exactly.
struct Arguments {
  std::array<long double, kFieldCount> value{};
  int32_t Whole(int index) const { return static_cast<int32_t>(value[index]); }
};

using LogLines = std::array<std::string, 2>;
using Evaluate = Values (*)(const Arguments& arguments, bool inverse);
using Format = LogLines (*)(const Arguments& arguments, const Values& values);

struct FunctionAbout {
  Function function;
  const char* commandName;  // the name probex-calc takes
  const char* radioName;    // object name of the radio button
  const char* caption;      // radio caption, "&" before the access key
  Family family;
  // The details engine's model of the distribution; nullptr for the counting
  // functions.
  const details::Model* model;
  std::array<FieldAbout, kFieldCount> fields;
  const char* inverseDefault;  // the percentile the inverse mode starts with; nullptr: no inverse
  const char* domainRule;      // the rule Edit_1 breaks when evaluate answers monostate
  Evaluate evaluate;
  Format format;

  bool HasInverse() const { return inverseDefault != nullptr; }
};

// Every function, in the order of the radio buttons, top to bottom.
std::span<const FunctionAbout> Functions();
const FunctionAbout& AboutFunction(Function function);
std::optional<Function> FunctionByCommandName(std::string_view name);

// The caption and default text of a field, in forward or inverse mode (the
// Point field reads "Percentile" in inverse mode).
const char* FieldCaption(const FunctionAbout& about, int index, bool inverse);
const char* FieldDefault(const FunctionAbout& about, int index, bool inverse);

// The smallest and largest percentile an inverse accepts (both included), and
// the smallest variance: the extended reals nearest to these decimals.
constexpr long double kLowestPercentile = 0.000001L;
constexpr long double kHighestPercentile = 0.999999L;
constexpr long double kSmallestVariance = 0.000001L;

}  // namespace calculator
