// The hints of run-time errors: each names the field that broke the range,
// and a whole-number limit is the true edge (the limit computes, one more
// overflows).
#include <gtest/gtest.h>

#include "calculator/ErrorHints.h"

namespace {

using calculator::Compute;
using calculator::FieldTexts;
using calculator::Function;
using calculator::Outcome;

struct Row {
  const char* label;
  Function function;
  bool inverse;
  FieldTexts atLimit;  // empty: no edge to check
  FieldTexts beyond;
  const char* hint;
};

const Row kRows[] = {
    {"chi-square inverse df", Function::ChiSquare, true, {"1073741823", "", "", "0.5"},
     {"1073741824", "", "", "0.5"}, "Degrees of freedom: at most 1073741823."},
    {"chi-square forward df", Function::ChiSquare, false, {}, {"2147483646", "", "", "5"},
     "Degrees of freedom: at most 1073741823."},
    {"t df with a huge x", Function::T, false, {}, {"2147483647", "", "", "1e2400"},
     "Degrees of freedom: at most 1073741823."},
    {"F second df", Function::F, false, {}, {"1", "2147483647", "", "1e2400"},
     "(2) Degrees of freedom: at most 1073741823."},
    {"binomial n", Function::Binomial, false, {"0.5", "1073741822", "", "5"},
     {"0.5", "1073741823", "", "5"}, "n: at most 1073741822."},
    {"Poisson x", Function::Poisson, false, {"1", "", "", "1073741821"},
     {"1", "", "", "1073741822"}, "x-value: at most 1073741821."},
    {"hypergeometric B + R", Function::Hypergeometric, false, {"1073741821", "1", "1", "1"},
     {"536870911", "536870912", "2", "1"}, "Blue (B) and Red (R): together at most 1073741822."},
    {"factorial n", Function::Factorial, false, {"1073741822", "", "", ""},
     {"1073741823", "", "", ""}, "n: at most 1073741822."},
    {"binomial coefficient n", Function::BinomialCoefficient, false, {"1073741822", "5", "", ""},
     {"1073741823", "5", "", ""}, "n: at most 1073741822."},
    {"normal mean", Function::Normal, false, {}, {"1e2467", "1", "", "0"},
     "Mean: at most 1e2400 in magnitude."},
    {"normal x beyond the extended range", Function::Normal, false, {}, {"0", "1", "", "2e4932"},
     "x-value: at most 1e2400 in magnitude."},
    {"Poisson lambda", Function::Poisson, false, {}, {"1e4932", "", "", "1"},
     "lambda (Mean): at most 1e2400 in magnitude."},
    {"t x", Function::T, false, {}, {"5", "", "", "-1e3000"}, "x-value: at most 1e2400 in magnitude."},
};

TEST(ErrorHint, NamesTheFieldAndItsLimit) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.label);
    if (!row.atLimit[0].empty()) {
      EXPECT_EQ(Compute(row.function, row.atLimit, row.inverse).outcome, Outcome::Ok);
    }
    const calculator::Result result = Compute(row.function, row.beyond, row.inverse);
    ASSERT_EQ(result.outcome, Outcome::Error);
    EXPECT_EQ(calculator::ErrorHint(result, row.beyond), std::optional<std::string>(row.hint));
  }
}

TEST(ErrorHint, NoneWithoutAKnownCause) {
  const FieldTexts normal{"0", "1", "", "0"};
  EXPECT_EQ(calculator::ErrorHint(Compute(Function::Normal, normal, false), normal), std::nullopt);
  const FieldTexts invalid{"x", "1", "", "0"};
  EXPECT_EQ(calculator::ErrorHint(Compute(Function::Normal, invalid, false), invalid),
            std::nullopt);
}

}  // namespace
