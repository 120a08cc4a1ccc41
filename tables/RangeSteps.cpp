#include "tables/RangeSteps.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "calculator/FieldParsing.h"

namespace tables {

namespace {

// Significant digits a coefficient keeps: every 18-digit number fits int64.
constexpr std::size_t kCoefficientDigits = 18;
// Beyond this power of ten ParseReal reads infinity or 0 whatever the digits.
constexpr int64_t kPowerLimit = 6000;
// Exponent digits past this cannot change the outcome (as in ParseReal).
constexpr int64_t kExponentCeiling = 1'000'000'000;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// c * 10^n, or none when it leaves int64.
std::optional<int64_t> Scaled(int64_t c, int64_t n) {
  for (; n > 0; --n)
    if (__builtin_mul_overflow(c, 10, &c)) return std::nullopt;
  return c;
}

std::string Digits(uint64_t magnitude) {
  return std::to_string(magnitude);
}

}  // namespace

std::optional<Decimal> ParseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::string digits;
  int64_t fractionDigits = 0;
  for (bool point = false; i < text.size(); ++i) {
    if (text[i] == '.' && !point) {
      point = true;
    } else if (IsDigit(text[i])) {
      digits += text[i];
      fractionDigits += point ? 1 : 0;
    } else {
      break;
    }
  }
  int64_t exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    for (; i < text.size() && IsDigit(text[i]); ++i)
      if (exponent < kExponentCeiling) exponent = exponent * 10 + (text[i] - '0');
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return std::nullopt;

  // The value is digits * 10^(exponent - fractionDigits); leading zeros carry
  // nothing and trailing zeros move into the power.
  int64_t power = exponent - fractionDigits;
  const std::size_t firstSignificant = digits.find_first_not_of('0');
  if (firstSignificant == std::string::npos) return Decimal{0, 0};
  digits.erase(0, firstSignificant);
  while (digits.back() == '0') {
    digits.pop_back();
    ++power;
  }
  if (digits.size() > kCoefficientDigits) return std::nullopt;
  if (power + static_cast<int64_t>(digits.size()) > kPowerLimit || power < -kPowerLimit)
    return std::nullopt;
  const int64_t magnitude = std::stoll(digits);
  return Decimal{negative ? -magnitude : magnitude, power};
}

std::string DecimalText(Decimal d) {
  if (d.coefficient == 0) return "0";
  while (d.coefficient % 10 == 0) {
    d.coefficient /= 10;
    ++d.exponent;
  }
  const bool negative = d.coefficient < 0;
  // The magnitude as unsigned: -INT64_MIN has no int64 form.
  const uint64_t magnitude =
      negative ? uint64_t{0} - static_cast<uint64_t>(d.coefficient) : d.coefficient;
  const std::string digits = Digits(magnitude);
  const int64_t length = static_cast<int64_t>(digits.size());
  std::string text = negative ? "-" : "";
  const int64_t point = length + d.exponent;  // digits before the decimal point
  if (d.exponent >= 0 && d.exponent <= kPlainZeros) {
    text += digits + std::string(d.exponent, '0');
  } else if (d.exponent < 0 && point > 0) {
    text += digits.substr(0, point) + "." + digits.substr(point);
  } else if (d.exponent < 0 && -point <= kPlainZeros) {
    text += "0." + std::string(-point, '0') + digits;
  } else {
    text += digits + "E" + std::to_string(d.exponent);
  }
  return text;
}

RangeSteps RangeSteps::Of(std::string_view from, std::string_view to, std::string_view step) {
  RangeSteps steps;
  const auto f = ParseDecimal(from), t = ParseDecimal(to), s = ParseDecimal(step);
  if (f && t && s) {
    const int64_t e = std::min({f->exponent, t->exponent, s->exponent});
    const auto first = Scaled(f->coefficient, f->exponent - e);
    const auto last = Scaled(t->coefficient, t->exponent - e);
    const auto by = Scaled(s->coefficient, s->exponent - e);
    int64_t span = 0;
    if (first && last && by && *by > 0 && !__builtin_sub_overflow(*last, *first, &span) &&
        span >= 0) {
      const uint64_t count = static_cast<uint64_t>(span / *by) + 1;
      steps.count_ = static_cast<std::size_t>(std::min<uint64_t>(count, kCountCeiling));
      steps.first_ = *first;
      steps.step_ = *by;
      steps.exponent_ = e;
      return steps;
    }
  }
  // Binary steps: the texts hold more digits than a coefficient.
  steps.decimal_ = false;
  steps.from_ = calculator::ParseReal(from).value;
  steps.by_ = calculator::ParseReal(step).value;
  const long double last = calculator::ParseReal(to).value;
  const long double count = std::floor((last - steps.from_) / steps.by_ + kBinarySlack) + 1;
  steps.count_ = std::isfinite(count) && count < static_cast<long double>(kCountCeiling)
                     ? static_cast<std::size_t>(std::max(count, 0.0L))
                     : kCountCeiling;
  return steps;
}

RangeSteps RangeSteps::Whole(int64_t from, int64_t to, int64_t step) {
  RangeSteps steps;
  steps.first_ = from;
  steps.step_ = step;
  steps.count_ = to < from || step <= 0 ? 0 : static_cast<std::size_t>((to - from) / step + 1);
  return steps;
}

std::string RangeSteps::Text(std::size_t row) const {
  if (decimal_) return DecimalText({first_ + static_cast<int64_t>(row) * step_, exponent_});
  const long double x = from_ + static_cast<long double>(row) * by_;
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
  return std::string(buffer, end);
}

}  // namespace tables
