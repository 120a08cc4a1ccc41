// The calculator model without a window: field arrangement, the inverse
// option, validation by focus, the pointer and the log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calculator/Calculator.h"

namespace {

using calculator::Calculator;
using calculator::Function;
using calculator::kEdit1;
using calculator::kEdit2;
using calculator::kEdit3;
using calculator::kEdit4;
using calculator::PointerShape;

struct Expected {
  Function function;
  bool inverseVisible;
  // caption/default per field; an empty caption means hidden
  const char* pairs[4][2];
};

TEST(ArrangeFields, EveryFunction) {
  const Expected table[] = {
      {Function::Normal, true, {{"Mean", "0"}, {"Variance", "1"}, {"", ""}, {"x-value", "0"}}},
      {Function::ChiSquare, true, {{"Degrees of freedom", "1"}, {"", ""}, {"", ""}, {"x-value", "0"}}},
      {Function::T, true, {{"Degrees of freedom", "1"}, {"", ""}, {"", ""}, {"x-value", "0"}}},
      {Function::F, true,
       {{"(1) Degrees of freedom", "1"}, {"(2) Degrees of freedom", "1"}, {"", ""}, {"x-value", "0"}}},
      {Function::Binomial, false, {{"p", "0.5"}, {"n", "1"}, {"", ""}, {"x-value", "0"}}},
      {Function::Poisson, false, {{"lambda (Mean)", "1"}, {"", ""}, {"", ""}, {"x-value", "0"}}},
      {Function::Hypergeometric, false,
       {{"Blue (B)", "1"}, {"Red (R)", "1"}, {"Sample (n)", "1"}, {"Blue in sample (x)", "1"}}},
      {Function::Factorial, false, {{"n", "1"}, {"", ""}, {"", ""}, {"", ""}}},
      {Function::BinomialCoefficient, false, {{"n", "1"}, {"k", "1"}, {"", ""}, {"", ""}}},
  };
  for (const auto& row : table) {
    Calculator model;
    model.SelectFunction(Function::Factorial);
    model.SelectFunction(row.function);
    model.ArrangeFields();
    const auto name = calculator::InfoOf(row.function).radioName;
    EXPECT_EQ(model.InverseVisible(), row.inverseVisible) << name;
    for (int i = 0; i < 4; ++i) {
      const std::string caption = row.pairs[i][0];
      EXPECT_EQ(model.FieldVisible(i), !caption.empty()) << name << " field " << i + 1;
      if (caption.empty()) continue;
      EXPECT_EQ(model.LabelCaption(i), caption) << name;
      EXPECT_EQ(model.FieldText(i), row.pairs[i][1]) << name;
    }
  }
}

TEST(ArrangeFields, TypedValuesAreReplacedByDefaults) {
  Calculator model;
  model.ArrangeFields();
  model.SetFieldText(kEdit1, "5");
  model.SetFieldText(kEdit2, "9");
  model.SetFieldText(kEdit4, "2");
  model.SelectFunction(Function::ChiSquare);
  EXPECT_EQ(model.FieldText(kEdit1), "1");
  EXPECT_EQ(model.FieldText(kEdit4), "0");
  EXPECT_FALSE(model.FieldVisible(kEdit2));
  model.SelectFunction(Function::Normal);
  EXPECT_EQ(model.FieldText(kEdit1), "0");
  EXPECT_EQ(model.FieldText(kEdit2), "1");
  EXPECT_EQ(model.FieldText(kEdit4), "0");
}

TEST(ArrangeFields, ReselectingTheSelectedFunctionKeepsTypedValues) {
  Calculator model;
  model.ArrangeFields();
  model.SetFieldText(kEdit1, "5");
  model.SelectFunction(Function::Normal);
  EXPECT_EQ(model.FieldText(kEdit1), "5");
}

TEST(InverseOption, TogglesLabelAndText) {
  Calculator model;
  model.SelectFunction(Function::T);
  model.SetFieldText(kEdit1, "10");
  model.SetInverseChecked(true);
  EXPECT_EQ(model.LabelCaption(kEdit4), "Percentile");
  EXPECT_EQ(model.FieldText(kEdit4), "0.975");
  EXPECT_EQ(model.FieldText(kEdit1), "10");
  model.SetInverseChecked(false);
  EXPECT_EQ(model.LabelCaption(kEdit4), "x-value");
  EXPECT_EQ(model.FieldText(kEdit4), "0");
  EXPECT_EQ(model.FieldText(kEdit1), "10");

  const std::pair<Function, const char*> percentiles[] = {{Function::Normal, "0.975"},
                                                          {Function::ChiSquare, "0.95"},
                                                          {Function::T, "0.975"},
                                                          {Function::F, "0.95"}};
  for (const auto& [function, text] : percentiles) {
    Calculator m;
    m.SelectFunction(function);
    m.ArrangeFields();
    m.SetInverseChecked(true);
    EXPECT_EQ(m.FieldText(kEdit4), text);
  }
}

TEST(InverseOption, ArrangeFieldsUnchecksItForContinuousAndKeepsItForOthers) {
  Calculator model;
  model.ArrangeFields();
  model.SetInverseChecked(true);
  model.SelectFunction(Function::F);
  EXPECT_FALSE(model.InverseChecked());
  EXPECT_TRUE(model.InverseVisible());
  EXPECT_EQ(model.LabelCaption(kEdit4), "x-value");
  EXPECT_EQ(model.FieldText(kEdit4), "0");

  model.SetInverseChecked(true);
  model.SelectFunction(Function::Binomial);
  EXPECT_FALSE(model.InverseVisible());
  EXPECT_TRUE(model.InverseChecked());
  EXPECT_EQ(model.LabelCaption(kEdit4), "x-value");  // Binomial's own arrangement
  model.SelectFunction(Function::Poisson);
  model.SelectFunction(Function::Normal);
  EXPECT_TRUE(model.InverseVisible());
  EXPECT_FALSE(model.InverseChecked());
}

struct FocusCase {
  const char* label;
  Function function;
  bool inverse;
  std::vector<std::pair<int, const char*>> texts;
  int focus;  // the field that ends with the focus
};

TEST(ValidationByFocus, LastInvalidFieldKeepsTheFocus) {
  const FocusCase cases[] = {
      {"variance 0", Function::Normal, false, {{kEdit2, "0"}}, kEdit2},
      {"variance negative", Function::Normal, false, {{kEdit2, "-1"}}, kEdit2},
      {"variance just below", Function::Normal, false, {{kEdit2, "0.00000099"}}, kEdit2},
      {"mean invalid, variance low", Function::Normal, false, {{kEdit1, "x"}, {kEdit2, "0"}}, kEdit2},
      {"all three invalid", Function::Normal, false, {{kEdit1, "x"}, {kEdit2, "y"}, {kEdit4, "z"}},
       kEdit4},
      {"percentile 0", Function::Normal, true, {{kEdit4, "0"}}, kEdit4},
      {"percentile 1", Function::Normal, true, {{kEdit4, "1"}}, kEdit4},
      {"percentile 0.0000009", Function::Normal, true, {{kEdit4, "0.0000009"}}, kEdit4},
      {"percentile 0.9999991", Function::ChiSquare, true, {{kEdit4, "0.9999991"}}, kEdit4},
      {"df 0", Function::ChiSquare, false, {{kEdit1, "0"}}, kEdit1},
      {"df negative", Function::ChiSquare, false, {{kEdit1, "-3"}}, kEdit1},
      {"df with a point", Function::ChiSquare, false, {{kEdit1, "2.5"}}, kEdit1},
      {"df and percentile", Function::ChiSquare, true, {{kEdit1, "0"}, {kEdit4, "2"}}, kEdit4},
  };
  for (const auto& c : cases) {
    Calculator model;
    model.SelectFunction(c.function);
    model.ArrangeFields();
    model.SetInverseChecked(c.inverse);
    for (const auto& [field, text] : c.texts) model.SetFieldText(field, text);
    model.SetFocusedField(std::nullopt);
    model.ComputeBtnClick();
    EXPECT_FALSE(model.LastComputeValid()) << c.label;
    EXPECT_EQ(model.FocusedField(), c.focus) << c.label;
    EXPECT_TRUE(model.Log().empty()) << c.label;
  }
}

TEST(ValidationByFocus, BoundsAreAccepted) {
  const std::pair<bool, std::vector<std::pair<int, const char*>>> cases[] = {
      {true, {{kEdit4, "0.000001"}}},
      {true, {{kEdit4, "0.999999"}}},
      {false, {{kEdit2, "0.000001"}}},
      {false, {{kEdit4, "-1e300"}}},
  };
  for (const auto& [inverse, texts] : cases) {
    Calculator model;
    model.ArrangeFields();
    model.SetInverseChecked(inverse);
    for (const auto& [field, text] : texts) model.SetFieldText(field, text);
    model.ComputeBtnClick();
    EXPECT_TRUE(model.LastComputeValid()) << texts[0].second;
    EXPECT_EQ(model.Log().size(), 2u) << texts[0].second;
  }
}

TEST(Compute, PointerIsBusyDuringTheReportAndDefaultAfterAnError) {
  Calculator model;
  std::vector<PointerShape> seen;
  model.SetPointerObserver([&](PointerShape shape) { seen.push_back(shape); });
  model.SelectFunction(Function::ChiSquare);
  model.SetInverseChecked(true);
  model.SetFieldText(kEdit1, "1073741824");
  EXPECT_THROW(model.ComputeBtnClick(), Distr::EIntOverflow);
  EXPECT_EQ(model.Pointer(), PointerShape::Default);
  EXPECT_EQ(seen, (std::vector<PointerShape>{PointerShape::Busy, PointerShape::Default}));
  EXPECT_TRUE(model.Log().empty());
  EXPECT_EQ(model.FieldText(kEdit1), "1073741824");
}

TEST(Compute, AppendsTwoLinesAndTellsTheObserver) {
  Calculator model;
  model.ArrangeFields();
  std::vector<std::string> heard;
  model.SetAppendObserver([&](const std::string& line) { heard.push_back(line); });
  model.ComputeBtnClick();
  model.ComputeBtnClick();
  ASSERT_EQ(model.Log().size(), 4u);
  EXPECT_EQ(heard, model.Log());
  model.ClearLog();
  model.ComputeBtnClick();
  EXPECT_EQ(model.Log().size(), 2u);
}

TEST(ErrorBoxText, AppendsAPointAfterCharactersSortingAfterIt) {
  EXPECT_EQ(calculator::ErrorBoxText("Integer overflow"), "Integer overflow.");
  EXPECT_EQ(calculator::ErrorBoxText("Connect timed out."), "Connect timed out.");
  EXPECT_EQ(calculator::ErrorBoxText(""), "");
  EXPECT_EQ(calculator::ErrorBoxText("Cannot create file \"/x\". (5)"), "Cannot create file \"/x\". (5)");
  EXPECT_EQ(calculator::ErrorBoxText("ends in -"), "ends in -");
  EXPECT_EQ(calculator::ErrorBoxText("ends in /"), "ends in /.");
  EXPECT_EQ(calculator::ErrorBoxText("code 7"), "code 7.");
}

}  // namespace
