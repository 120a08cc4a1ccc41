// The range a table starts with, from the bulk of the distribution, and the
// estimate of the time a table has left.
#include <gtest/gtest.h>

#include "calculator/FieldParsing.h"
#include "calculator/ResultDetails.h"
#include "tables/Tables.h"

namespace {

using calculator::Function;

long double Read(const std::string& text) {
  return calculator::ParseReal(text).value;
}

// The 0.001 and 0.999 quantiles by hand: z = 3.0902323 standard deviations
// either side of the mean (chi-square 1: 3.2905267^2 = 10.828; t 1, the
// Cauchy distribution: tan(0.499 pi) = 318.31).
TEST(DefaultRange, CoversTheBulkInReadableSteps) {
  const struct {
    Function function;
    calculator::FieldTexts texts;
    long double low, high;
  } cases[] = {
      {Function::Normal, {"50", "100", "", ""}, 19.098L, 80.902L},
      {Function::Binomial, {"0.5", "1000000000", "", ""}, 499951138, 500048862},
      {Function::Poisson, {"1e8", "", "", ""}, 99969098, 100030902},
      {Function::ChiSquare, {"1", "", "", ""}, 0.0000016L, 10.828L},
      {Function::T, {"1", "", "", ""}, -318.31L, 318.31L},
  };
  for (const auto& c : cases) {
    const tables::RangeTexts range = tables::DefaultRange(c.function, c.texts);
    SCOPED_TRACE(range.from + " to " + range.to + " in steps of " + range.step);
    EXPECT_LE(Read(range.from), c.low);
    EXPECT_GE(Read(range.to), c.high);
    // Rounded outward by at most a step of at most a twentieth of the bulk.
    EXPECT_LE(Read(range.to) - Read(range.from), 1.1L * (c.high - c.low) + 2);
    const auto step = tables::ParseDecimal(range.step);
    ASSERT_TRUE(step.has_value());
    EXPECT_TRUE(step->coefficient == 1 || step->coefficient == 2 || step->coefficient == 5);
    tables::Request request = tables::DefaultRequest(c.function, tables::Kind::Range, c.texts);
    const tables::Prepared prepared = tables::Prepare(request);
    ASSERT_TRUE(prepared.plan.has_value());
    EXPECT_GE(prepared.plan->RowCount(), 20u);
    EXPECT_LE(prepared.plan->RowCount(), 60u);
  }
  EXPECT_EQ(tables::DefaultRange(Function::ChiSquare, {"1", "", "", ""}).from, "0");
}

TEST(DefaultRange, InsideTheSupportAndTheXValuesLimits) {
  const struct {
    Function function;
    calculator::FieldTexts texts;
    tables::RangeTexts range;
  } cases[] = {
      {Function::Binomial, {"0.5", "1", "", ""}, {"0", "1", "1"}},  // the whole support
      {Function::Binomial, {"0", "100", "", ""}, {"0", "0", "1"}},
      {Function::Binomial, {"1", "100", "", ""}, {"100", "100", "1"}},
      // Steps of 10^4 from 2147250000 would pass 2^31 - 1.
      {Function::Poisson, {"2147400000", "", "", ""}, {"2147250000", "2147483647", "10000"}},
      // The table's first range: invalid parameters, a bulk past the x-value's
      // limits, and one narrower than the extended precision at its mean.
      {Function::Normal, {"0", "0", "", ""}, {"-3", "3", "0.1"}},
      {Function::Poisson, {"1e12", "", "", ""}, {"0", "10", "1"}},
      {Function::Normal, {"1e30", "1", "", ""}, {"-3", "3", "0.1"}},
      {Function::Factorial, {"5", "", "", ""}, {"", "", ""}},
  };
  for (const auto& c : cases) {
    const tables::RangeTexts range = tables::DefaultRange(c.function, c.texts);
    EXPECT_EQ(range.from + " " + range.to + " " + range.step,
              c.range.from + " " + c.range.to + " " + c.range.step);
  }
}

// Every distribution of the table, with its first parameters: a valid range
// within the support.
TEST(DefaultRange, EveryDistributionOfTheTable) {
  for (const calculator::FunctionAbout& about : calculator::Functions()) {
    if (about.model == nullptr) continue;
    const calculator::FieldTexts texts = calculator::DefaultTexts(about.function);
    SCOPED_TRACE(about.commandName);
    const tables::Request request =
        tables::DefaultRequest(about.function, tables::Kind::Range, texts);
    ASSERT_TRUE(tables::Prepare(request).plan.has_value());
    calculator::Arguments arguments;
    for (const auto& field : about.fields) arguments.value[field.slot] = Read(texts[field.slot]);
    const auto support = details::Support(*calculator::DistributionOf(about.function, arguments));
    EXPECT_GE(Read(request.from), support.first);
    EXPECT_LE(Read(request.to), support.second);
  }
}

TEST(TimeLeft, FromTheRateOfTheRowsDone) {
  const std::tuple<double, std::size_t, std::size_t, const char*> cases[] = {
      {0.5, 10, 100, ""},  // too early to tell
      {2, 0, 100, ""},
      {2, 100, 100, ""},
      {2, 10, 100, "about 18 s left"},
      {1, 1000, 1001, "about 1 s left"},
      {30, 10, 40, "about 90 s left"},
      {31, 10, 40, "about 2 min left"},
      {60, 1, 100, "about 2 h left"},  // 99 min
  };
  for (const auto& [elapsed, done, total, text] : cases)
    EXPECT_EQ(tables::TimeLeftText(elapsed, done, total), text) << elapsed << " " << done;
}

}  // namespace
