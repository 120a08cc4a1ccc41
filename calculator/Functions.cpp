// The table of functions.
#include "calculator/Functions.h"

#include <limits>

#include "calculator/NumberText.h"
#include "calculator/Reports.h"
#include "details/Models.h"

namespace calculator {

namespace {

using namespace reports;

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kMaxWhole = 2147483647;

// The limits of the log's whole-number arithmetic (the error hints name
// them): the tails of chi-square, t and F double their degrees of freedom,
// the counting functions work with 2(n + 1) and the Poisson tail with
// 2(x + 2), all in int32.
constexpr int64_t kMostDegrees = 1073741823;  // 2^30 - 1
constexpr int64_t kMostCount = 1073741822;    // 2(n + 1) <= 2^31 - 1
constexpr int64_t kMostPoissonX = 1073741821;

constexpr FieldAbout XValue(int slot = kEdit4) {
  return {slot, Role::XValue, Number::Real, "x-value", nullptr,   nullptr,
          "0",  -kInf,        false,        kInf,      "a number"};
}
constexpr FieldAbout WholeX(int64_t most = 0) {
  return {kEdit4, Role::XValue,   Number::Whole, "x-value", nullptr,          nullptr,
          "0",    -kMaxWhole - 1, false,         kMaxWhole, "a whole number", most};
}
// Degrees of freedom: from 2^30 on the tails' whole-number arithmetic
// overflows, which is a run-time error and not a broken rule.
constexpr FieldAbout DegreesOfFreedom(int slot, const char* caption, const char* parameter,
                                      const char* headerName) {
  return {slot,
          Role::Degrees,
          Number::Whole,
          caption,
          parameter,
          headerName,
          "1",
          1,
          false,
          kMaxWhole,
          "a whole number from 1 to 1073741823",
          kMostDegrees};
}
constexpr FieldAbout Count(int slot, const char* caption, const char* parameter,
                           const char* headerName, int64_t most = kMostCount,
                           bool mostWithNext = false) {
  return {slot,
          Role::Parameter,
          Number::Whole,
          caption,
          parameter,
          headerName,
          "1",
          0,
          false,
          kMaxWhole,
          "a whole number from 0 to 2147483647",
          most,
          mostWithNext};
}
constexpr FieldAbout AnyWhole(int slot, const char* name, int64_t most = 0) {
  return {slot,  Role::Parameter, Number::Whole,    name, name, name, "1", -kMaxWhole - 1,
          false, kMaxWhole,       "a whole number", most};
}

constexpr FieldAbout kNormalFields[] = {
    {kEdit1, Role::Parameter, Number::Real, "Mean", "mean", "mean", "0", -kInf, false, kInf,
     "a number"},
    {kEdit2, Role::Parameter, Number::Real, "Variance", "variance", "variance", "1",
     kSmallestVariance, false, kInf, "a number of at least 0.000001"},
    XValue(),
};
constexpr FieldAbout kChiSquareFields[] = {
    DegreesOfFreedom(kEdit1, "Degrees of freedom", "df", "degrees of freedom"),
    XValue(),
};
constexpr FieldAbout kTFields[] = {
    DegreesOfFreedom(kEdit1, "Degrees of freedom", "df", "degrees of freedom"),
    XValue(),
};
constexpr FieldAbout kFFields[] = {
    DegreesOfFreedom(kEdit1, "(1) Degrees of freedom", "df1", "(1) degrees of freedom"),
    DegreesOfFreedom(kEdit2, "(2) Degrees of freedom", "df2", "(2) degrees of freedom"),
    XValue(),
};
constexpr FieldAbout kBinomialFields[] = {
    {kEdit1, Role::Probability, Number::Real, "p", "p", "p", "0.5", 0, false, 1,
     "a probability from 0 to 1"},
    {kEdit2, Role::Parameter, Number::Whole, "n", "n", "n", "1", 1, false, kMaxWhole,
     "a whole number from 1 to 2147483647", kMostCount},
    WholeX(),
};
constexpr FieldAbout kPoissonFields[] = {
    {kEdit1, Role::Parameter, Number::Real, "lambda (Mean)", "lambda", "lambda", "1", 0, true, kInf,
     "a number greater than 0"},
    WholeX(kMostPoissonX),
};
constexpr FieldAbout kHypergeometricFields[] = {
    Count(kEdit1, "Blue (B)", "blue", "B", kMostCount, true),
    Count(kEdit2, "Red (R)", "red", "R", 0),
    Count(kEdit3, "Sample (n)", "sample", "n", 0),
    {kEdit4, Role::XValue, Number::Whole, "Blue in sample (x)", nullptr, "x", "1", 0, false,
     kMaxWhole, "a whole number from 0 to 2147483647"},
};
constexpr FieldAbout kFactorialFields[] = {Count(kEdit1, "n", "n", "n")};
constexpr FieldAbout kBinomialCoefficientFields[] = {AnyWhole(kEdit1, "n", kMostCount),
                                                     AnyWhole(kEdit2, "k")};

constexpr bool SlotsFit(std::span<const FieldAbout> fields) {
  for (const FieldAbout& field : fields)
    if (field.slot < 0 || field.slot >= kSlotCount) return false;
  return true;
}
static_assert(SlotsFit(kNormalFields) && SlotsFit(kChiSquareFields) && SlotsFit(kTFields) &&
                  SlotsFit(kFFields) && SlotsFit(kBinomialFields) && SlotsFit(kPoissonFields) &&
                  SlotsFit(kHypergeometricFields) && SlotsFit(kFactorialFields) &&
                  SlotsFit(kBinomialCoefficientFields),
              "every field has a label/edit pair of the window");

// k of n: 0 <= k <= n.  The urn's sample: at most all its balls.
bool ChoosesWithin(const Arguments& a) {
  return a.Whole(kEdit1) >= 0 && a.Whole(kEdit2) >= 0 && a.Whole(kEdit2) <= a.Whole(kEdit1);
}
bool SampleFitsTheUrn(const Arguments& a) {
  return int64_t{a.Whole(kEdit3)} <= int64_t{a.Whole(kEdit1)} + a.Whole(kEdit2);
}
constexpr CrossRule kNoCrossRule{0, nullptr, nullptr};

constexpr Modes kBothWays{Mode::Forward, Mode::Inverse};
constexpr Modes kForwardOnly{Mode::Forward};
constexpr RangeDefaults kPositiveRange{"0", "5", "0.1"};
constexpr RangeDefaults kCountsRange{"0", "10", "1"};
constexpr RangeDefaults kNoRange{"", "", ""};

details::Counting ExactFactorial(const Arguments& a) {
  return details::Factorial(a.value[kEdit1]);
}
details::Counting ExactBinomialCoefficient(const Arguments& a) {
  return details::BinomialCoefficient(a.value[kEdit1], a.value[kEdit2]);
}

const FunctionAbout* Table() {
  static const FunctionAbout kFunctions[] = {
      {Function::Normal,
       "normal",
       "NormalRadio",
       "&Normal Distribution",
       "Normal Distribution",
       Family::Continuous,
       &details::NormalModel(),
       kNormalFields,
       kBothWays,
       "0.975",
       ":",
       kNoCrossRule,
       EvaluateNormal,
       FormatDistribution,
       nullptr,
       nullptr,
       {"-3", "3", "0.1"},
       true},
      {Function::ChiSquare, "chisquare", "ChiSquareRadio", "&Chi Square Distribution",
       "Chi Square Distribution", Family::Continuous, &details::ChiSquareModel(), kChiSquareFields,
       kBothWays, "0.95", ":", kNoCrossRule, EvaluateChiSquare, FormatDistribution, nullptr,
       nullptr, kPositiveRange, false},
      {Function::T,
       "t",
       "TRadio",
       "&t Distribution",
       "t Distribution",
       Family::Continuous,
       &details::TModel(),
       kTFields,
       kBothWays,
       "0.975",
       ":",
       kNoCrossRule,
       EvaluateT,
       FormatDistribution,
       nullptr,
       nullptr,
       {"-4", "4", "0.1"},
       false},
      {Function::F, "f", "FRadio", "&F Distribution", "F Distribution", Family::Continuous,
       &details::FModel(), kFFields, kBothWays, "0.95", ":", kNoCrossRule, EvaluateF,
       FormatDistribution, nullptr, nullptr, kPositiveRange, false},
      {Function::Binomial, "binomial", "BinomialRadio", "&Binomial Distribution",
       "Binomial Distribution", Family::Discrete, &details::BinomialModel(), kBinomialFields,
       kForwardOnly, nullptr, ":", kNoCrossRule, EvaluateBinomial, FormatDistribution, nullptr,
       nullptr, kCountsRange, false},
      {Function::Poisson, "poisson", "PoissonRadio", "&Poisson Distribution",
       "Poisson Distribution", Family::Discrete, &details::PoissonModel(), kPoissonFields,
       kForwardOnly, nullptr, ":", kNoCrossRule, EvaluatePoisson, FormatDistribution, nullptr,
       nullptr, kCountsRange, false},
      // This header carries x and, unlike the others, ends without a colon.
      {Function::Hypergeometric,
       "hypergeometric",
       "HyperRadio",
       "H&ypergeometric Distribution",
       "Hypergeometric Distribution",
       Family::Discrete,
       &details::HypergeometricModel(),
       kHypergeometricFields,
       kForwardOnly,
       nullptr,
       "",
       {kEdit3, "a whole number from 0 to B + R", SampleFitsTheUrn},
       EvaluateHypergeometric,
       FormatDistribution,
       nullptr,
       nullptr,
       kCountsRange,
       false},
      {Function::Factorial, "factorial", "FactorialRadio", "F&actorial Function",
       "Factorial Function", Family::Counting, nullptr, kFactorialFields, kForwardOnly, nullptr,
       ":", kNoCrossRule, EvaluateFactorial, FormatFactorial, ExactFactorial, "the factorial",
       kNoRange, false},
      {Function::BinomialCoefficient,
       "binomialcoefficient",
       "BinoCoefRadio",
       "Bino&mial Coefficient",
       "Binomial Coefficient",
       Family::Counting,
       nullptr,
       kBinomialCoefficientFields,
       kForwardOnly,
       nullptr,
       ":",
       {kEdit1, "a whole number n with 0 <= k <= n", ChoosesWithin},
       EvaluateBinomialCoefficient,
       FormatBinomialCoefficient,
       ExactBinomialCoefficient,
       "the binomial coefficient",
       kNoRange,
       false},
  };
  return kFunctions;
}

constexpr size_t kFunctionCount = static_cast<size_t>(Function::BinomialCoefficient) + 1;

}  // namespace

const FieldAbout* FunctionAbout::FieldAt(int slot) const {
  for (const FieldAbout& field : fields)
    if (field.slot == slot) return &field;
  return nullptr;
}

const FieldAbout* FunctionAbout::XField() const {
  for (const FieldAbout& field : fields)
    if (field.role == Role::XValue) return &field;
  return nullptr;
}

int FunctionAbout::CountOf(Role role) const {
  int count = 0;
  for (const FieldAbout& field : fields) count += field.role == role;
  return count;
}

std::span<const FunctionAbout> Functions() {
  static const FunctionAbout* const table = Table();
  return {table, kFunctionCount};
}

const FunctionAbout& AboutFunction(Function function) {
  return Functions()[static_cast<size_t>(function)];
}

std::optional<Function> FunctionByCommandName(std::string_view name) {
  for (const FunctionAbout& about : Functions())
    if (name == about.commandName) return about.function;
  return std::nullopt;
}

Function FirstFunction() {
  return Functions().front().function;
}

bool ReadsPercentile(const FunctionAbout& about, const FieldAbout& field, Mode mode) {
  return mode == Mode::Inverse && field.role == Role::XValue && about.HasInverse();
}

const char* FieldCaption(const FunctionAbout& about, const FieldAbout& field, Mode mode) {
  return ReadsPercentile(about, field, mode) ? "Percentile" : field.caption;
}

const char* FieldDefault(const FunctionAbout& about, const FieldAbout& field, Mode mode) {
  return ReadsPercentile(about, field, mode) ? about.inverseDefault : field.defaultText;
}

namespace {

// Appends "name=value" for each named field, separated by ", "; appended in
// place, as a report's every line is built.
void AppendParameters(std::string& text, const FunctionAbout& about, const Arguments& arguments,
                      Names names, bool withX) {
  bool first = true;
  for (const FieldAbout& field : about.fields) {
    const char* name = names == Names::Header ? field.headerName : field.parameter;
    if (name == nullptr || (!withX && !field.IsParameter())) continue;
    if (!first) text += ", ";
    first = false;
    const long double v = arguments.value[field.slot];
    text += name;
    text += '=';
    text += field.number == Number::Whole ? IntegerText(static_cast<int32_t>(v)) : Fixed6Text(v);
  }
}

}  // namespace

std::string ParameterText(const FunctionAbout& about, const Arguments& arguments, Names names,
                          bool withX) {
  std::string text;
  AppendParameters(text, about, arguments, names, withX);
  return text;
}

std::string HeaderLine(const FunctionAbout& about, const Arguments& arguments) {
  std::string line = about.title;
  line.reserve(96);
  line += ", ";
  AppendParameters(line, about, arguments, Names::Header, true);
  line += about.headerEnd;
  return line;
}

std::string HeaderTitle(const FunctionAbout& about, const Arguments& arguments) {
  const std::string parameters = ParameterText(about, arguments, Names::Header, false);
  return about.title + (parameters.empty() ? "" : ", " + parameters);
}

}  // namespace calculator
