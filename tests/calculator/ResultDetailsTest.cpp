// The remarks of the details: where the log's printed digits hide or differ
// from the accurate value, said in words that do not contradict themselves.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "calculator/DecimalComplement.h"
#include "calculator/ResultDetails.h"

namespace {

using calculator::Function;
using calculator::Mode;

struct RemarkCase {
  const char* label;
  Function function;
  Mode mode;
  calculator::FieldTexts texts;
  const char* remark;  // the one remark expected; nullptr: none
};

TEST(Remarks, NameWhatTheLogHides) {
  const RemarkCase cases[] = {
      {"whole number past 18 digits",
       Function::BinomialCoefficient,
       Mode::Forward,
       {"68", "34", "", ""},
       "C(68,34) is 28453041475240576740; the log printed 28453041475240575800, exact to about "
       "18 significant digits."},
      {"whole number the log has right",
       Function::BinomialCoefficient,
       Mode::Forward,
       {"10", "3", "", ""},
       nullptr},
      {"a complement below the range",
       Function::Normal,
       Mode::Forward,
       {"0", "1", "", "-160"},
       "P(X>-160.000000) is 1 minus less than 3.4e-4932, not exactly 1: the log rounds it to six "
       "decimals."},
      {"the sign of a zero", Function::T, Mode::Inverse, {"1", "", "", "0.5"}, nullptr},
  };
  for (const RemarkCase& c : cases) {
    const calculator::Result result = calculator::Compute(c.function, c.texts, c.mode);
    ASSERT_TRUE(result.Ok()) << c.label;
    const std::vector<std::string> remarks = calculator::DetailsOf(result).remarks;
    if (c.remark == nullptr) {
      EXPECT_TRUE(remarks.empty()) << c.label << ": " << (remarks.empty() ? "" : remarks[0]);
    } else {
      EXPECT_EQ(remarks, std::vector<std::string>{c.remark}) << c.label;
    }
  }
}

// Where the log's arithmetic overflows, the engine still has its values.
TEST(Details, OfAnErrorWhoseFieldsWereRead) {
  const calculator::Result overflow =
      calculator::Compute(Function::T, {"1", "", "", "1e3700"}, Mode::Forward);
  ASSERT_EQ(overflow.outcome, calculator::Outcome::Error);
  const calculator::ResultDetails details = calculator::DetailsOfError(overflow);
  const auto* forward = std::get_if<models::ContinuousForward>(&details.values);
  ASSERT_NE(forward, nullptr);
  EXPECT_EQ(forward->lower.value, 1.0L);
  // P(T > t) = atan(1/t)/pi: 3.18309886183790671537767526745028724e-3701 (mpmath).
  ASSERT_TRUE(forward->upper.value.has_value()) << forward->upper.note;
  EXPECT_NEAR(
      static_cast<double>(*forward->upper.value / 3.18309886183790671537767526745028724e-3701L), 1,
      1e-15);
  const calculator::Result unread =
      calculator::Compute(Function::Normal, {"1e5000", "1", "", "0"}, Mode::Forward);
  ASSERT_EQ(unread.outcome, calculator::Outcome::Error);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(calculator::DetailsOfError(unread).values));
}

}  // namespace

