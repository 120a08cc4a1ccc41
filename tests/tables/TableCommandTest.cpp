// probex-calc --table and --critical: the printed text and the exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/TableCommand.h"

namespace {

struct Printed {
  int status;
  std::string out, err;
};

Printed Table(std::vector<std::string> words) {
  std::ostringstream out, err;
  const int status = cli::RunTableCommand(words, out, err);
  return {status, out.str(), err.str()};
}

TEST(TableCommand, RangeWithHeaderRow) {
  const Printed run = Table({"--table", "binomial", "0.5", "4", "--from", "1", "--to", "3"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "x\tP(X<=x)\tP(X>=x)\tP(X=x)\n"
            "1\t0.312500\t0.937500\t0.250000\n"
            "2\t0.687500\t0.687500\t0.375000\n"
            "3\t0.937500\t0.312500\t0.250000\n");
}

TEST(TableCommand, CriticalValuesOfF) {
  const Printed run =
      Table({"--critical", "f", "--alpha", "0.05", "--df1", "1,5", "--df2", "10, 120"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "df2\\df1\t1\t5\n"
            "10\t4.964603\t3.325835\n"
            "120\t3.920124\t2.289851\n");
}

// Normal(50, 100): its bulk 50 -+ 30.9 from 18 to 82 in steps of 2; a range
// given stays (81 to 82: one row).
TEST(TableCommand, RangeFromTheParametersUnlessGiven) {
  const std::string bulk = Table({"--table", "normal", "50", "100"}).out;
  const std::string given = Table({"--table", "normal", "50", "100", "--from", "81"}).out;
  EXPECT_EQ(std::count(bulk.begin(), bulk.end(), '\n'), 1 + 33);
  EXPECT_EQ(bulk.substr(bulk.find('\n') + 1, 10), "18.000000\t");
  EXPECT_EQ(std::count(given.begin(), given.end(), '\n'), 1 + 1);
  EXPECT_EQ(given.substr(given.find('\n') + 1, 10), "81.000000\t");
}

TEST(TableCommand, ExitStatusAndMessage) {
  struct Case {
    std::vector<std::string> words;
    int status;
    std::string err;  // the first line
  };
  const Case cases[] = {
      {{"--table", "t", "0"},
       2,
       "invalid field: Edit_1: a number greater than 0 and at most 1073741823"},
      {{"--critical", "t", "--df", "1,x"},
       2,
       "invalid field: --df, entry 2: a number greater than 0 and at most 1073741823"},
      {{"--critical", "t", "--df", "1,,2"},
       2,
       "invalid field: --df, entry 2: one or more entries separated by commas"},
      {{"--table", "normal", "--step", "0.00001"},
       2,
       "invalid field: --step: a step that gives at most 100000 rows from From to To"},
      {{"--critical", "binomial"}, 64, "probex-calc: --critical has no table for binomial"},
      {{"--critical", "t", "--df1", "3"},
       64,
       "probex-calc: unknown option for --critical t: --df1"},
      {{"--table", "t", "--from"}, 64, "probex-calc: --from needs a value"},
      {{"--critical", "f", "--two-sided"},
       64,
       "probex-calc: --two-sided needs normal, t, uniform, cauchy, logistic"},
      {{"--table", "t", "--to", "1", "--to", "2"}, 64, "probex-calc: --to given twice"},
      {{"--table", "poisson", "1", "2"}, 64, "probex-calc: too many fields"},
      {{"--table", "nosuch"}, 64, "probex-calc: unknown function: nosuch"},
  };
  for (const auto& c : cases) {
    const Printed run = Table(c.words);
    EXPECT_EQ(run.status, c.status) << c.err;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.err);
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
