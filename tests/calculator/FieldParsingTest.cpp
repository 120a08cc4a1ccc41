// Field texts read as reals and as integers.  The parser never consults the
// locale, so no locale is pinned here: "1,5" must fail under any of them.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <string>

#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"

namespace {

using calculator::ParseInteger;
using calculator::ParseReal;

// A read-only text of `length` blanks held by one MiB: a memory file of
// blanks mapped side by side again and again, left mapped until the test
// program ends.  Empty when the mapping fails.
std::string_view BlankText(size_t length) {
  constexpr size_t kPiece = size_t{1} << 20;
  const size_t size = (length + kPiece - 1) / kPiece * kPiece;
  void* base = mmap(nullptr, size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  const int fd = memfd_create("blanks", 0);
  const std::string piece(kPiece, ' ');
  if (base == MAP_FAILED || fd < 0 || write(fd, piece.data(), kPiece) != ssize_t{kPiece}) return {};
  for (size_t at = 0; at < size; at += kPiece) {
    if (mmap(static_cast<char*>(base) + at, kPiece, PROT_READ, MAP_SHARED | MAP_FIXED, fd, 0) ==
        MAP_FAILED)
      return {};
  }
  close(fd);
  return {static_cast<const char*>(base), length};
}

struct RealCase {
  const char* label;
  std::string text;
  size_t errorPos;
  long double value;  // checked only when errorPos == 0
};

TEST(ParseReal, Table) {
  const RealCase cases[] = {
      {"leading spaces", "   1.5", 0, 1.5L},
      {"trailing space", "1.5 ", 4, 0},
      {"comma", "1,5", 2, 0},
      {"plus, empty integer part", "+.5", 0, 0.5L},
      {"exponent", "2.5E-3", 0, 2.5e-3L},
      {"beyond double range", "1e400", 0, 1e400L},
      {"exponent without digits", "1E", 3, 0},
      {"exponent sign without digits", "1e+", 4, 0},
      {"exponent followed by letter", "1ex", 3, 0},
      {"lone point", ".", 0, 0},
      {"exponent after empty mantissa", "E5", 0, 0},
      {"trailing point", "5.", 0, 5},
      {"sign alone", "-", 2, 0},
      {"empty", "", 1, 0},
      {"spaces only", "   ", 4, 0},
      {"tab is not skipped", "\t1", 1, 0},
      {"second point", "1.2.3", 4, 0},
      {"thousands separator", "1'000", 2, 0},
      {"letter", "12a", 3, 0},
      {"negative", "-42.25", 0, -42.25L},
      {"percentile bound", "0.000001", 0, 0.000001L},
      {"percentile bound", "0.999999", 0, 0.999999L},
      {"many fraction digits", "0.97500000000000000000000000000000000001", 0, 0.975L},
      {"huge negative power", "1e-6000", 0, 0},
      {"NUL byte", std::string("1\0", 2), 2, 0},
      {"invalid UTF-8", "1\xff", 2, 0},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseReal(c.text);
    EXPECT_EQ(parsed.errorPos, c.errorPos) << c.label << " [" << c.text << "]";
    if (c.errorPos == 0 && parsed.errorPos == 0) {
      // Exact for short mantissas and small powers; within a few units in the
      // last place where the digits or the power need several roundings.
      EXPECT_LE(std::fabs(parsed.value - c.value), std::fabs(c.value) * 4e-19L) << c.label;
      if (c.text.size() < 12 && c.text.find_first_of("eE") == std::string::npos) {
        EXPECT_EQ(parsed.value, c.value) << c.label;
      }
    }
  }
}

TEST(ParseReal, PowersOfTenAtTheLimits) {
  EXPECT_EQ(ParseReal("1e6000").value, HUGE_VALL);
  EXPECT_EQ(ParseReal("-1e5120").value, -HUGE_VALL);
  EXPECT_EQ(ParseReal("1e5119e").errorPos, 7);
  // Below the power limit the result must fit the extended range.
  EXPECT_THROW(ParseReal("1e5000"), Distr::EOverflow);
  EXPECT_NO_THROW(ParseReal("1e4932"));
  // A denormal is no error.
  const long double tiny = ParseReal("1e-4940").value;
  EXPECT_GT(tiny, 0.0L);
  EXPECT_LT(tiny, 1e-4930L);
}

TEST(ParseReal, DoesNotDependOnTheLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
    EXPECT_EQ(ParseReal("1.5").value, 1.5L);
    EXPECT_NE(ParseReal("1,5").errorPos, 0);
  }
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(ParseReal, LongTextsEndPromptly) {
  // 10^6 digits: the accumulated mantissa leaves the extended range.
  EXPECT_THROW(ParseReal(std::string(1000000, '7')), Distr::EOverflow);
  // ...unless the power takes the value to infinity or 0 anyway.
  EXPECT_EQ(ParseReal("0." + std::string(1000000, '0') + "1").value, 0.0L);
  EXPECT_EQ(ParseReal(std::string(1000000, ' ')).errorPos, 1000001);
  EXPECT_EQ(ParseReal(std::string(999999, '1') + "x").errorPos, 1000000);
  EXPECT_EQ(ParseReal("1e" + std::string(100000, '9')).value, HUGE_VALL);
}

// A field of blanks fails just past its end however long it is: the position
// 2^31 of 2^31 - 1 blanks overflowed an int, and the position of 2^32 - 1
// blanks wrapped to 0, "valid".  (The parsers share the position; each scan
// of gigabytes takes seconds, so each parser gets one length.)
TEST(FieldParsing, PositionsBeyondTheIntRange) {
  const size_t twoTo31 = size_t{1} << 31;
  const std::string_view blanks = BlankText(2 * twoTo31 - 1);
  ASSERT_FALSE(blanks.empty()) << "cannot map the text";
  EXPECT_EQ(ParseReal(blanks).errorPos, 2 * twoTo31);
  EXPECT_EQ(ParseInteger(blanks.substr(0, twoTo31 - 1)).errorPos, twoTo31);
}

struct IntegerCase {
  const char* label;
  std::string text;
  size_t errorPos;
  int32_t value;  // also checked on failure: it is the value the rule yields
};

TEST(ParseInteger, Table) {
  const IntegerCase cases[] = {
      {"leading spaces", "  -7", 0, -7},
      {"dollar hex", "$1F", 0, 31},
      {"0x hex", "0x10", 0, 16},
      {"X hex", "XfF", 0, 255},
      {"x hex", "x7fffffff", 0, 2147483647},
      {"hex pattern -1", "$FFFFFFFF", 0, -1},
      {"hex pattern min", "$80000000", 0, INT32_MIN},
      {"negated hex", "-$10", 0, -16},
      {"leading zeros in hex do not count", "$000000001", 0, 1},
      {"nine significant hex digits", "$123456789", 10, 0x12345678},
      {"largest", "2147483647", 0, 2147483647},
      {"smallest", "-2147483648", 0, INT32_MIN},
      {"one beyond, failing at the end", "2147483648", 11, INT32_MIN},
      {"one below, failing at the end", "-2147483649", 12, 2147483647},
      {"a digit after 214748365", "21474836500", 10, 214748365},
      {"leading zeros", "007", 0, 7},
      {"decimal point", "1.0", 2, 1},
      {"exponent", "1e3", 2, 1},
      {"trailing space", "3 ", 2, 3},
      {"empty", "", 1, 0},
      {"sign alone", "+", 2, 0},
      {"prefix alone", "$", 2, 0},
      {"0x alone", "0x", 3, 0},
      {"42 then letter", "42x", 3, 42},
      {"minus not applied on a bad character", "-42x", 4, 42},
      {"bad hex digit", "$1G", 3, 1},
      {"tab", "\t5", 1, 0},
      {"high byte", "5\xc3\xa9", 2, 5},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseInteger(c.text);
    EXPECT_EQ(parsed.errorPos, c.errorPos) << c.label << " [" << c.text << "]";
    EXPECT_EQ(parsed.value, c.value) << c.label << " [" << c.text << "]";
  }
}

TEST(ParseInteger, LongTextsEndPromptly) {
  EXPECT_EQ(ParseInteger(std::string(1000000, '9')).errorPos, 10);
  EXPECT_EQ(ParseInteger(std::string(1000000, '0')).errorPos, 0);
  EXPECT_EQ(ParseInteger("$" + std::string(1000000, '0') + "F").value, 15);
}

}  // namespace
