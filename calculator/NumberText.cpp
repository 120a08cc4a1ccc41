#include "calculator/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calculator/Pow10.h"

namespace calculator {

namespace {

constexpr int kPositions = 19;          // D = s * 10^17 has 19 decimal positions
constexpr int kKeptDigits = 18;         // digits after position 0 that are computed
constexpr int kLargestFixedPower = 35;  // k above this (m >= 2^120) goes scientific
constexpr int kExponentDigits = 4;

std::string PadLeft(std::string text, int width) {
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

// m = s * 10^k with s in [1, 16), by steps whose power of ten is estimated from
// the binary exponent e as floor(e * 19728 / 65536) (19728 / 65536 ~ log10 2).
void ScaleToMantissa(long double m, long double& s, int& k) {
  s = m;
  k = 0;
  if (m == 0) return;
  while (!(s >= 1 && s < 16)) {
    const int64_t e = std::ilogb(s);
    const int64_t product = e * 19728;
    const int64_t p = product >= 0 ? product / 65536 : -((-product + 65535) / 65536);
    s = ScaleByPowerOfTen(s, -p);
    k += static_cast<int>(p);
  }
}

// The 19 positions of D, kept to n digits after position 0: positions 1..n,
// rounded half up on position n + 1 (a carry may reach position 0); from
// n >= 18 on, positions 1..18 followed by zeros, without rounding.
std::string KeepDigits(const std::array<char, kPositions>& d, int n) {
  std::string kept(n + 1, '0');
  const int taken = std::min(n, kKeptDigits);
  for (int j = 0; j <= taken; ++j) kept[j] = d[j];
  if (n < kKeptDigits && d[n + 1] >= '5') {
    int j = n;
    while (kept[j] == '9') kept[j--] = '0';
    kept[j] = static_cast<char>(kept[j] + 1);
  }
  return kept;
}

}  // namespace

std::string IntegerText(int32_t value) {
  return std::to_string(value);
}

std::string RealText(long double value, int width, int decimals, ShortForm form) {
  if (std::isnan(value)) return PadLeft("Nan", width);
  if (std::isinf(value)) return PadLeft(value > 0 ? "+Inf" : "-Inf", width);

  const bool negative = std::signbit(value);
  const long double m = std::fabs(value);
  const bool fixedAsked = decimals >= 0;
  long double s = m;
  int k = 0;
  if (!fixedAsked || m >= 10) ScaleToMantissa(m, s, k);

  const long double scaled = s * 1e17L;
  const long long whole = std::llrint(scaled);  // to nearest, ties to even
  std::array<char, kPositions> d;
  long long rest = whole;
  for (int j = kPositions - 1; j >= 0; --j) {
    d[j] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }

  if (fixedAsked && k <= kLargestFixedPower) {
    const int n = k + 1 + decimals;
    const std::string kept = KeepDigits(d, n);
    std::string text = negative ? "-" : "";
    if (kept[0] == '1') text += '1';
    text.append(kept, 1, k + 1);
    if (decimals > 0) {
      text += '.';
      text.append(kept, k + 2, decimals);
    }
    return PadLeft(text, width);
  }

  const int n = std::clamp(width - 8, 2, kKeptDigits);
  // Rounded, a mantissa of 10 or more has its n digits from position 0 on.
  const bool fromZero = form == ShortForm::Rounded && d[0] == '1';
  const std::string kept = KeepDigits(d, fromZero ? n - 1 : n);
  std::string digits;
  int exponent;
  if (fromZero || kept[0] == '1') {
    digits = kept.substr(0, n);
    exponent = k + 1;
  } else {
    digits = kept.substr(1, n);
    exponent = k;
  }
  std::string text;
  text += negative ? '-' : ' ';
  text += digits[0];
  text += '.';
  text.append(digits, 1, std::string::npos);
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
  text += std::string(std::max(0, kExponentDigits - static_cast<int>(magnitude.size())), '0');
  text += magnitude;
  return PadLeft(text, width);
}

std::string Fixed6Text(long double value, ShortForm form) {
  return RealText(value, 0, 6, form);
}
std::string ProbabilityText(long double value) {
  std::string text = Fixed6Text(value);
  if (text == "-0.000000") text.erase(0, 1);
  return text;
}

std::string Fixed4Text(long double value) {
  return RealText(value, 0, 4);
}
std::string WholeText(long double value) {
  return RealText(value, 0, 0);
}
std::string Scientific20Text(long double value) {
  return RealText(value, 20, -1);
}

}  // namespace calculator
