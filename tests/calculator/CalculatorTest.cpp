// Compute without a window: the table of functions, validation by field and
// rule, the numbers and lines of a result, run-time errors as results, and
// the inverse captions.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calculator/Calculator.h"
#include "calculator/ResultDetails.h"

namespace {

// Edit_5, where the interval mode reads the upper bound B of every function
// whose x-value is Edit_4.
constexpr int kEdit5 = 4;

using calculator::AboutFunction;
using calculator::Compute;
using calculator::FieldTexts;
using calculator::Function;
using calculator::kEdit1;
using calculator::kEdit2;
using calculator::kEdit4;
using calculator::Mode;
using calculator::Outcome;

// The function's default texts with some fields replaced.
FieldTexts Texts(Function function, Mode mode, std::vector<std::pair<int, const char*>> set) {
  FieldTexts texts = calculator::DefaultTexts(function, mode);
  for (const auto& [field, text] : set) texts[field] = text;
  return texts;
}

TEST(InverseMode, PercentileCaptionAndDefault) {
  const std::pair<Function, const char*> rows[] = {{Function::Normal, "0.975"},
                                                   {Function::ChiSquare, "0.95"},
                                                   {Function::T, "0.975"},
                                                   {Function::F, "0.95"}};
  for (const auto& [function, text] : rows) {
    const auto& about = AboutFunction(function);
    const auto& x = *about.XField();
    EXPECT_STREQ(calculator::FieldCaption(about, x, Mode::Inverse), "Percentile")
        << about.commandName;
    EXPECT_STREQ(calculator::FieldDefault(about, x, Mode::Inverse), text) << about.commandName;
    EXPECT_STREQ(calculator::FieldCaption(about, x, Mode::Forward), "x-value") << about.commandName;
  }
  // A discrete distribution's inverse is its quantile, of a percentile too;
  // between two bounds the x-value is the lower bound A, and B follows it.
  const auto& binomial = AboutFunction(Function::Binomial);
  EXPECT_STREQ(calculator::FieldCaption(binomial, *binomial.XField(), Mode::Inverse), "Percentile");
  const auto between = calculator::FieldsIn(binomial, Mode::Interval);
  ASSERT_EQ(between.size(), binomial.fields.size() + 1);
  EXPECT_STREQ(calculator::FieldCaption(binomial, *binomial.XField(), Mode::Interval),
               "Lower bound (A)");
  EXPECT_STREQ(calculator::FieldCaption(binomial, between.back(), Mode::Interval),
               "Upper bound (B)");
  EXPECT_EQ(between.back().slot, kEdit5);
}

// AboutFunction indexes the table by the enumerator, and each distribution's
// model fits its entry: of the entry's family, reading as many parameters as
// the entry has parameter fields, each by the name of one of them; the
// counting functions have none.
TEST(FunctionTable, InEnumeratorOrderWithAModelThatFitsEachEntry) {
  const auto functions = calculator::Functions();
  for (size_t i = 0; i < functions.size(); ++i) {
    const calculator::FunctionAbout& about = functions[i];
    EXPECT_EQ(static_cast<size_t>(about.function), i) << about.commandName;
    if (about.family == calculator::Family::Counting) {
      EXPECT_EQ(about.model, nullptr) << about.commandName;
      continue;
    }
    ASSERT_NE(about.model, nullptr) << about.commandName;
    int parameters = 0;
    for (const calculator::FieldAbout& field : about.fields) parameters += field.IsParameter();
    EXPECT_EQ(about.model->ParameterCount(), parameters) << about.commandName;
    for (const models::ParameterAbout& parameter : about.model->ParameterNames())
      EXPECT_NE(about.FieldNamed(parameter.name), nullptr)
          << about.commandName << ": no field gives " << parameter.name;
    EXPECT_EQ(about.model->Discrete(), about.family == calculator::Family::Discrete)
        << about.commandName;
  }
}

struct InvalidCase {
  const char* label;
  Function function;
  Mode mode;
  std::vector<std::pair<int, const char*>> texts;
  std::vector<int> faults;  // every field that breaks its rule; the last keeps the focus
};

TEST(Validation, EveryBrokenRuleIsListedAndTheLastKeepsTheFocus) {
  const InvalidCase cases[] = {
      {"variance 0", Function::Normal, Mode::Forward, {{kEdit2, "0"}}, {kEdit2}},
      {"variance just below", Function::Normal, Mode::Forward, {{kEdit2, "0.00000099"}}, {kEdit2}},
      {"mean invalid, variance low",
       Function::Normal,
       Mode::Forward,
       {{kEdit1, "x"}, {kEdit2, "0"}},
       {kEdit1, kEdit2}},
      {"all three invalid",
       Function::Normal,
       Mode::Forward,
       {{kEdit1, "x"}, {kEdit2, "y"}, {kEdit4, "z"}},
       {kEdit1, kEdit2, kEdit4}},
      {"percentile 0", Function::Normal, Mode::Inverse, {{kEdit4, "0"}}, {kEdit4}},
      {"percentile 0.9999991",
       Function::ChiSquare,
       Mode::Inverse,
       {{kEdit4, "0.9999991"}},
       {kEdit4}},
      {"df beyond the real route",
       Function::ChiSquare,
       Mode::Forward,
       {{kEdit1, "1073741823.5"}},
       {kEdit1}},
      {"bounds in the wrong order",
       Function::Normal,
       Mode::Interval,
       {{kEdit4, "2"}, {kEdit5, "1"}},
       {kEdit5}},
      {"df and percentile",
       Function::ChiSquare,
       Mode::Inverse,
       {{kEdit1, "0"}, {kEdit4, "2"}},
       {kEdit1, kEdit4}},
      {"p above 1", Function::Binomial, Mode::Forward, {{kEdit1, "1.5"}}, {kEdit1}},
      {"lambda 0", Function::Poisson, Mode::Forward, {{kEdit1, "0"}}, {kEdit1}},
      {"hypergeometric x -1", Function::Hypergeometric, Mode::Forward, {{3, "-1"}}, {3}},
      {"sample larger than the urn",
       Function::Hypergeometric,
       Mode::Forward,
       {{kEdit1, "2"}, {kEdit2, "2"}, {2, "5"}},
       {2}},
      {"k above n: Edit_1",
       Function::BinomialCoefficient,
       Mode::Forward,
       {{kEdit1, "3"}, {kEdit2, "5"}},
       {kEdit1}},
  };
  for (const auto& c : cases) {
    const auto result = Compute(c.function, Texts(c.function, c.mode, c.texts), c.mode);
    EXPECT_EQ(result.outcome, Outcome::Invalid) << c.label;
    std::vector<int> faults;
    for (const auto& fault : result.faults) {
      faults.push_back(fault.index);
      EXPECT_FALSE(fault.rule.empty()) << c.label;
    }
    EXPECT_EQ(faults, c.faults) << c.label;
    EXPECT_EQ(result.FocusField(), c.faults.back()) << c.label;
    EXPECT_EQ(result.lines[0], "") << c.label;
  }
}

TEST(Validation, RulesNameTheLimits) {
  const auto df =
      Compute(Function::T, Texts(Function::T, Mode::Forward, {{kEdit1, "0"}}), Mode::Forward);
  EXPECT_EQ(df.faults.at(0).rule, "a number greater than 0 and at most 1073741823");
  const auto p = Compute(Function::Normal, Texts(Function::Normal, Mode::Inverse, {{kEdit4, "1"}}),
                         Mode::Inverse);
  EXPECT_EQ(p.faults.at(0).rule, "a probability from 0.000001 to 0.999999");
}

TEST(Validation, BoundsAreAccepted) {
  const std::pair<Mode, std::vector<std::pair<int, const char*>>> cases[] = {
      {Mode::Inverse, {{kEdit4, "0.000001"}}},
      {Mode::Inverse, {{kEdit4, "0.999999"}}},
      {Mode::Forward, {{kEdit2, "0.000001"}}},
      {Mode::Forward, {{kEdit4, "-1e300"}}},
  };
  for (const auto& [mode, texts] : cases) {
    const auto result = Compute(Function::Normal, Texts(Function::Normal, mode, texts), mode);
    EXPECT_TRUE(result.Ok()) << texts[0].second;
  }
}

// Numbers as people paste them: blanks, tabs and a line end around them, and
// whole numbers in exponent form; a whole-number field with a decimal point
// stays invalid, while degrees of freedom take any positive number.
TEST(Validation, PastedTextsAreRead) {
  const struct {
    Function function;
    FieldTexts texts;
    bool ok;
  } cases[] = {
      {Function::Normal, {" 100", "225 ", "", "130\n"}, true},
      {Function::Normal, {"\t100\t", "225", "", "130\r\n"}, true},
      {Function::ChiSquare, {"1e9", "", "", "5"}, true},
      {Function::ChiSquare, {"2.5E1", "", "", "5"}, true},
      {Function::ChiSquare, {"1.0", "", "", "5"}, true},
      {Function::ChiSquare, {"2.5e0", "", "", "5"}, true},
      {Function::Binomial, {"0.5", "10.0", "", "5"}, false},
      {Function::ChiSquare, {"1e5000", "", "", "5"}, false},
      {Function::ChiSquare, {" ", "", "", "5"}, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Compute(c.function, c.texts, Mode::Forward).Ok(), c.ok) << c.texts[0];
  EXPECT_EQ(Compute(Function::Normal, {" 100", "225 ", "", "130\n"}, Mode::Forward).lines,
            Compute(Function::Normal, {"100", "225", "", "130"}, Mode::Forward).lines);
}

TEST(Result, NormalForwardCarriesNumbersParametersAndLines) {
  const auto r = Compute(Function::Normal, {"100", "225", "", "130"}, Mode::Forward);
  ASSERT_TRUE(r.Ok());
  const auto& tails = std::get<calculator::TailsAt>(r.values);
  EXPECT_EQ(tails.x, 130);
  // P(Z > 2) = 0.0227501319481792...
  EXPECT_NEAR(static_cast<double>(tails.upper), 0.0227501319481792, 1e-15);
  EXPECT_EQ(tails.lower, 1 - tails.upper);
  ASSERT_EQ(r.parameters.size(), 2u);
  EXPECT_EQ(r.parameters[0].name, "mean");
  EXPECT_EQ(r.parameters[1].value, 225);
  EXPECT_EQ(r.lines[0], "Normal Distribution, mean=100.000000, variance=225.000000:");
  EXPECT_EQ(r.lines[1], "   P(X<130.000000)=0.977250      P(X>130.000000)=0.022750");
}

TEST(Result, InverseGivesBothPoints) {
  const auto r = Compute(Function::T, {"10", "", "", "0.975"}, Mode::Inverse);
  ASSERT_TRUE(r.Ok());
  EXPECT_TRUE(r.Inverse());
  const auto& points = std::get<calculator::PointsOf>(r.values);
  // P(X < xLower) = 0.975 and P(X > xUpper) = 0.975: the t(10) quantiles
  // +-2.2281388519649385, to the log's iteration tolerance
  EXPECT_NEAR(static_cast<double>(points.xLower), 2.2281388519649385, 1e-10);
  EXPECT_NEAR(static_cast<double>(points.xUpper), -2.2281388519649385, 1e-10);
  // A function without an inverse ignores the option.
  EXPECT_FALSE(Compute(Function::Factorial, {"5", "", "", ""}, Mode::Inverse).Inverse());
}

TEST(Result, DiscreteAndCountingValues) {
  const auto b = Compute(Function::Binomial, {"0.5", "10", "", "5"}, Mode::Forward);
  const auto& d = std::get<calculator::DiscreteAt>(b.values);
  // C(10, 5) / 2^10 = 252 / 1024
  EXPECT_NEAR(static_cast<double>(d.point), 252.0 / 1024, 1e-15);
  EXPECT_NEAR(static_cast<double>(d.atMost + d.atLeast - d.point), 1.0, 1e-15);

  const auto small = std::get<calculator::CountingValue>(
      Compute(Function::Factorial, {"5", "", "", ""}, Mode::Forward).values);
  EXPECT_NEAR(static_cast<double>(*small.value), 120, 1e-12);
  const auto large = std::get<calculator::CountingValue>(
      Compute(Function::Factorial, {"1000", "", "", ""}, Mode::Forward).values);
  EXPECT_FALSE(large.value.has_value());  // printed as its logarithm
  EXPECT_NEAR(static_cast<double>(large.ln), 5912.128178, 1e-6);
}

TEST(Result, RunTimeErrorsBecomeResults) {
  const auto r = Compute(Function::Binomial, {"0.5", "1073741823", "", "5"}, Mode::Forward);
  EXPECT_EQ(r.outcome, Outcome::Error);
  EXPECT_EQ(r.message, "Integer overflow");
  EXPECT_EQ(r.lines[1], "");
  // A power of ten past the extended range raises while the field is parsed.
  const auto o = Compute(Function::Normal, {"1e4940", "1", "", "0"}, Mode::Forward);
  EXPECT_EQ(o.outcome, Outcome::Error);
  EXPECT_EQ(o.message, "Floating point overflow");
}

TEST(ErrorBoxText, AppendsAPointAfterCharactersSortingAfterIt) {
  EXPECT_EQ(calculator::ErrorBoxText("Integer overflow"), "Integer overflow.");
  EXPECT_EQ(calculator::ErrorBoxText("Connect timed out."), "Connect timed out.");
  EXPECT_EQ(calculator::ErrorBoxText(""), "");
  EXPECT_EQ(calculator::ErrorBoxText("Cannot create file \"/x\". (5)"),
            "Cannot create file \"/x\". (5)");
  EXPECT_EQ(calculator::ErrorBoxText("ends in -"), "ends in -");
  EXPECT_EQ(calculator::ErrorBoxText("ends in /"), "ends in /.");
  EXPECT_EQ(calculator::ErrorBoxText("code 7"), "code 7.");
}

}  // namespace

namespace {

// A percentile below 1 as typed but nearer 1 than any extended real below
// it is read, its complement from the digits: the quantile of 1e-20 beyond
// (-ln 1e-20 = 46.0517018598809136...), and the central interval near p = 1
// from the exact complement (the rounded p gave 5.00007e-16 for 5.0e-16).
TEST(Percentile, NearerOneThanTheExtendedRealsBelowIt) {
  const auto far = Compute(Function::Exponential, {"1", "", "", "0.99999999999999999999"},
                           Mode::Inverse);
  ASSERT_TRUE(far.Ok());
  EXPECT_NEAR(static_cast<double>(std::get<calculator::PointsOf>(far.values).xLower),
              46.0517018598809136, 1e-13);
  const auto near = Compute(Function::Exponential, {"1", "", "", "0.999999999999999"},
                            Mode::Inverse);
  const auto central = std::get<models::ContinuousInverse>(calculator::DetailsOf(near).values);
  ASSERT_TRUE(central.centralLow.value.has_value());
  EXPECT_NEAR(static_cast<double>(*central.centralLow.value / 5.0000000000000013e-16L), 1, 1e-14);
}

}  // namespace