namespace {

// A decimal's complement is taken on its digits: 1 - 0.999999 is the long
// double nearest 1e-6 itself, not 1 minus the long double nearest 0.999999.
TEST(DecimalComplement, OnTheDigitsTyped) {
  const std::pair<const char*, std::optional<long double>> cases[] = {
      {"0.999999", 1e-6L},
      {"9.99999e-1", 1e-6L},
      {" .5 ", 0.5L},
      {"1", 0.0L},
      {"0", 1.0L},
      {"1.0000", 0.0L},
      {"0.999999999999999", 1e-15L},
      {"1.5", std::nullopt},
      {"-0.5", std::nullopt},
      {"abc", std::nullopt},
      {"1e1", std::nullopt},
      {"5e-1", 0.5L},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(calculator::DecimalComplement(text), expected) << text;
}

TEST(DecimalDifference, OnTheDigitsTyped) {
  const std::tuple<const char*, const char*, std::optional<long double>> cases[] = {
      {"130.1", "100.3", 29.8L},     {"1000050", "1000000.1", 49.9L}, {"-1.5", "2e3", -2001.5L},
      {"0.1", "0.1", 0.0L},          {" 2.5 ", "1E-1", 2.4L},         {"1", "abc", std::nullopt},
      {"1e5000", "1", std::nullopt},
  };
  for (const auto& [a, b, expected] : cases)
    EXPECT_EQ(calculator::DecimalDifference(a, b), expected) << a << " - " << b;
}

// The details of a typed probability near 1 are those of the decimal: the
// binomial's tail with p = 0.999999999999999, t(1)'s quantile at 0.999999
// and the normal's far tail at x - mean = 49.9, each against mpmath at 50
// digits from the decimals.
TEST(Details, OfTheDecimalTyped) {
  const auto binomial = calculator::DetailsOf(calculator::Compute(
      Function::Binomial, {"0.999999999999999", "100", "", "87"}, Mode::Forward));
  const auto& b = std::get<models::DiscreteForward>(binomial.values);
  const long double atMost = 7.1105424997986255697451948e-180L;
  EXPECT_NEAR(static_cast<double>(*b.atMost.value / atMost - 1), 0, 1e-15);
  const auto t = calculator::DetailsOf(
      calculator::Compute(Function::T, {"1", "", "", "0.999999"}, Mode::Inverse));
  const auto& i = std::get<models::ContinuousInverse>(t.values);
  EXPECT_NEAR(static_cast<double>(*i.xLower.value / 318309.886182743473986570240L - 1), 0, 1e-15);
  const auto normal = calculator::DetailsOf(
      calculator::Compute(Function::Normal, {"1000000.1", "1", "", "1000050"}, Mode::Forward));
  const auto& n = std::get<models::ContinuousForward>(normal.values);
  EXPECT_EQ(n.x, 1000050);
  const long double upper = 1.598946152278330773246352859e-543L;  // Q(49.9)
  EXPECT_NEAR(static_cast<double>(*n.upper.value / upper - 1), 0, 1e-15);
}

TEST(DecimalResidual, IsWhatTheRoundingLeftOut) {
  // Against mpmath: each decimal less the long double nearest it.
  const std::tuple<const char*, long double, bool, std::optional<long double>> cases[] = {
      {"0.5", 0.5L, false, 0.0L},
      {"0.1", 0.1L, false, -1.355252715606880542509029e-21L},
      {"123.456", 123.456L, false, -2.553512956637860042974165e-18L},
      {"0.7", 0.3L, true, -1.084202172485504434007223e-20L},  // (1 - 0.7) - 0.3L
      {"1,5", 1.5L, false, std::nullopt},
  };
  for (const auto& [text, value, ofComplement, expected] : cases) {
    const std::optional<long double> residual =
        calculator::DecimalResidual(text, value, ofComplement);
    ASSERT_EQ(residual.has_value(), expected.has_value()) << text;
    if (expected && *expected != 0) {
      EXPECT_NEAR(static_cast<double>(*residual / *expected - 1), 0, 1e-15) << text;
    } else if (expected) {
      EXPECT_EQ(*residual, 0.0L) << text;
    }
  }
}

// Far tails that move by more than 1e-15 with the rounding of the decimals
// typed (a Poisson point near 1e-35 at lambda = 5463608.68218) or of p near
// 1 (n times it), against mpmath at 40 digits from the decimals.
TEST(Details, FarTailsOfTheDecimalsTyped) {
  struct Case {
    Function function;
    calculator::FieldTexts texts;
    const char* value;
    long double expected;
  };
  const Case cases[] = {
      {Function::Poisson,
       {"5463608.68218", "", "", "5491550"},
       "point",
       1.797923782994881640229814e-35L},
      {Function::Poisson,
       {"59072.5763217", "", "", "45801"},
       "point",
       1.023790146425180228682364e-705L},
      {Function::Binomial,
       {"0.999999998588506", "139178796", "", "139178796"},
       "point",
       0.8216423831220434623307827L},
      {Function::Binomial, {"0.999999998588506", "139178796", "", "139178796"}, "at most", 1},
      {Function::Binomial,
       {"0.999996894296527", "580736541", "", "580734704"},
       "at most",
       0.2187655226242658456397101L},
      {Function::Gamma,
       {"59072.5763217", "0.3", "", "13740.3"},
       "lower",
       2.946436992316429247826787e-767L},
  };
  for (const Case& c : cases) {
    const auto details =
        calculator::DetailsOf(calculator::Compute(c.function, c.texts, Mode::Forward));
    std::optional<long double> got;
    if (const auto* d = std::get_if<models::DiscreteForward>(&details.values))
      got = std::string(c.value) == "point" ? d->point.value : d->atMost.value;
    else if (const auto* f = std::get_if<models::ContinuousForward>(&details.values))
      got = f->lower.value;
    ASSERT_TRUE(got.has_value()) << c.texts[0] << " " << c.value;
    EXPECT_NEAR(static_cast<double>(*got / c.expected - 1), 0, 1e-15)
        << c.texts[0] << " " << c.value;
    EXPECT_LE(*got, 1.0L) << c.texts[0] << " " << c.value;
  }
}

// An interval of that Poisson's far tail, P(5491550 <= X <= 5491560).
TEST(Details, IntervalOfTheDecimalsTyped) {
  const auto details = calculator::DetailsOf(calculator::Compute(
      Function::Poisson, {"5463608.68218", "", "", "5491550", "5491560"}, Mode::Interval));
  const auto& between = std::get<models::IntervalValues>(details.values).between;
  ASSERT_TRUE(between.value.has_value());
  EXPECT_NEAR(static_cast<double>(*between.value / 1.928155813876254067413e-34L - 1), 0, 1e-15);
}

// A discrete quantile at a boundary P(X <= k) = p of the decimals typed,
// where the extended reals nearest them fall on the wrong side (0.3 rounds
// up, so P(X <= 3) = 3/10 of the rounded values is below it).
TEST(Details, QuantileAtTheBoundaryTyped) {
  const std::tuple<Function, std::vector<std::string>, long double> cases[] = {
      {Function::DiscreteUniform, {"1", "10", "0.3"}, 3},
      {Function::Binomial, {"0.1", "2", "0.99"}, 1},
      {Function::Geometric, {"0.1", "0.19"}, 1},
      {Function::NegativeBinomial, {"2", "0.1", "0.028"}, 1},
      {Function::Hypergeometric, {"3", "7", "5", "0.5"}, 1},
  };
  for (const auto& [function, words, expected] : cases) {
    calculator::FieldTexts texts;
    std::size_t next = 0;
    for (const auto& field : calculator::AboutFunction(function).fields)
      texts[field.slot] = words[next++];
    const auto details = calculator::DetailsOf(calculator::Compute(function, texts, Mode::Inverse));
    const auto& i = std::get<models::DiscreteInverse>(details.values);
    EXPECT_EQ(i.quantile.value, expected) << words.back();
  }
}

}  // namespace
