// probex-calc --json: number texts, statuses and keys of the objects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <random>

#include "cli/JsonCommand.h"
#include "cli/JsonNumber.h"

namespace {

TEST(JsonNumber, ExactValuesAndForms) {
  const std::pair<long double, const char*> rows[] = {
      {100, "100"},           {0.5L, "0.5"},          {0.376953125L, "0.376953125"},
      {-2.5L, "-2.5"},        {1e16L, "10000000000000000"}, {1e17L, "1e+17"},
      {0.0001L, "0.0001"},    {1e-6L, "1e-6"},       {0, "0"},
      {INFINITY, "null"},     {NAN, "null"},
  };
  for (const auto& [value, text] : rows) EXPECT_EQ(cli::JsonNumber(value), text) << text;
}

TEST(JsonNumber, SeventeenDigitsOfTheExtendedValueOverTheWholeRange) {
  std::mt19937_64 random(12345);
  std::uniform_real_distribution<double> exponent(-4940, 4930), mantissa(1, 10);
  for (int i = 0; i < 20000; ++i) {
    const long double v = mantissa(random) * std::pow(10.0L, static_cast<long double>(exponent(random)));
    const std::string text = cli::JsonNumber(v);
    const long double back = std::strtold(text.c_str(), nullptr);
    // 17 digits: within half a unit of the 17th digit, plus the scaling's roundings
    ASSERT_LE(std::fabs(back - v), 1e-16L * std::fabs(v)) << text;
  }
  // Below the normal range (subnormal extended reals) too.
  EXPECT_EQ(cli::JsonNumber(3.6451995318824746e-4951L).substr(0, 6), "3.6451");
}

struct JsonCase {
  const char* label;
  std::vector<std::string> words;
  int exitStatus;
  const char* status;
  std::vector<const char*> keys;  // keys that must be there
};

TEST(RunJson, StatusesKeysAndExitStatuses) {
  const JsonCase cases[] = {
      {"normal forward", {"normal", "100", "225", "130"}, 0, "ok",
       {"lines", "parameters", "x", "lower", "upper", "density", "two_tailed", "mean", "variance"}},
      {"t inverse", {"--inverse", "t", "10", "0.975"}, 0, "ok", {"p", "x_lower", "x_upper", "central"}},
      {"poisson forward", {"poisson", "3", "2"}, 0, "ok",
       {"below", "at_most", "point", "at_least", "above"}},
      {"binomial quantile", {"--inverse", "binomial", "0.5", "10", "0.5"}, 0, "ok", {"quantile"}},
      {"factorial", {"factorial", "19"}, 0, "ok", {"exact", "log10"}},
      {"t mean undefined", {"t", "1", "3"}, 0, "ok", {"notes"}},
      {"invalid df", {"t", "0", "1"}, 2, "invalid", {"field", "rule"}},
      {"invalid quantile p", {"--inverse", "poisson", "3", "1.5"}, 2, "invalid", {"field"}},
      {"overflow", {"binomial", "0.5", "1073741823", "5"}, 1, "error", {"message"}},
      {"unknown function", {"zeta", "1"}, 64, "usage", {"message"}},
      {"no inverse for counting", {"--inverse", "factorial", "3"}, 64, "usage", {"message"}},
  };
  for (const auto& c : cases) {
    const cli::JsonAnswer answer = cli::RunJson(c.words);
    EXPECT_EQ(answer.exitStatus, c.exitStatus) << c.label;
    const auto json = nlohmann::json::parse(answer.json);  // valid JSON
    EXPECT_EQ(json.at("status"), c.status) << c.label;
    for (const char* key : c.keys) EXPECT_TRUE(json.contains(key)) << c.label << ": " << key;
  }
}

TEST(RunJson, ValuesAgreeWithTheLogAndTheirIdentities) {
  const auto json = nlohmann::json::parse(cli::RunJson({"binomial", "0.5", "10", "5"}).json);
  // P(X=5) = 252/1024 exactly; below + point + above = 1
  EXPECT_DOUBLE_EQ(json.at("point").get<double>(), 252.0 / 1024);
  EXPECT_NEAR(json.at("below").get<double>() + json.at("point").get<double>() +
                  json.at("above").get<double>(), 1.0, 1e-15);
  EXPECT_EQ(json.at("lines").at(1), "   P(X<=5)=0.623047      P(X>=5)=0.623047      P(X=5)=0.246094");
  const auto t = nlohmann::json::parse(cli::RunJson({"t", "1", "3"}).json);
  EXPECT_TRUE(t.at("mean").is_null());
  EXPECT_TRUE(t.at("variance").is_null());
}

}  // namespace
