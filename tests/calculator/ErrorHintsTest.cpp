// The hints of run-time errors name the field that left the range; a
// whole-number limit is the true edge: one less computes.
#include <gtest/gtest.h>

#include "calculator/ErrorHints.h"

namespace {

using calculator::Function;
using calculator::Mode;

struct Row {
  Function function;
  calculator::Mode mode;
  calculator::FieldTexts texts;
  int edgeField;  // the field that computes when lowered by one; -1: none
  const char* hint;
};

const Row kRows[] = {
    {Function::Binomial,
     Mode::Forward,
     {"0.5", "1073741823", "", "5"},
     1,
     "n: at most 1073741822."},
    {Function::Poisson,
     Mode::Forward,
     {"1", "", "", "1073741822"},
     3,
     "x-value: at most 1073741821."},
    {Function::Hypergeometric,
     Mode::Forward,
     {"536870911", "536870912", "2", "1"},
     1,
     "Blue (B) and Red (R): together at most 1073741822."},
    {Function::Normal,
     Mode::Forward,
     {"1e2467", "1", "", "0"},
     -1,
     "Mean: at most 1e2400 in magnitude."},
    {Function::T,
     Mode::Forward,
     {"5", "", "", "-2e4932"},
     -1,
     "x-value: at most 1e2400 in magnitude."},
};

TEST(ErrorHint, NamesTheFieldAndItsLimit) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.hint);
    const calculator::Result result = calculator::Compute(row.function, row.texts, row.mode);
    ASSERT_EQ(result.outcome, calculator::Outcome::Error);
    EXPECT_EQ(calculator::ErrorHint(result, row.texts), std::optional<std::string>(row.hint));
    if (row.edgeField < 0) continue;
    calculator::FieldTexts lower = row.texts;
    lower[row.edgeField] = std::to_string(std::stoll(lower[row.edgeField]) - 1);
    EXPECT_TRUE(calculator::Compute(row.function, lower, row.mode).Ok());
  }
  const calculator::FieldTexts invalid{"x", "1", "", "0"};  // no run-time error, no hint
  EXPECT_EQ(
      calculator::ErrorHint(calculator::Compute(Function::Normal, invalid, Mode::Forward), invalid),
      std::nullopt);
}

// The hint follows the kind of the error, not the words of its message.
TEST(ErrorHint, IsKeyedByTheErrorKind) {
  const calculator::FieldTexts texts{"0.5", "1073741823", "", "5"};
  calculator::Result result = calculator::Compute(Function::Binomial, texts, Mode::Forward);
  ASSERT_EQ(result.error, calculator::ErrorKind::IntOverflow);
  result.message = "reworded";
  EXPECT_EQ(calculator::ErrorHint(result, texts), "n: at most 1073741822.");
  result.error = calculator::ErrorKind::Other;
  EXPECT_EQ(calculator::ErrorHint(result, texts), std::nullopt);
}

}  // namespace
