// The table of functions: one description per function of the calculator,
// and the one place that tells the functions apart.
//
// Every reader of a function learns what it needs here and nowhere else:
// Compute (Calculator.h) reads the fields by their kinds and rules and runs
// the evaluate and format routines; the header line of the log is built from
// the title and the fields' header names; the window builds its radio buttons
// and arranges its label/edit pairs by the fields' slots; probex-calc takes
// the command names, the field order and the modes; the tables read the
// fields' roles (which fields are degrees of freedom, which is the x-value)
// and the range they start with; the error hints read the fields' limits of
// the log's whole-number arithmetic; the details, the picture and the tables
// reach the distribution's mathematics through its model (models/Model.h).
// A reader that needs to know more about a function asks for a new fact here,
// never for the function by name.
//
// A new distribution is its model, an entry here with its evaluate routine
// (ContinuousReports.cpp, DiscreteReports.cpp) and its help fragment.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calculator/NumberText.h"
#include "models/Details.h"

namespace calculator {

// Each function's identity; what it is lives in its FunctionAbout.
enum class Function {
  Normal,
  ChiSquare,
  T,
  F,
  Exponential,
  Gamma,
  Beta,
  Uniform,
  Lognormal,
  Weibull,
  Cauchy,
  Logistic,
  NoncentralT,
  NoncentralChiSquare,
  NoncentralF,
  Binomial,
  Poisson,
  Hypergeometric,
  Geometric,
  NegativeBinomial,
  DiscreteUniform,
  Factorial,
  BinomialCoefficient,
};

// What a function's numbers mean: continuous distributions have tails at an
// x-value and an inverse, discrete ones point probabilities at a whole x, the
// counting functions one (possibly huge) whole number.
enum class Family { Continuous, Discrete, Counting };

// The questions a function answers: the tails at an x-value, the x-values
// of a percentile (the quantile of a discrete distribution), and the
// probability between two bounds A < B and outside them.  A set of them is a
// Modes.
enum class Mode : uint8_t { Forward, Inverse, Interval };

class Modes {
 public:
  constexpr Modes() = default;
  constexpr Modes(std::initializer_list<Mode> modes) {
    for (Mode m : modes) bits_ |= Bit(m);
  }
  constexpr bool Has(Mode m) const { return (bits_ & Bit(m)) != 0; }

 private:
  static constexpr uint8_t Bit(Mode m) { return static_cast<uint8_t>(1u << static_cast<int>(m)); }
  uint8_t bits_ = 0;
};

// The label/edit pairs of a window: slot 0 is Label_1/Edit_1.  A capacity:
// a function uses as many slots as it has fields, and the interval mode one
// more for its upper bound (the table's check holds every slot below it).
constexpr int kSlotCount = 5;
constexpr int kEdit1 = 0;
constexpr int kEdit2 = 1;
constexpr int kEdit3 = 2;
constexpr int kEdit4 = 3;

// What a field stands for, for the readers that treat fields alike by their
// role: the critical-value tables list degrees of freedom, a table's range
// replaces the x-value.
enum class Role {
  Parameter,    // a parameter of the distribution or counting function
  Probability,  // a parameter that is a probability (its complement matters as much)
  Degrees,      // degrees of freedom
  XValue,       // the x-value; in inverse mode the percentile, in interval mode the bound A
  Bound,        // the upper bound B of the interval mode
};

// How a field's text is read: a real number, a whole number (int32), or
// degrees of freedom: a whole number (the log's whole-number route, up to
// `high`) or any real above `low` up to `most`.
enum class Number { Real, Whole, Degrees };

// A field that may instead be typed as the square root of its value, as the
// normal distribution's variance may be typed as its standard deviation:
// the caption and the rule of that reading, and its least value.
struct RootReading {
  const char* caption;
  long double low;
  const char* rule;
};

// The fields a user types by their root reading, as a set of slots.
class Readings {
 public:
  constexpr Readings() = default;
  static constexpr Readings RootAt(int slot) {
    Readings r;
    r.roots_ = static_cast<uint8_t>(1u << slot);
    return r;
  }
  constexpr bool Root(int slot) const { return (roots_ >> slot & 1u) != 0; }
  constexpr bool operator==(const Readings&) const = default;

