// Decimal differences on digit strings: each text is read as s * D * 10^e
// (s its sign, D its digits as a whole number), the two are brought to the
// smaller power of ten and subtracted digit by digit, and the result's text
// is read by strtold, which rounds once.  The residual of a value read
// from a text subtracts the value's own digits (forty of them) likewise.
#include "calculator/DecimalComplement.h"

#include <algorithm>
#include <cctype>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace calculator {

namespace {

// Powers of ten further apart than this: the smaller number is below a
// rounding of the larger, and the digits are not worth the work.
constexpr long long kMostShift = 6000;

struct Decimal {
  bool negative = false;
  std::string digits;  // without leading zeros; empty for 0
  long long exponent = 0;
};

std::optional<Decimal> Read(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  Decimal d;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    d.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool point = false, any = false;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      any = true;
      if (!(d.digits.empty() && c == '0')) d.digits += c;
      if (point) --d.exponent;
    } else {
      break;
    }
  }
  if (!any) return std::nullopt;
  if (i < text.size()) {
    if (text[i] != 'e' && text[i] != 'E') return std::nullopt;
    const std::string exponent(text.substr(i + 1));
    char* end = nullptr;
    const long long e = std::strtoll(exponent.c_str(), &end, 10);
    if (exponent.empty() || *end != '\0' || e > kMostShift || e < -kMostShift) return std::nullopt;
    d.exponent += e;
  }
  return d;
}

// Whether digit string a (no leading zeros) is smaller than b.
bool Smaller(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// a - b for digit strings with a >= b.
std::string Minus(const std::string& a, const std::string& b) {
  std::string result = a;
  int borrow = 0;
  for (std::size_t i = 0; i < result.size(); ++i) {
    const std::size_t r = result.size() - 1 - i;
    const int d = i < b.size() ? b[b.size() - 1 - i] - '0' : 0;
    int v = (result[r] - '0') - d - borrow;
    borrow = v < 0;
    if (borrow) v += 10;
    result[r] = static_cast<char>('0' + v);
  }
  return result;
}

// a + b for digit strings.
std::string Plus(const std::string& a, const std::string& b) {
  std::string result;
  int carry = 0;
  for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
    const int x = i < a.size() ? a[a.size() - 1 - i] - '0' : 0;
    const int y = i < b.size() ? b[b.size() - 1 - i] - '0' : 0;
    const int v = x + y + carry;
    carry = v / 10;
    result += static_cast<char>('0' + v % 10);
  }
  std::reverse(result.begin(), result.end());
  return result;
}

// a - b exactly.
std::optional<Decimal> Subtract(Decimal a, Decimal b) {
  if (a.digits.empty()) a.exponent = b.exponent;
  if (b.digits.empty()) b.exponent = a.exponent;
  const long long e = std::min(a.exponent, b.exponent);
  if (std::max(a.exponent, b.exponent) - e > kMostShift) return std::nullopt;
  a.digits.append(static_cast<std::size_t>(a.exponent - e), '0');
  b.digits.append(static_cast<std::size_t>(b.exponent - e), '0');
  // a - b = a + (-b): a sum of magnitudes, or a difference with the sign of
  // the larger.
  bool negative;
  std::string digits;
  if (a.negative != b.negative) {
    negative = a.negative;
    digits = Plus(a.digits, b.digits);
  } else if (Smaller(a.digits, b.digits)) {
    negative = !a.negative;
    digits = Minus(b.digits, a.digits);
  } else {
    negative = a.negative;
    digits = Minus(a.digits, b.digits);
  }
  const std::size_t first = digits.find_first_not_of('0');
  digits.erase(0, first == std::string::npos ? digits.size() : first);
  return Decimal{negative, digits, e};
}

// a - b, rounded once.
std::optional<long double> Difference(const Decimal& a, const Decimal& b) {
  const std::optional<Decimal> exact = Subtract(a, b);
  if (!exact) return std::nullopt;
  const std::string text = (exact->negative ? "-" : "") +
                           (exact->digits.empty() ? "0" : exact->digits) + "e" +
                           std::to_string(exact->exponent);
  // Reading the text may raise the overflow or underflow flag, which the
  // log's computation after it would take for its own: the flags are kept.
  std::fenv_t flags;
  std::feholdexcept(&flags);
  const long double difference = std::strtold(text.c_str(), nullptr);
  std::fesetenv(&flags);
  if (!std::isfinite(difference)) return std::nullopt;
  return difference;
}

}  // namespace

std::optional<long double> DecimalComplement(std::string_view text) {
  const std::optional<Decimal> p = Read(text);
  if (!p || p->negative) return std::nullopt;
  const std::optional<long double> complement = Difference({false, "1", 0}, *p);
  if (!complement || *complement < 0) return std::nullopt;
  return complement;
}

std::optional<models::Ratio> DecimalRatio(std::string_view text) {
  const std::optional<Decimal> p = Read(text);
  if (!p || p->negative || !DecimalComplement(text)) return std::nullopt;
  models::Ratio ratio{p->digits.empty() ? "0" : p->digits, "1"};
  const std::size_t zeros = static_cast<std::size_t>(p->exponent < 0 ? -p->exponent : p->exponent);
  (p->exponent < 0 ? ratio.denominator : ratio.numerator).append(zeros, '0');
  return ratio;
}

std::optional<long double> DecimalDifference(std::string_view a, std::string_view b) {
  const std::optional<Decimal> x = Read(a), y = Read(b);
  if (!x || !y) return std::nullopt;
  return Difference(*x, *y);
}

std::optional<long double> DecimalResidual(std::string_view text, long double value,
                                           bool ofComplement) {
  std::optional<Decimal> typed = Read(text);
  if (!typed || !std::isfinite(value)) return std::nullopt;
  if (ofComplement) typed = Subtract({false, "1", 0}, *typed);
  // Forty digits of the binary value: its residual is some 1e-20 of it, so
  // the digits left out are below 1e-20 of the residual.
  char held[64];
  const auto written =
      std::to_chars(held, held + sizeof held, value, std::chars_format::scientific, 40);
  if (written.ec != std::errc()) return std::nullopt;
  const std::optional<Decimal> read = Read(std::string_view(held, written.ptr - held));
  if (!typed || !read) return std::nullopt;
  return Difference(*typed, *read);
}

}  // namespace calculator
