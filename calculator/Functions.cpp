// The table of functions.
#include "calculator/Functions.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calculator/NumberText.h"
#include "calculator/Reports.h"
#include "models/Models.h"

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
constexpr int64_t kMostWhole = 2147483647;
// The largest noncentrality the noncentral sums are taken for: their terms
// are summed outward from the Poisson weight's mode, a few times the square
// root of the noncentrality each way.
constexpr long double kMostNoncentrality = 1000000;
constexpr long double kMostNoncentralT = 1000;

constexpr FieldAbout XValue(int slot = kEdit4) {
  return {slot, Role::XValue, Number::Real, "x-value", nullptr,   nullptr,
          "0",  -kInf,        false,        kInf,      "a number"};
}
constexpr FieldAbout WholeX(int64_t most = 0) {
  return {kEdit4, Role::XValue,   Number::Whole, "x-value", nullptr,          nullptr,
          "0",    -kMaxWhole - 1, false,         kMaxWhole, "a whole number", most};
}
// Degrees of freedom: a whole number takes the tails' whole-number
// arithmetic, which doubles it, so up to 2^30 - 1, as the rule says; any
// other number above 0 up to the same limit takes the model.
constexpr FieldAbout DegreesOfFreedom(int slot, const char* caption, const char* parameter,
                                      const char* headerName) {
  return {slot,
          Role::Degrees,
          Number::Degrees,
          caption,
          parameter,
          headerName,
          "1",
          0,
          true,
          kMostDegrees,
          "a number greater than 0 and at most 1073741823",
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

// The standard deviation whose square is the variance; its least value is
// the square root of the least variance.
constexpr RootReading kStandardDeviation{"Standard deviation", 0.001L,
                                         "a number of at least 0.001"};
constexpr FieldAbout kNormalFields[] = {
    {kEdit1, Role::Parameter, Number::Real, "Mean", "mean", "mean", "0", -kInf, false, kInf,
     "a number"},
    {kEdit2, Role::Parameter, Number::Real, "Variance", "variance", "variance", "1",
     kSmallestVariance, false, kInf, "a number of at least 0.000001", 0, false, false,
     &kStandardDeviation},
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

// The distributions with real parameters: a parameter greater than 0, any
// number, a probability above 0, real degrees of freedom; their x-value
// takes any percentile strictly between 0 and 1 in inverse mode.
constexpr FieldAbout Positive(int slot, const char* caption, const char* name,
                              const char* defaultText) {
  return {slot, Role::Parameter,          Number::Real, caption, name, name, defaultText, 0, true,
          kInf, "a number greater than 0"};
}
constexpr FieldAbout AnyReal(int slot, const char* caption, const char* name,
                             const char* defaultText) {
  return {slot,        Role::Parameter, Number::Real, caption, name,      name,
          defaultText, -kInf,           false,        kInf,    "a number"};
}
constexpr FieldAbout RealDegrees(int slot, const char* caption, const char* parameter,
                                 const char* headerName, const char* defaultText) {
  return {slot,
          Role::Degrees,
          Number::Degrees,
          caption,
          parameter,
          headerName,
          defaultText,
          0,
          true,
          kMostDegrees,
          "a number greater than 0 and at most 1073741823",
          kMostDegrees};
}
constexpr FieldAbout Noncentrality(int slot, const char* caption, const char* name,
                                   const char* defaultText) {
  return {slot,
          Role::Parameter,
          Number::Real,
          caption,
          name,
          name,
          defaultText,
          0,
          false,
          kMostNoncentrality,
          "a number from 0 to 1000000"};
}
constexpr FieldAbout SuccessProbability(int slot) {
  return {slot,
          Role::Probability,
          Number::Real,
          "Success probability (p)",
          "p",
          "p",
          "0.5",
          0,
          true,
          1,
          "a probability greater than 0 and at most 1"};
}
constexpr FieldAbout RealX(const char* defaultText) {
  return {kEdit4, Role::XValue, Number::Real, "x-value",  nullptr, nullptr, defaultText,
          -kInf,  false,        kInf,         "a number", 0,       false,   true};
}
constexpr FieldAbout CountX(const char* caption, const char* defaultText) {
  return {
      kEdit4,         Role::XValue, Number::Whole, caption,          nullptr, nullptr, defaultText,
      -kMaxWhole - 1, false,        kMaxWhole,     "a whole number", 0,       false,   true};
}

constexpr FieldAbout kExponentialFields[] = {Positive(kEdit1, "Rate (\u03bb)", "rate", "1"),
                                             RealX("1")};
constexpr FieldAbout kGammaFields[] = {Positive(kEdit1, "Shape (k)", "shape", "2"),
                                       Positive(kEdit2, "Scale (\u03b8)", "scale", "1"),
                                       RealX("3")};
constexpr FieldAbout kBetaFields[] = {Positive(kEdit1, "Alpha (\u03b1)", "alpha", "2"),
                                      Positive(kEdit2, "Beta (\u03b2)", "beta", "3"), RealX("0.5")};
constexpr FieldAbout kUniformFields[] = {AnyReal(kEdit1, "Lower end (a)", "a", "0"),
                                         AnyReal(kEdit2, "Upper end (b)", "b", "1"), RealX("0.5")};
constexpr FieldAbout kLognormalFields[] = {AnyReal(kEdit1, "Mu (\u03bc of ln X)", "mu", "0"),
                                           Positive(kEdit2, "Sigma (\u03c3 of ln X)", "sigma", "1"),
                                           RealX("1")};
constexpr FieldAbout kWeibullFields[] = {Positive(kEdit1, "Shape (k)", "shape", "1.5"),
                                         Positive(kEdit2, "Scale (\u03bb)", "scale", "1"),
                                         RealX("1")};
constexpr FieldAbout kCauchyFields[] = {
    AnyReal(kEdit1, "Location (x\u2080)", "location", "0"),
    Positive(kEdit2, "Scale (\u03b3)", "scale", "1"), RealX("1")};
constexpr FieldAbout kLogisticFields[] = {
    AnyReal(kEdit1, "Location (\u03bc)", "location", "0"),
    Positive(kEdit2, "Scale (s)", "scale", "1"), RealX("1")};
constexpr FieldAbout kNoncentralTFields[] = {
    RealDegrees(kEdit1, "Degrees of freedom", "df", "degrees of freedom", "10"),
    {kEdit2, Role::Parameter, Number::Real, "Noncentrality (\u03b4)", "delta", "delta", "1",
     -kMostNoncentralT, false, kMostNoncentralT, "a number from -1000 to 1000"},
    RealX("2")};
constexpr FieldAbout kNoncentralChiSquareFields[] = {
    RealDegrees(kEdit1, "Degrees of freedom", "df", "degrees of freedom", "3"),
    Noncentrality(kEdit2, "Noncentrality (\u03bb)", "lambda", "2"), RealX("5")};
constexpr FieldAbout kNoncentralFFields[] = {
    RealDegrees(kEdit1, "(1) Degrees of freedom", "df1", "(1) degrees of freedom", "3"),
    RealDegrees(kEdit2, "(2) Degrees of freedom", "df2", "(2) degrees of freedom", "20"),
    Noncentrality(kEdit3, "Noncentrality (\u03bb)", "lambda", "2"), RealX("2")};
constexpr FieldAbout kGeometricFields[] = {SuccessProbability(kEdit1),
                                           CountX("Failures before the first success (x)", "2")};
constexpr FieldAbout kNegativeBinomialFields[] = {
    // Any r > 0: a whole r counts successes, another is a dispersion.
    {kEdit1, Role::Parameter, Number::Degrees, "Successes (r)", "r", "r", "3", 0, true, kMaxWhole,
     "a number greater than 0 and at most 2147483647", kMostWhole},
    SuccessProbability(kEdit2),
    CountX("Failures before the r-th success (x)", "2")};
constexpr FieldAbout kDiscreteUniformFields[] = {
    {kEdit1, Role::Parameter, Number::Whole, "Lowest value (a)", "a", "a", "1", -kMaxWhole - 1,
     false, kMaxWhole, "a whole number"},
    {kEdit2, Role::Parameter, Number::Whole, "Highest value (b)", "b", "b", "6", -kMaxWhole - 1,
     false, kMaxWhole, "a whole number"},
    CountX("x-value", "3")};

// Every field, and the interval's bound after the last, has a label/edit pair.
constexpr bool SlotsFit(std::span<const FieldAbout> fields) {
  for (const FieldAbout& field : fields)
    if (field.slot < 0 || field.slot + 1 >= kSlotCount) return false;
  return true;
}
static_assert(SlotsFit(kNormalFields) && SlotsFit(kChiSquareFields) && SlotsFit(kTFields) &&
                  SlotsFit(kFFields) && SlotsFit(kBinomialFields) && SlotsFit(kPoissonFields) &&
                  SlotsFit(kHypergeometricFields) && SlotsFit(kFactorialFields) &&
                  SlotsFit(kBinomialCoefficientFields) && SlotsFit(kExponentialFields) &&
                  SlotsFit(kGammaFields) && SlotsFit(kBetaFields) && SlotsFit(kUniformFields) &&
                  SlotsFit(kLognormalFields) && SlotsFit(kWeibullFields) &&
                  SlotsFit(kCauchyFields) && SlotsFit(kLogisticFields) &&
                  SlotsFit(kNoncentralTFields) && SlotsFit(kNoncentralChiSquareFields) &&
                  SlotsFit(kNoncentralFFields) && SlotsFit(kGeometricFields) &&
                  SlotsFit(kNegativeBinomialFields) && SlotsFit(kDiscreteUniformFields),
              "every field has a label/edit pair of the window");

// k of n: 0 <= k <= n.  The urn's sample: at most all its balls.
bool ChoosesWithin(const Arguments& a) {
  return a.Whole(kEdit1) >= 0 && a.Whole(kEdit2) >= 0 && a.Whole(kEdit2) <= a.Whole(kEdit1);
}
bool SampleFitsTheUrn(const Arguments& a) {
  return int64_t{a.Whole(kEdit3)} <= int64_t{a.Whole(kEdit1)} + a.Whole(kEdit2);
}
// The ends of a uniform distribution: a < b; of a discrete uniform one: a <= b.
bool EndsInOrder(const Arguments& a) {
  return a.value[kEdit1] < a.value[kEdit2];
}
bool WholeEndsInOrder(const Arguments& a) {
  return a.Whole(kEdit1) <= a.Whole(kEdit2);
}
constexpr CrossRule kNoCrossRule{0, nullptr, nullptr};

constexpr Modes kBothWays{Mode::Forward, Mode::Inverse, Mode::Interval};
constexpr Modes kForwardOnly{Mode::Forward};
constexpr RangeDefaults kPositiveRange{"0", "5", "0.1"};
constexpr RangeDefaults kCountsRange{"0", "10", "1"};
constexpr RangeDefaults kNoRange{"", "", ""};
constexpr RangeDefaults kCentredRange{"-5", "5", "0.1"};
constexpr RangeDefaults kUnitRange{"0", "1", "0.05"};

models::Counting ExactFactorial(const Arguments& a) {
  return models::Factorial(a.value[kEdit1]);
}
models::Counting ExactBinomialCoefficient(const Arguments& a) {
  return models::BinomialCoefficient(a.value[kEdit1], a.value[kEdit2]);
}

// An entry of a distribution with real parameters: caption and title alike,
// every mode, every percentile, its log from its model.
constexpr FunctionAbout Continuous(Function function, const char* command, const char* radio,
                                   const char* title, const models::Model* model,
                                   std::span<const FieldAbout> fields, CrossRule together,
                                   RangeDefaults range) {
  return {
      function, command,   radio,  title, title,    Family::Continuous, model,
      fields,   kBothWays, "0.95", ":",   together, nullptr,            FormatWithoutNegativeZero,
      nullptr,  nullptr,   range,  false};
}
// The same for a discrete one: its inverse is its quantile.
constexpr FunctionAbout Discrete(Function function, const char* command, const char* radio,
                                 const char* title, const models::Model* model,
                                 std::span<const FieldAbout> fields, CrossRule together) {
  return {
      function,     command, radio, title,    title,   Family::Discrete,          model,   fields,
      kBothWays,    "0.5",   ":",   together, nullptr, FormatWithoutNegativeZero, nullptr, nullptr,
      kCountsRange, false};
}

const FunctionAbout* Table() {
  static const FunctionAbout kFunctions[] = {
      {Function::Normal,
       "normal",
       "NormalRadio",
       "&Normal Distribution",
       "Normal Distribution",
       Family::Continuous,
       &models::NormalModel(),
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
       "Chi Square Distribution", Family::Continuous, &models::ChiSquareModel(), kChiSquareFields,
       kBothWays, "0.95", ":", kNoCrossRule, EvaluateChiSquare, FormatDistribution, nullptr,
       nullptr, kPositiveRange, false},
      {Function::T,
       "t",
       "TRadio",
       "&t Distribution",
       "t Distribution",
       Family::Continuous,
       &models::TModel(),
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
       &models::FModel(), kFFields, kBothWays, "0.95", ":", kNoCrossRule, EvaluateF,
       FormatDistribution, nullptr, nullptr, kPositiveRange, false},
      // The distributions with real parameters; their percentile may be any
      // probability between 0 and 1, and their lines never print "-0.000000".
      Continuous(Function::Exponential, "exponential", "ExponentialRadio",
                 "Exponential Distribution", &models::ExponentialModel(), kExponentialFields,
                 kNoCrossRule, kPositiveRange),
      Continuous(Function::Gamma, "gamma", "GammaRadio", "Gamma Distribution",
                 &models::GammaModel(), kGammaFields, kNoCrossRule, kPositiveRange),
      Continuous(Function::Beta, "beta", "BetaRadio", "Beta Distribution", &models::BetaModel(),
                 kBetaFields, kNoCrossRule, kUnitRange),
      Continuous(Function::Uniform, "uniform", "UniformRadio", "Uniform Distribution",
                 &models::UniformModel(), kUniformFields,
                 {kEdit2, "a number greater than a", EndsInOrder}, kUnitRange),
      Continuous(Function::Lognormal, "lognormal", "LognormalRadio", "Lognormal Distribution",
                 &models::LognormalModel(), kLognormalFields, kNoCrossRule,
                 kPositiveRange),
      Continuous(Function::Weibull, "weibull", "WeibullRadio", "Weibull Distribution",
                 &models::WeibullModel(), kWeibullFields, kNoCrossRule,
                 kPositiveRange),
      Continuous(Function::Cauchy, "cauchy", "CauchyRadio", "Cauchy Distribution",
                 &models::CauchyModel(), kCauchyFields, kNoCrossRule,
                 kCentredRange),
      Continuous(Function::Logistic, "logistic", "LogisticRadio", "Logistic Distribution",
                 &models::LogisticModel(), kLogisticFields, kNoCrossRule,
                 kCentredRange),
      Continuous(Function::NoncentralT, "noncentralt", "NoncentralTRadio",
                 "Noncentral t Distribution", &models::NoncentralTModel(), kNoncentralTFields,
                 kNoCrossRule, kCentredRange),
      Continuous(Function::NoncentralChiSquare, "noncentralchisquare", "NoncentralChiSquareRadio",
                 "Noncentral Chi Square Distribution", &models::NoncentralChiSquareModel(),
                 kNoncentralChiSquareFields, kNoCrossRule,
                 kPositiveRange),
      Continuous(Function::NoncentralF, "noncentralf", "NoncentralFRadio",
                 "Noncentral F Distribution", &models::NoncentralFModel(), kNoncentralFFields,
                 kNoCrossRule, kPositiveRange),
      {Function::Binomial, "binomial", "BinomialRadio", "&Binomial Distribution",
       "Binomial Distribution", Family::Discrete, &models::BinomialModel(), kBinomialFields,
       kBothWays, "0.5", ":", kNoCrossRule, EvaluateBinomial, FormatDistribution, nullptr, nullptr,
       kCountsRange, false},
      {Function::Poisson, "poisson", "PoissonRadio", "&Poisson Distribution",
       "Poisson Distribution", Family::Discrete, &models::PoissonModel(), kPoissonFields,
       kBothWays, "0.5", ":", kNoCrossRule, EvaluatePoisson, FormatDistribution, nullptr, nullptr,
       kCountsRange, false},
      // This header carries x and, unlike the others, ends without a colon.
      {Function::Hypergeometric,
       "hypergeometric",
       "HyperRadio",
       "H&ypergeometric Distribution",
       "Hypergeometric Distribution",
       Family::Discrete,
       &models::HypergeometricModel(),
       kHypergeometricFields,
       kBothWays,
       "0.5",
       "",
       {kEdit3, "a whole number from 0 to B + R", SampleFitsTheUrn},
       EvaluateHypergeometric,
       FormatDistribution,
       nullptr,
       nullptr,
       kCountsRange,
       false},
      Discrete(Function::Geometric, "geometric", "GeometricRadio", "Geometric Distribution",
               &models::GeometricModel(), kGeometricFields, kNoCrossRule),
      Discrete(Function::NegativeBinomial, "negativebinomial", "NegativeBinomialRadio",
               "Negative Binomial Distribution", &models::NegativeBinomialModel(),
               kNegativeBinomialFields, kNoCrossRule),
      Discrete(Function::DiscreteUniform, "discreteuniform", "DiscreteUniformRadio",
               "Discrete Uniform Distribution", &models::DiscreteUniformModel(),
               kDiscreteUniformFields, {kEdit2, "a whole number of at least a", WholeEndsInOrder}),
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

namespace {

bool WholeValue(long double v) {
  return v == std::floor(v) && v >= -kMaxWhole - 1 && v <= kMaxWhole;
}

}  // namespace

bool Arguments::IsWhole(int slot) const {
  return WholeValue(value[slot]);
}

bool FieldAbout::IsWhole(long double value) const {
  return number == Number::Whole || (number == Number::Degrees && WholeValue(value));
}

bool FunctionAbout::ByMethod(const Arguments& arguments) const {
  if (evaluate == nullptr) return false;
  for (const FieldAbout& field : fields)
    if (field.role == Role::Degrees && !arguments.IsWhole(field.slot)) return false;
  return true;
}

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

int FunctionAbout::BoundSlot() const {
  int last = -1;
  for (const FieldAbout& field : fields) last = std::max(last, field.slot);
  return last + 1;
}

const FieldAbout* FunctionAbout::FieldNamed(std::string_view parameter) const {
  for (const FieldAbout& field : fields)
    if (field.parameter != nullptr && parameter == field.parameter) return &field;
  return nullptr;
}

const FieldAbout* FunctionAbout::LocationField() const {
  if (model == nullptr) return nullptr;
  for (const models::ParameterAbout& parameter : model->ParameterNames())
    if (parameter.location) return FieldNamed(parameter.name);
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

std::vector<FieldAbout> FieldsIn(const FunctionAbout& about, Mode mode) {
  std::vector<FieldAbout> fields(about.fields.begin(), about.fields.end());
  const FieldAbout* x = about.XField();
  if (mode != Mode::Interval || !about.modes.Has(Mode::Interval) || x == nullptr) return fields;
  // A bound may lie outside the support (P(-1 <= X <= 0) is P(X = 0)).
  for (FieldAbout& field : fields)
    if (field.role == Role::XValue && field.number == Number::Whole && field.low > -kMaxWhole - 1) {
      field.low = -kMaxWhole - 1;
      field.rule = "a whole number";
    }
  FieldAbout bound = *x;
  bound.slot = about.BoundSlot();
  bound.role = Role::Bound;
  bound.headerName = nullptr;
  bound.low = -kMaxWhole - 1;
  if (x->number == Number::Whole) bound.rule = "a whole number";
  fields.push_back(bound);
  return fields;
}

const char* FieldCaption(const FunctionAbout& about, const FieldAbout& field, Mode mode,
                         Readings readings) {
  if (ReadsPercentile(about, field, mode)) return "Percentile";
  if (field.root != nullptr && readings.Root(field.slot)) return field.root->caption;
  if (mode == Mode::Interval && field.role == Role::XValue) return "Lower bound (A)";
  if (field.role == Role::Bound) return "Upper bound (B)";
  return field.caption;
}

const char* FieldDefault(const FunctionAbout& about, const FieldAbout& field, Mode mode) {
  if (ReadsPercentile(about, field, mode)) return about.inverseDefault;
  if (mode == Mode::Interval && field.role == Role::XValue) return about.range.from;
  if (field.role == Role::Bound) return about.range.to;
  return field.defaultText;
}

namespace {

// Appends "name=value" for each named field, separated by ", "; appended in
// place, as a report's every line is built.
void AppendParameters(std::string& text, const FunctionAbout& about, const Arguments& arguments,
                      Names names, bool withX, ShortForm form) {
  bool first = true;
  for (const FieldAbout& field : about.fields) {
    const char* name = names == Names::Header ? field.headerName : field.parameter;
    if (name == nullptr || (!withX && !field.IsParameter())) continue;
    if (!first) text += ", ";
    first = false;
    const long double v = arguments.value[field.slot];
    text += name;
    text += '=';
    text += field.IsWhole(v) ? IntegerText(static_cast<int32_t>(v)) : Fixed6Text(v, form);
  }
}

}  // namespace

std::string ParameterText(const FunctionAbout& about, const Arguments& arguments, Names names,
                          bool withX, ShortForm form) {
  std::string text;
  AppendParameters(text, about, arguments, names, withX, form);
  return text;
}

std::string HeaderLine(const FunctionAbout& about, const Arguments& arguments, ShortForm form) {
  std::string line = about.title;
  line.reserve(96);
  line += ", ";
  AppendParameters(line, about, arguments, Names::Header, true, form);
  line += about.headerEnd;
  return line;
}

std::string HeaderTitle(const FunctionAbout& about, const Arguments& arguments, ShortForm form) {
  const std::string parameters = ParameterText(about, arguments, Names::Header, false, form);
  return about.title + (parameters.empty() ? "" : ", " + parameters);
}

}  // namespace calculator
