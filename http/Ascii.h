// Case and blanks of protocol text, by the ASCII rules alone.
//
// Header names, tokens, cookie attributes and host names compare without
// regard to case only for the letters A to Z (RFC 9110 section 5.1, RFC 6265
// section 5.1.3).  std::tolower would follow the program's locale, which the
// window sets: under a Turkish single-byte locale "I" lowers to a dotless i,
// and "TRANSFER-ENCODING" would no longer name Transfer-Encoding.  Blanks are
// the space and the horizontal tab (OWS, RFC 9110 section 5.6.3).
#pragma once

#include <string>
#include <string_view>

namespace http {

constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// text without the blanks at either end.
constexpr std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace http
