#include "cli/JsonNumber.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace cli {

namespace {

constexpr int kDigits = 17;
constexpr int kLargestExactPower = 27;        // 5^27 < 2^64: 10^n is exact up to here
constexpr long double kLowestScaled = 1e16L;  // 10^(kDigits - 1)
constexpr long double kScaledLimit = 1e17L;   // 10^kDigits
constexpr int kFirstScientificExponent = 17;
constexpr int kLastScientificNegative = -6;
// floor(e log10(2)) as (e 78913) >> 18, within one for |e| < 16500; the
// arithmetic shift floors negative products too.
constexpr int kLog10Of2Scaled = 78913;
constexpr int kLog10Of2Shift = 18;
// Beyond this power the table's factor 10^(27q) would leave the normal range.
constexpr int kTabledPowerLimit = 4900;
constexpr int kStrides = kTabledPowerLimit / kLargestExactPower + 1;

// 10^n for 0 <= n <= 27, exactly.
constexpr std::array<long double, kLargestExactPower + 1> kExactPowers = [] {
  std::array<long double, kLargestExactPower + 1> p{};
  p[0] = 1;
  for (int i = 1; i <= kLargestExactPower; ++i) p[i] = p[i - 1] * 10;
  return p;
}();

// "00", "01", ..., "99": the digits of a number two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> t{};
  for (int i = 0; i < 100; ++i) {
    t[2 * i] = static_cast<char>('0' + i / 10);
    t[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return t;
}();

// 10^(27q) for -kStrides <= q <= kStrides, each correctly rounded by powl
// once, at the first call.
const std::array<long double, 2 * kStrides + 1>& StridePowers() {
  static const auto powers = [] {
    std::array<long double, 2 * kStrides + 1> p{};
    for (int q = -kStrides; q <= kStrides; ++q)
      p[q + kStrides] = std::pow(10.0L, static_cast<long double>(q * kLargestExactPower));
    return p;
  }();
  return powers;
}

// a * 10^n: within the exact powers one rounding; up to kTabledPowerLimit
// two, 10^n = 10^(27q) 10^r with 0 <= r < 27; beyond (only subnormal and
// the largest a get there) in two powl halves, so that neither factor
// overflows.
long double Scale10(long double a, int n) {
  if (n >= 0 && n <= kLargestExactPower) return a * kExactPowers[n];
  if (n < 0 && -n <= kLargestExactPower) return a / kExactPowers[-n];
  if (std::abs(n) <= kTabledPowerLimit) {
    const int q = (n >= 0 ? n : n - (kLargestExactPower - 1)) / kLargestExactPower;
    const int r = n - q * kLargestExactPower;
    return a * kExactPowers[r] * StridePowers()[q + kStrides];
  }
  const int half = n / 2;
  return a * std::pow(10.0L, static_cast<long double>(half)) *
         std::pow(10.0L, static_cast<long double>(n - half));
}

// ilogb(a) for finite a > 0, read from the extended format's exponent field
// (the library call costs a tenth of the whole text); subnormals, whose
// field is 0, through ilogb.
int BinaryExponent(long double a) {
  static_assert(std::numeric_limits<long double>::digits == 64, "80-bit extended format");
  unsigned char bytes[sizeof a];
  std::memcpy(bytes, &a, sizeof a);
  const int field = (bytes[9] & 0x7f) << 8 | bytes[8];
  return field == 0 ? std::ilogb(a) : field - 16383;
}

// The `count` (even) digits of v < 10^count into d, two at a time.
void DigitPairs(uint32_t v, char* d, int count) {
  for (int i = count - 2; i >= 0; i -= 2) {
    const uint32_t pair = v % 100;
    v /= 100;
    d[i] = kDigitPairs[2 * pair], d[i + 1] = kDigitPairs[2 * pair + 1];
  }
}

// Writes the decimal digits of v (v > 0) to `out`, answers the end.
char* Decimal(char* out, unsigned v) {
  char reversed[12];
  int n = 0;
  do reversed[n++] = static_cast<char>('0' + v % 10), v /= 10;
  while (v > 0);
  while (n > 0) *out++ = reversed[--n];
  return out;
}

char* Repeat(char* out, char c, int count) {
  for (int i = 0; i < count; ++i) *out++ = c;
  return out;
}

char* Copy(char* out, const char* from, int count) {
  for (int i = 0; i < count; ++i) *out++ = from[i];
  return out;
}

}  // namespace

void AppendJsonNumber(std::string& json, long double value) {
  if (!std::isfinite(value)) return void(json += "null");
  if (value == 0) return void(json += '0');
  const long double a = std::fabs(value);

  // The decimal exponent from the binary one, log10(2^e) = e log10(2): at
  // most one off, which the scaled value shows.
  const int binary = BinaryExponent(a);
  int exponent = (binary * kLog10Of2Scaled) >> kLog10Of2Shift;
  long double scaled = Scale10(a, kDigits - 1 - exponent);
  if (scaled >= kScaledLimit) scaled = Scale10(a, kDigits - 1 - ++exponent);
  if (scaled < kLowestScaled) scaled = Scale10(a, kDigits - 1 - --exponent);
  // To the nearest whole number, ties to even as printf rounds them; llrint
  // keeps the x87 rounding mode, where a conversion by truncation switches it.
  uint64_t whole = static_cast<uint64_t>(std::llrint(scaled));
  if (whole >= static_cast<uint64_t>(kScaledLimit)) {  // 99999999999999999.5 rounds up
    whole /= 10;
    ++exponent;
  }
  // 17 digits: the first, then two groups of eight in 32-bit arithmetic.
  char d[kDigits];
  constexpr uint64_t kEightDigits = 100000000;
  d[0] = static_cast<char>('0' + whole / (kEightDigits * kEightDigits));
  DigitPairs(static_cast<uint32_t>(whole / kEightDigits % kEightDigits), d + 1, 8);
  DigitPairs(static_cast<uint32_t>(whole % kEightDigits), d + 9, 8);
  int count = kDigits;  // without the trailing zeros; the first digit is not 0
  while (d[count - 1] == '0') --count;

  char text[48];  // at most 1 + 2 + 5 + 17 characters, or 1 + 18 + 6
  char* out = text;
  if (value < 0) *out++ = '-';
  if (exponent >= kFirstScientificExponent || exponent <= kLastScientificNegative) {
    *out++ = d[0];
    if (count > 1) *out++ = '.', out = Copy(out, d + 1, count - 1);
    *out++ = 'e';
    *out++ = exponent < 0 ? '-' : '+';
    out = Decimal(out, static_cast<unsigned>(std::abs(exponent)));
  } else if (exponent < 0) {
    *out++ = '0', *out++ = '.';
    out = Repeat(out, '0', -exponent - 1);
    out = Copy(out, d, count);
  } else if (count <= exponent + 1) {
    out = Copy(out, d, count);
    out = Repeat(out, '0', exponent + 1 - count);
  } else {
    out = Copy(out, d, exponent + 1);
    *out++ = '.';
    out = Copy(out, d + exponent + 1, count - exponent - 1);
  }
  json.append(text, out);
}

std::string JsonNumber(long double value) {
  std::string text;
  AppendJsonNumber(text, value);
  return text;
}

}  // namespace cli
