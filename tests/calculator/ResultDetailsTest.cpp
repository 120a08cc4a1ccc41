// The remarks of the details: where the log's printed digits hide or differ
// from the accurate value, said in words that do not contradict themselves.
#include <gtest/gtest.h>

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
  const auto* forward = std::get_if<details::ContinuousForward>(&details.values);
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
