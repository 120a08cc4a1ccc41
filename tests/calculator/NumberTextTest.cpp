// The number texts of the log lines, tested as strings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calculator/NumberText.h"

namespace {

using namespace calculator;

struct TextCase {
  const char* label;
  long double value;
  std::string expected;
};

TEST(Fixed6Text, Table) {
  const TextCase cases[] = {
      {"pads decimals", 0.025L, "0.025000"},
      {"rounds", 1.959963984540054L, "1.959964"},
      {"negative", -1.959963984540054L, "-1.959964"},
      {"carry into a new digit", 9.9999999L, "10.000000"},
      {"a half rounds up", 5e-7L, "0.000001"},
      {"just below a half", 4.9e-7L, "0.000000"},
      {"zero", 0.0L, "0.000000"},
      {"negative zero keeps its sign", -0.0L, "-0.000000"},
      {"negative value rounding to zero", -1e-9L, "-0.000000"},
      {"10^20 in full", 1e20L, "100000000000000000000.000000"},
      {"18 significant digits, then zeros", 1234567890123.456789L, "1234567890123.456790"},
      {"10^40 goes scientific", 1e40L, " 1.0E+0040"},
      {"-10^40", -1e40L, "-1.0E+0040"},
      {"mantissa from 10 to 16", 12.5L, "12.500000"},
      {"130", 130.0L, "130.000000"},
      {"2^120 is scientific", std::ldexp(1.0L, 120), " 1.3E+0036"},
      {"NaN", std::numeric_limits<long double>::quiet_NaN(), "Nan"},
      {"+inf", HUGE_VALL, "+Inf"},
      {"-inf", -HUGE_VALL, "-Inf"},
      {"denormal", std::numeric_limits<long double>::denorm_min(), "0.000000"},
      {"largest extended", std::numeric_limits<long double>::max(), " 1.1E+4932"},
  };
  for (const auto& c : cases) EXPECT_EQ(Fixed6Text(c.value), c.expected) << c.label;
}

TEST(Fixed6Text, JustBelow2To120IsFixedWithZerosPastTheNineteenthDigit) {
  const std::string text = Fixed6Text(std::nextafter(std::ldexp(1.0L, 120), 0.0L));
  // 2^120 = 1329227995784915872903807060280344576: 37 integer digits, the
  // first 19 computed (the mantissa starts with 1), the rest written as 0.
  ASSERT_EQ(text.size(), 37u + 7u) << text;
  EXPECT_EQ(text.substr(0, 17), "13292279957849158") << text;
  EXPECT_EQ(text.substr(19), std::string(18, '0') + ".000000") << text;
}

TEST(Fixed4Text, RoundsToFourDecimals) {
  EXPECT_EQ(Fixed4Text(5912.128178L), "5912.1282");
  EXPECT_EQ(Fixed4Text(2000.49995L), "2000.5000");
  EXPECT_EQ(Fixed4Text(-0.00004L), "-0.0000");
}

TEST(WholeText, Table) {
  const TextCase cases[] = {
      {"one", 1.0L, "1"},
      {"rounds half up", 2.5L, "3"},
      {"below a half", 0.3L, "0"},
      {"120", 120.0000000000001L, "120"},
      {"18! in full", 6402373705728000.0L, "6402373705728000"},
      {"19 digits when the mantissa starts with 1", 1216451004088320000.0L, "1216451004088320000"},
      {"digits past the 18th are zeros", 2432902008176640000.0L * 10, "24329020081766400000"},
      {"2^120 short form", std::ldexp(1.0L, 120), " 1.3E+0036"},
      {"2.048e600", 2.048e600L, " 2.0E+0600"},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeText(c.value), c.expected) << c.label;
}

TEST(Scientific20Text, Table) {
  const TextCase cases[] = {
      {"19!: mantissa 12.16..., twelfth digit dropped", 121645100408832000.0L,
       " 1.21645100408E+0017"},
      {"20!: rounded on the thirteenth", 2432902008176640000.0L, " 2.43290200818E+0018"},
      {"negative", -1.5L, "-1.50000000000E+0000"},
      {"small", 0.000123L, " 1.23000000000E-0004"},
      {"zero", 0.0L, " 0.00000000000E+0000"},
      {"padded special", HUGE_VALL, "                +Inf"},
  };
  for (const auto& c : cases) {
    const std::string text = Scientific20Text(c.value);
    EXPECT_EQ(text, c.expected) << c.label;
    EXPECT_EQ(text.size(), 20u) << c.label;
  }
}

// The model's lines round the short form where the nine first functions'
// cut it: a mantissa from 10 on kept one digit fewer than it rounded to.
TEST(Fixed6Text, RoundedShortForm) {
  struct Pair {
    const char* label;
    long double value;
    const char* cut;
    const char* rounded;
  };
  const Pair cases[] = {
      {"mantissa from 10, rounds up", 1.555e87L, " 1.5E+0087", " 1.6E+0087"},
      {"largest extended", std::numeric_limits<long double>::max(), " 1.1E+4932", " 1.2E+4932"},
      {"negative", -1.555e87L, "-1.5E+0087", "-1.6E+0087"},
      {"mantissa below 10 is alike", 9.96e40L, " 1.0E+0041", " 1.0E+0041"},
      {"rounds down alike", 1.04e50L, " 1.0E+0050", " 1.0E+0050"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fixed6Text(c.value), c.cut) << c.label;
    EXPECT_EQ(Fixed6Text(c.value, calculator::ShortForm::Rounded), c.rounded) << c.label;
  }
}

TEST(RealText, ScientificWidthZeroIsTenCharacters) {
  for (long double v : {1e40L, 1e-40L, 3.0L, -7e300L}) EXPECT_EQ(RealText(v, 0, -1).size(), 10u) << v;
  EXPECT_EQ(RealText(1e40L, 0, -1), " 1.0E+0040");
  EXPECT_EQ(RealText(9.96L, 0, -1), " 1.0E+0001");
  EXPECT_EQ(RealText(1e-5L, 0, -1), " 1.0E-0005");
}

TEST(IntegerText, Table) {
  EXPECT_EQ(IntegerText(0), "0");
  EXPECT_EQ(IntegerText(-7), "-7");
  EXPECT_EQ(IntegerText(2147483647), "2147483647");
  EXPECT_EQ(IntegerText(INT32_MIN), "-2147483648");
}

}  // namespace
