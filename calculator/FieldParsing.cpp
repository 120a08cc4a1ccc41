#include "calculator/FieldParsing.h"

#include <cmath>

#include "Distr/Errors.h"
#include "calculator/Pow10.h"

namespace calculator {

namespace {

// From this power of ten on a real text reads as infinity, and from its
// negative down as 0, whatever its digits.
constexpr int64_t kPowerLimit = 5120;
// Exponent digits beyond this magnitude cannot change the outcome.
constexpr int64_t kExponentCeiling = 1'000'000'000;
// The longest real text read: its count of fraction digits and the power of
// ten (exponent minus that count) stay far inside int64_t.  No memory holds
// such a text; a longer one fails at the first character past the limit.
constexpr size_t kLongestRealText = size_t{1} << 62;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The 1-based position of text[index].  index is at most the text's length,
// which is below SIZE_MAX, so the sum never wraps.
size_t Position(size_t index) {
  return index + 1;
}

// Skips the leading blanks (only the space character) and one optional sign;
// returns the index after them.
size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  return i;
}

}  // namespace

RealParse ParseReal(std::string_view text) {
  const size_t n = text.size();
  if (n > kLongestRealText) return {0, Position(kLongestRealText)};
  bool negative;
  size_t i = SkipBlanksAndSign(text, negative);
  if (i == n) return {0, Position(n)};

  // Syntax first; the digits are accumulated only once the power is known.
  const size_t mantissaStart = i;
  while (i < n && IsDigit(text[i])) ++i;
  int64_t fractionDigits = 0;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && IsDigit(text[i])) {
      ++i;
      ++fractionDigits;
    }
  }
  const size_t mantissaEnd = i;
  int64_t exponent = 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      ++i;
    }
    if (i == n) return {0, Position(n)};
    if (!IsDigit(text[i])) return {0, Position(i)};
    while (i < n && IsDigit(text[i])) {
      if (exponent < kExponentCeiling) exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    if (negativeExponent) exponent = -exponent;
  }
  if (i < n) return {0, Position(i)};

  const int64_t power = exponent - fractionDigits;
  long double value;
  if (power >= kPowerLimit) {
    value = HUGE_VALL;
  } else if (power <= -kPowerLimit) {
    value = 0;
  } else {
    value = 0;
    for (size_t j = mantissaStart; j < mantissaEnd; ++j) {
      if (text[j] == '.') continue;
      value = value * 10 + (text[j] - '0');
    }
    value = ScaleByPowerOfTen(value, power);
    if (std::isinf(value)) throw Distr::EOverflow();
  }
  if (negative) value = -value;
  return {value, 0};
}

IntegerParse ParseInteger(std::string_view text) {
  const size_t n = text.size();
  bool negative;
  size_t i = SkipBlanksAndSign(text, negative);
  bool hex = false;
  if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    i += 1;
  } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  uint32_t v = 0;  // the digits read so far, as a 32-bit pattern
  auto failAt = [&v](size_t index) {
    return IntegerParse{static_cast<int32_t>(v), Position(index)};
  };
  if (i == n) return failAt(n);

  if (hex) {
    int significant = 0;
    for (; i < n; ++i) {
      const int digit = HexValue(text[i]);
      if (digit < 0) return failAt(i);
      if (significant > 0 || digit != 0) {
        if (significant == 8) return failAt(i);
        ++significant;
      }
      v = v * 16 + static_cast<uint32_t>(digit);
    }
    return {static_cast<int32_t>(negative ? 0u - v : v), 0};
  }

  for (; i < n; ++i) {
    if (!IsDigit(text[i])) return failAt(i);
    if (v > 214748364u) return failAt(i);
    v = v * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  const uint32_t limit = negative ? 2147483648u : 2147483647u;
  const uint32_t signedPattern = negative ? 0u - v : v;
  return {static_cast<int32_t>(signedPattern), v > limit ? Position(n) : 0};
}

}  // namespace calculator
