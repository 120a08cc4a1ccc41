// Real and integer field parsing on any bytes: no crash, and
//  - the error position lies in 0 .. length + 1;
//  - a fault at a character of the text stays where it is when more text
//    follows (the parsers read from left to right);
//  - a valid text reads the same after leading blanks, and a blank after it is
//    a fault at length + 1;
//  - a valid real of at most 19 significant digits and a power of ten within
//    27 is correctly rounded, so it equals strtold's reading bit for bit; its
//    Fixed-6 text reads back within half a unit of the sixth decimal;
//  - a valid integer's Integer text reads back to the same integer, and a
//    plain decimal one equals strtoll's reading.
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "Distr/Errors.h"
#include "calculator/FieldParsing.h"
#include "calculator/NumberText.h"
#include "fuzz/FuzzCheck.h"

namespace {

using calculator::ParseInteger;
using calculator::ParseReal;

bool SameBits(long double a, long double b) {
  return std::memcmp(&a, &b, 10) == 0;
}

// The reading of a valid real text as sign, significant digits and power of
// ten, when it has a digit at all.
bool Decompose(std::string_view text, bool& negative, std::string& digits, int64_t& power) {
  size_t i = 0;
  while (text[i] == ' ') ++i;
  negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  digits.clear();
  power = 0;
  bool anyDigit = false;
  bool afterPoint = false;
  for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
    if (text[i] == '.') {
      afterPoint = true;
      continue;
    }
    anyDigit = true;
    if (!digits.empty() || text[i] != '0') digits += text[i];
    if (afterPoint) --power;
  }
  if (i < text.size()) {
    const int64_t exponent = std::strtoll(std::string(text.substr(i + 1)).c_str(), nullptr, 10);
    if (exponent > 100000 || exponent < -100000) return false;
    power += exponent;
  }
  return anyDigit;
}

void CheckReal(std::string_view text) {
  calculator::RealParse parsed;
  try {
    parsed = ParseReal(text);
  } catch (const Distr::EOverflow&) {
    return;  // a finite power of ten beyond the extended range: documented
  }
  const size_t length = text.size();
  FUZZ_CHECK(parsed.errorPos <= length + 1, "errorPos %zu", parsed.errorPos);
  const calculator::RealParse again = ParseReal(text);
  FUZZ_CHECK(
      again.errorPos == parsed.errorPos && (!parsed.Valid() || SameBits(again.value, parsed.value)),
      "a second reading differs");
  if (!parsed.Valid()) {
    if (parsed.errorPos <= length) {
      FUZZ_CHECK(ParseReal(std::string(text) + "0").errorPos == parsed.errorPos,
                 "the fault moved when text was appended");
    }
    return;
  }
  const calculator::RealParse blanks = ParseReal("  " + std::string(text));
  FUZZ_CHECK(blanks.Valid() && SameBits(blanks.value, parsed.value), "leading blanks changed it");
  FUZZ_CHECK(ParseReal(std::string(text) + " ").errorPos == length + 1, "a trailing blank");

  bool negative;
  std::string digits;
  int64_t power;
  if (Decompose(text, negative, digits, power) && digits.size() <= 19 && power >= -27 &&
      power <= 27) {
    const std::string plain =
        (negative ? "-" : "") + (digits.empty() ? "0" : digits) + "e" + std::to_string(power);
    const long double reference = std::strtold(plain.c_str(), nullptr);
    FUZZ_CHECK(SameBits(reference, parsed.value), "%s reads %.21Lg, strtold %.21Lg", plain.c_str(),
               parsed.value, reference);
  }
  const long double v = parsed.value;
  if (std::isfinite(v) && std::fabs(v) < 1e12L) {
    const std::string fixed = calculator::Fixed6Text(v);
    const calculator::RealParse back = ParseReal(fixed);
    FUZZ_CHECK(back.Valid(), "Fixed-6 text %s does not read back", fixed.c_str());
    FUZZ_CHECK(std::fabs(back.value - v) <= 5.0000001e-7L + std::fabs(v) * 1e-17L,
               "%.21Lg prints as %s", v, fixed.c_str());
  }
}

void CheckInteger(std::string_view text) {
  const calculator::IntegerParse parsed = ParseInteger(text);
  const size_t length = text.size();
  FUZZ_CHECK(parsed.errorPos <= length + 1, "errorPos %zu", parsed.errorPos);
  if (!parsed.Valid()) {
    if (parsed.errorPos <= length) {
      FUZZ_CHECK(ParseInteger(std::string(text) + "0").errorPos == parsed.errorPos,
                 "the fault moved when text was appended");
    }
    return;
  }
  const std::string written = calculator::IntegerText(parsed.value);
  const calculator::IntegerParse back = ParseInteger(written);
  FUZZ_CHECK(back.Valid() && back.value == parsed.value, "%s does not read back", written.c_str());
  const calculator::IntegerParse blanks = ParseInteger("  " + std::string(text));
  FUZZ_CHECK(blanks.Valid() && blanks.value == parsed.value, "leading blanks changed it");
  FUZZ_CHECK(ParseInteger(std::string(text) + " ").errorPos == length + 1, "a trailing blank");

  // A plain decimal (no hexadecimal prefix) against strtoll.
  const size_t start = text.find_first_not_of(' ');
  std::string_view number = text.substr(start);
  if (!number.empty() && (number[0] == '+' || number[0] == '-')) number.remove_prefix(1);
  if (number.find_first_not_of("0123456789") == std::string_view::npos) {
    const long long reference = std::strtoll(std::string(text.substr(start)).c_str(), nullptr, 10);
    FUZZ_CHECK(reference == parsed.value, "%lld read as %" PRId32, reference, parsed.value);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckReal(text);
  CheckInteger(text);
  return 0;
}
