// probex-calc's message for an invalid field: a single command names the
// field that keeps the focus with the caption it has in that question and
// its rule; a batch line keeps "invalid field: Edit_N" alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Command.h"

namespace {

struct Row {
  std::vector<std::string> words;
  const char* single;  // standard error of the single command
  const char* batch;   // the batch line
};

TEST(InvalidField, NamesTheFieldsCaptionAndRule) {
  const Row rows[] = {
      {{"normal", "0", "0", "1"},
       "invalid field: Edit_2: Variance: a number of at least 0.000001",
       "invalid field: Edit_2"},
      // The caption the option gives the field, and the rule of that reading.
      {{"--sd", "normal", "0", "0.0001", "1"},
       "invalid field: Edit_2: Standard deviation: a number of at least 0.001",
       "invalid field: Edit_2"},
      {{"--inverse", "normal", "0", "1", "1"},
       "invalid field: Edit_4: Percentile: a probability from 0.000001 to 0.999999",
       "invalid field: Edit_4"},
      // The bound B is a field of the interval question only.
      {{"--between", "normal", "0", "1", "2", "1"},
       "invalid field: Edit_5: Upper bound (B): a number greater than A",
       "invalid field: Edit_5"},
      {{"--between", "binomial", "0.5", "10", "7", "3"},
       "invalid field: Edit_5: Upper bound (B): a whole number greater than A",
       "invalid field: Edit_5"},
      // The x-value is the fourth pair.  Of several faults the last keeps the
      // focus; the reason follows the rule.
      {{"normal", "x", "1", ""},
       "invalid field: Edit_4: x-value: a number (the field is empty)",
       "invalid field: Edit_4"},
      {{"normal", "1,5", "1", "0"},
       "invalid field: Edit_1: Mean: a number (use a decimal point)",
       "invalid field: Edit_1"},
  };
  for (const Row& row : rows) {
    const cli::Outcome outcome = cli::Run(row.words);
    ASSERT_EQ(outcome.kind, cli::Outcome::Kind::InvalidField) << row.single;
    EXPECT_EQ(outcome.InvalidFieldText(), row.single);
    EXPECT_EQ(cli::BatchText(outcome), row.batch);
  }
}

TEST(InvalidField, OtherOutcomesHaveNoFieldRule) {
  EXPECT_EQ(cli::Run({"normal", "0", "1", "0"}).fieldRule, "");
  EXPECT_EQ(cli::Run({"nosuch"}).fieldRule, "");
}

}  // namespace