 private:
  uint8_t roots_ = 0;
};

// One label/edit pair of a function.  A value is accepted when it parses as
// its number and lies in [low, high] (low itself excluded when lowOpen); the
// x-value of a function with an inverse reads as a percentile in that mode.
struct FieldAbout {
  int slot;  // the label/edit pair, 0 for Label_1/Edit_1
  Role role;
  Number number;
  const char* caption;      // the label's caption
  const char* parameter;    // the parameter's name in results and JSON; nullptr for the x-value
  const char* headerName;   // its name in the log's header line; nullptr: not in the header
  const char* defaultText;  // the field's text when the function is selected
  long double low;
  bool lowOpen;
  long double high;
  const char* rule;  // the rule in words, for a user: "a whole number from 1 to 1073741823"
  // The largest value the log's whole-number arithmetic takes from this field
  // (0: none beyond the rule), counted together with the next field's value
  // when `mostWithNext` (the urn's blue and red balls).  The error hints name
  // the field and this limit after an integer overflow.
  int64_t most = 0;
  bool mostWithNext = false;
  // The x-value in inverse mode: any probability strictly between 0 and 1,
  // not only those from kLowestPercentile to kHighestPercentile.
  bool anyPercentile = false;
  // The field's other reading, where it has one.
  const RootReading* root = nullptr;

  bool IsParameter() const { return role != Role::XValue && role != Role::Bound; }
  // Whether the field's value is written and computed as a whole number.
  bool IsWhole(long double value) const;
};

// The numbers of one computation, by family and mode.  A number a model
// leaves without a value (beyond the extended range) is a quiet NaN, which
// the log writes "null"; the details say why.
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
// Discrete inverse: the smallest x with P(X<=x) >= p, with P(X<=x) and
// P(X<=x-1) to show it.
struct QuantileAt {
  long double p;
  long double x;  // a whole number, which may pass the int32 range
  long double atMost, atMostBelow;
};
// Continuous interval: P(a<X<b) and P(X<a or X>b).
struct Between {
  long double a, b, inside, outside;
};
// Discrete interval: P(a<=X<=b) and P(X<a or X>b).
struct WholeBetween {
  int32_t a, b;
  long double inside, outside;
};
// Counting: the natural logarithm of the value, and the value itself where
// the log prints it in full.
struct CountingValue {
  long double ln;
  std::optional<long double> value;
};
// monostate: the fields are each valid, but together outside the function's
// domain (k > n of a binomial coefficient).
using Values = std::variant<std::monostate, TailsAt, PointsOf, DiscreteAt, QuantileAt, Between,
                            WholeBetween, CountingValue>;

// The parsed fields, by slot; a Whole field holds an int32 value exactly.
struct Arguments {
  std::array<long double, kSlotCount> value{};
  // 1 - value from the decimal text, for a probability and a percentile
  // (DecimalComplement.h), which the details engine takes where it needs
  // 1 - p; 0: none.
  std::array<long double, kSlotCount> complement{};
  // The same decimals as exact fractions, for the discrete quantile's
  // boundaries; empty where none.
  std::array<models::Ratio, kSlotCount> typed{};
  // x - location from the decimal texts, rounded once, for a distribution
  // with a Location field (its far tails depend on that difference); none
  // where a text is no plain decimal.
  std::optional<long double> fromLocation{};
  // What each value leaves out of its decimal text (DecimalResidual), for the
  // details of a forward or interval report: of a probability above 1/2, what the
  // complement's leaves out, with the sign of a change to the probability.
  // 0 where the text is exact in binary, no plain decimal, or a square root.
  std::array<long double, kSlotCount> residual{};
  int32_t Whole(int slot) const { return static_cast<int32_t>(value[slot]); }
  // Whether the value is a whole number of the int32 range.
  bool IsWhole(int slot) const;
};

using LogLines = std::array<std::string, 2>;
struct FunctionAbout;
using Evaluate = Values (*)(const Arguments& arguments, Mode mode);
using Format = LogLines (*)(const FunctionAbout& about, const Arguments& arguments,
                            const Values& values);
// The exact value of a counting function, for the details.
using CountExactly = models::Counting (*)(const Arguments& arguments);

// A rule that the fields break together, though each keeps its own: the
// field it marks, its sentence, and the test (none: the function has none).
struct CrossRule {
  int slot;
  const char* rule;
  bool (*holds)(const Arguments& arguments);
};

// The range of x-values a table of values starts with.
struct RangeDefaults {
  const char* from;
  const char* to;
  const char* step;
};

struct FunctionAbout {
  Function function;
  const char* commandName;  // the name probex-calc takes
  const char* radioName;    // object name of the radio button
  const char* caption;      // radio caption, "&" before the access key
  const char* title;        // the log's header line starts with it: "Normal Distribution"
  Family family;
  // The details engine's model of the distribution; nullptr for the
  // counting functions.
  const models::Model* model;
  std::span<const FieldAbout> fields;  // in the order probex-calc takes them
  Modes modes;                         // what the log answers
  const char* inverseDefault;          // the percentile the inverse mode starts with
  const char* headerEnd;               // after the header's parameters: ":" or nothing
  CrossRule together;                  // also the rule marked when evaluate answers monostate
  // Where the log's numbers come from: this routine of the function's own
  // arithmetic (Distr/), whose printed digits are kept, for whole degrees
  // of freedom where the function has them; otherwise, and for every
  // function without one (nullptr), the model's values (ModelValues).
  Evaluate evaluate;
  Format format;
  CountExactly countExactly;  // the counting functions; nullptr otherwise
  const char* noun;           // "the factorial", for sentences about a counting function
  RangeDefaults range;        // a table of values' first range
  bool zTable;                // offers the table of the standard normal

