// The table of functions.
#include "calculator/Functions.h"

#include <limits>

#include "calculator/Reports.h"
#include "details/Models.h"

namespace calculator {

namespace {

using namespace reports;

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kMaxWhole = 2147483647;

constexpr FieldAbout kHidden{FieldKind::Hidden, nullptr, nullptr, nullptr, 0, false, 0, nullptr};
constexpr FieldAbout kXValue{FieldKind::Point, "x-value", nullptr, "0", -kInf, false, kInf,
                            "a number"};
constexpr FieldAbout kWholeX{FieldKind::Whole, "x-value", nullptr,   "0",
                            -kMaxWhole - 1,   false,     kMaxWhole, "a whole number"};
// Degrees of freedom: from 2^30 on the tails' whole-number arithmetic
// overflows, which is a run-time error and not a broken rule.
constexpr const char* kDegreesRule = "a whole number from 1 to 1073741823";
constexpr FieldAbout DegreesOfFreedom(const char* caption, const char* parameter) {
  return {FieldKind::Whole, caption, parameter, "1", 1, false, kMaxWhole, kDegreesRule};
}
constexpr FieldAbout Count(const char* caption, const char* parameter) {
  return {FieldKind::Whole,
          caption,
          parameter,
          "1",
          0,
          false,
          kMaxWhole,
          "a whole number from 0 to 2147483647"};
}

}  // namespace

std::span<const FunctionAbout> Functions() {
  // The models are reached through functions, so the table is built at the
  // first call rather than at compile time.
  static const FunctionAbout kFunctions[] = {
      {Function::Normal,
       "normal",
       "NormalRadio",
       "&Normal Distribution",
       Family::Continuous,
       &details::NormalModel(),
       {{{FieldKind::Real, "Mean", "mean", "0", -kInf, false, kInf, "a number"},
         {FieldKind::Real, "Variance", "variance", "1", kSmallestVariance, false, kInf,
          "a number of at least 0.000001"},
         kHidden,
         kXValue}},
       "0.975",
       nullptr,
       EvaluateNormal,
       FormatNormal},
      {Function::ChiSquare,
       "chisquare",
       "ChiSquareRadio",
       "&Chi Square Distribution",
       Family::Continuous,
       &details::ChiSquareModel(),
       {{DegreesOfFreedom("Degrees of freedom", "df"), kHidden, kHidden, kXValue}},
       "0.95",
       nullptr,
       EvaluateChiSquare,
       FormatChiSquare},
      {Function::T,
       "t",
       "TRadio",
       "&t Distribution",
       Family::Continuous,
       &details::TModel(),
       {{DegreesOfFreedom("Degrees of freedom", "df"), kHidden, kHidden, kXValue}},
       "0.975",
       nullptr,
       EvaluateT,
       FormatT},
      {Function::F,
       "f",
       "FRadio",
       "&F Distribution",
       Family::Continuous,
       &details::FModel(),
       {{DegreesOfFreedom("(1) Degrees of freedom", "df1"),
         DegreesOfFreedom("(2) Degrees of freedom", "df2"), kHidden, kXValue}},
       "0.95",
       nullptr,
       EvaluateF,
       FormatF},
      {Function::Binomial,
       "binomial",
       "BinomialRadio",
       "&Binomial Distribution",
       Family::Discrete,
       &details::BinomialModel(),
       {{{FieldKind::Real, "p", "p", "0.5", 0, false, 1, "a probability from 0 to 1"},
         {FieldKind::Whole, "n", "n", "1", 1, false, kMaxWhole,
          "a whole number from 1 to 2147483647"},
         kHidden,
         kWholeX}},
       nullptr,
       nullptr,
       EvaluateBinomial,
       FormatBinomial},
      {Function::Poisson,
       "poisson",
       "PoissonRadio",
       "&Poisson Distribution",
       Family::Discrete,
       &details::PoissonModel(),
       {{{FieldKind::Real, "lambda (Mean)", "lambda", "1", 0, true, kInf,
          "a number greater than 0"},
         kHidden,
         kHidden,
         kWholeX}},
       nullptr,
       nullptr,
       EvaluatePoisson,
       FormatPoisson},
      {Function::Hypergeometric,
       "hypergeometric",
       "HyperRadio",
       "H&ypergeometric Distribution",
       Family::Discrete,
       &details::HypergeometricModel(),
       {{Count("Blue (B)", "blue"), Count("Red (R)", "red"), Count("Sample (n)", "sample"),
         Count("Blue in sample (x)", nullptr)}},
       nullptr,
       nullptr,
       EvaluateHypergeometric,
       FormatHypergeometric},
      {Function::Factorial,
       "factorial",
       "FactorialRadio",
       "F&actorial Function",
       Family::Counting,
       nullptr,
       {{Count("n", "n"), kHidden, kHidden, kHidden}},
       nullptr,
       nullptr,
       EvaluateFactorial,
       FormatFactorial},
      {Function::BinomialCoefficient,
       "binomialcoefficient",
       "BinoCoefRadio",
       "Bino&mial Coefficient",
       Family::Counting,
       nullptr,
       {{{FieldKind::Whole, "n", "n", "1", -kMaxWhole - 1, false, kMaxWhole, "a whole number"},
         {FieldKind::Whole, "k", "k", "1", -kMaxWhole - 1, false, kMaxWhole, "a whole number"},
         kHidden,
         kHidden}},
       nullptr,
       "a whole number n with 0 <= k <= n",
       EvaluateBinomialCoefficient,
       FormatBinomialCoefficient},
  };
  return kFunctions;
}

// The table lists the functions in the order of the enumerators.
const FunctionAbout& AboutFunction(Function function) {
  return Functions()[static_cast<size_t>(function)];
}

std::optional<Function> FunctionByCommandName(std::string_view name) {
  for (const FunctionAbout& about : Functions())
    if (name == about.commandName) return about.function;
  return std::nullopt;
}

const char* FieldCaption(const FunctionAbout& about, int index, bool inverse) {
  const FieldAbout& field = about.fields.at(index);
  if (inverse && field.kind == FieldKind::Point && about.HasInverse()) return "Percentile";
  return field.caption;
}

const char* FieldDefault(const FunctionAbout& about, int index, bool inverse) {
  const FieldAbout& field = about.fields.at(index);
  if (inverse && field.kind == FieldKind::Point && about.HasInverse()) return about.inverseDefault;
  return field.defaultText;
}

}  // namespace calculator
