// 1 - p on decimal digits: with p = D * 10^-n (D the digits, n the places
// after the point), 1 - p = (10^n - D) * 10^-n, a subtraction of digit
// strings; the result's text is read by strtold, which rounds once.
#include "calculator/DecimalComplement.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace calculator {

namespace {

// More places than this: 1 - p is within a rounding of 1 (or p of 1), and
// the digits are not worth the work.
constexpr long long kMostPlaces = 6000;

// 10^places - digits, for digits of at most places + 1 characters whose
// value is at most 10^places; leading zeros kept.
std::string TenPowerMinus(const std::string& digits, long long places) {
  std::string result(static_cast<std::size_t>(places) + 1, '0');
  result[0] = '1';
  int borrow = 0;
  for (std::size_t i = 0; i < result.size(); ++i) {
    const std::size_t r = result.size() - 1 - i;
    const int d = i < digits.size() ? digits[digits.size() - 1 - i] - '0' : 0;
    int v = (result[r] - '0') - d - borrow;
    borrow = v < 0;
    if (borrow) v += 10;
    result[r] = static_cast<char>('0' + v);
  }
  return result;
}

}  // namespace

std::optional<long double> DecimalComplement(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // The digits and the places after the point, then the exponent.
  std::string digits;
  long long places = 0;
  bool point = false, any = false;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      any = true;
      if (!(digits.empty() && c == '0')) digits += c;
      if (point) ++places;
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
    if (exponent.empty() || *end != '\0' || e > kMostPlaces || e < -kMostPlaces)
      return std::nullopt;
    places -= e;
  }
  if (digits.empty()) return 1;  // p = 0
  // The value D * 10^-places: at most 1 needs D <= 10^places.
  if (places < 0 || places > kMostPlaces) return std::nullopt;
  if (static_cast<long long>(digits.size()) > places + 1) return std::nullopt;
  if (static_cast<long long>(digits.size()) == places + 1 &&
      digits != "1" + std::string(static_cast<std::size_t>(places), '0'))
    return std::nullopt;
  const std::string rest = TenPowerMinus(digits, places);
  const std::string decimal = rest + "e-" + std::to_string(places);
  return std::strtold(decimal.c_str(), nullptr);
}

}  // namespace calculator