  bool HasInverse() const { return modes.Has(Mode::Inverse); }
  // Whether the log's numbers for these arguments come from `evaluate`.
  bool ByMethod(const Arguments& arguments) const;
  const FieldAbout* FieldAt(int slot) const;  // nullptr: the slot is not used
  const FieldAbout* XField() const;           // nullptr for the counting functions
  // The slot of the interval mode's upper bound B, which no entry lists: the
  // one after the function's last field (FieldsIn).
  int BoundSlot() const;
  // How many fields have this role.
  int CountOf(Role role) const;
  // The field that gives the model's parameter of this name; nullptr where
  // none does (the table's check in the tests finds none such).
  const FieldAbout* FieldNamed(std::string_view parameter) const;
  // The field of the parameter the distribution moves with, where its
  // model has one (models::ParameterAbout::location).
  const FieldAbout* LocationField() const;
  // Symmetric about a centre whatever its parameters, as its model says.
  bool Symmetric() const { return model != nullptr && model->Symmetric(); }
};

// Every function, in the order of the radio buttons, top to bottom.
std::span<const FunctionAbout> Functions();
const FunctionAbout& AboutFunction(Function function);
std::optional<Function> FunctionByCommandName(std::string_view name);
// The function a window selects first.
Function FirstFunction();

// The fields of a function in a mode, in the order probex-calc takes them:
// the table's fields, and in interval mode the upper bound B after the
// x-value (which is then the lower bound A).
std::vector<FieldAbout> FieldsIn(const FunctionAbout& about, Mode mode);

// The caption and default text of a field, in the given mode (the x-value
// reads "Percentile" in inverse mode, "Lower bound (A)" in interval mode).
const char* FieldCaption(const FunctionAbout& about, const FieldAbout& field, Mode mode,
                         Readings readings = {});
const char* FieldDefault(const FunctionAbout& about, const FieldAbout& field, Mode mode);
// Whether the field reads a percentile in this mode.
bool ReadsPercentile(const FunctionAbout& about, const FieldAbout& field, Mode mode);

// The parameters as the log's header writes them: "mean=0.000000,
// variance=1.000000" by their header names, or by their parameter names
// (the tables' titles); the x-value too where its header name is given
// and `withX`.
enum class Names { Header, Parameter };
std::string ParameterText(const FunctionAbout& about, const Arguments& arguments, Names names,
                          bool withX, ShortForm form = ShortForm::Cut);
// The log's header line of a distribution: "Normal Distribution,
// mean=0.000000, variance=1.000000:".
std::string HeaderLine(const FunctionAbout& about, const Arguments& arguments,
                       ShortForm form = ShortForm::Cut);
// The header without its x-value and end: the title of a picture.
std::string HeaderTitle(const FunctionAbout& about, const Arguments& arguments,
                        ShortForm form = ShortForm::Cut);

// The smallest and largest percentile an inverse accepts (both included), and
// the smallest variance: the extended reals nearest to these decimals.
constexpr long double kLowestPercentile = 0.000001L;
constexpr long double kHighestPercentile = 0.999999L;
constexpr long double kSmallestVariance = 0.000001L;

}  // namespace calculator
