#include "cli/JsonNumber.h"

#include <cmath>
#include <cstdint>

namespace cli {

namespace {

constexpr int kDigits = 17;
constexpr int kLargestExactPower = 27;  // 5^27 < 2^64: 10^n is exact up to here
constexpr long double kLowestScaled = 1e16L;  // 10^(kDigits - 1)
constexpr long double kScaledLimit = 1e17L;   // 10^kDigits
constexpr int kFirstScientificExponent = 17;
constexpr int kLastScientificNegative = -6;

long double ExactPower10(int n) {
  long double p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

// a * 10^n, in at most two roundings for moderate n; powers past the exact
// ones in two halves, so that neither factor overflows for subnormal a.
long double Scale10(long double a, int n) {
  if (n >= 0 && n <= kLargestExactPower) return a * ExactPower10(n);
  if (n < 0 && -n <= kLargestExactPower) return a / ExactPower10(-n);
  const int half = n / 2;
  return a * std::pow(10.0L, static_cast<long double>(half)) *
         std::pow(10.0L, static_cast<long double>(n - half));
}

}  // namespace

std::string JsonNumber(long double value) {
  if (!std::isfinite(value)) return "null";
  if (value == 0) return "0";
  std::string text = value < 0 ? "-" : "";
  const long double a = std::fabs(value);

  int exponent = static_cast<int>(std::floor(std::log10(a)));
  long double scaled = Scale10(a, kDigits - 1 - exponent);
  // log10 may be one off at the boundaries of a decade.
  if (scaled >= kScaledLimit) scaled = Scale10(a, kDigits - 1 - ++exponent);
  if (scaled < kLowestScaled) scaled = Scale10(a, kDigits - 1 - --exponent);
  uint64_t digits = static_cast<uint64_t>(std::llround(scaled));
  if (digits >= static_cast<uint64_t>(kScaledLimit)) {  // 99999999999999999.5 rounds up
    digits /= 10;
    ++exponent;
  }
  std::string d = std::to_string(digits);  // kDigits digits
  d.erase(d.find_last_not_of('0') + 1);    // at least the first digit stays

  if (exponent >= kFirstScientificExponent || exponent <= kLastScientificNegative) {
    text += d.substr(0, 1);
    if (d.size() > 1) text += "." + d.substr(1);
    return text + "e" + (exponent < 0 ? "-" : "+") + std::to_string(std::abs(exponent));
  }
  if (exponent < 0) return text + "0." + std::string(-exponent - 1, '0') + d;
  const size_t whole = static_cast<size_t>(exponent) + 1;
  if (d.size() <= whole) return text + d + std::string(whole - d.size(), '0');
  return text + d.substr(0, whole) + "." + d.substr(whole);
}

}  // namespace cli
