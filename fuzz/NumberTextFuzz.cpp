// The number texts on any 10-byte extended value (NaN, infinities, denormals,
// and the encodings the x87 unit calls unsupported: pseudo-denormals,
// unnormals, pseudo-NaNs and pseudo-infinities), with any minimum width and
// number of decimals: no crash, no hang, and the text has its shape:
//  - at least the width, padded with blanks on the left only;
//  - "Nan", "+Inf" or "-Inf" for the special values;
//  - the fixed form: [-] digits [. exactly d digits], at most 18 (19) digits
//    other than 0 counted from the first; a "-" exactly for a set sign bit;
//  - the scientific form: sign character (blank or "-"), digit, ".", n - 1
//    digits, "E", sign, four exponent digits;
//  - a fixed text of a finite value below 10^12 reads back within half a unit
//    of its last decimal.
// Bytes 0-9 are the value (little-endian, as in memory), byte 10 the width
// (0 to 63) and byte 11 the decimals (-1 to 24); the four texts of the log
// lines are always written too.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "calculator/FieldParsing.h"
#include "calculator/NumberText.h"
#include "fuzz/FuzzCheck.h"

namespace {

bool AllDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

void CheckText(long double value, int width, int decimals) {
  const std::string text = calculator::RealText(value, width, decimals);
  FUZZ_CHECK(static_cast<int>(text.size()) >= width, "\"%s\" is narrower than %d", text.c_str(),
             width);
  if (std::isnan(value) || std::isinf(value)) {
    const std::string word = std::isnan(value) ? "Nan" : value > 0 ? "+Inf" : "-Inf";
    const size_t blanks = text.size() > word.size() ? text.size() - word.size() : 0;
    FUZZ_CHECK(text == std::string(blanks, ' ') + word, "\"%s\" for a special value", text.c_str());
    return;
  }
  const bool scientific = text.find('E') != std::string::npos;
  FUZZ_CHECK(!(decimals < 0 && !scientific), "\"%s\": no exponent in the scientific form",
             text.c_str());
  // The text proper, after the blanks that pad it to the width (a scientific
  // text begins with its own sign character, a blank for a positive value).
  const int n = width - 8 < 2 ? 2 : width - 8 > 18 ? 18 : width - 8;
  const size_t firstNonBlank = text.find_first_not_of(' ');
  FUZZ_CHECK(firstNonBlank != std::string::npos, "a text of blanks only");
  const size_t coreStart =
      scientific ? (text.size() >= static_cast<size_t>(n + 8) ? text.size() - (n + 8) : 0)
                 : firstNonBlank;
  const std::string body = text.substr(coreStart);
  FUZZ_CHECK(firstNonBlank >= coreStart, "\"%s\": more than blanks before the number",
             text.c_str());
  FUZZ_CHECK(coreStart == 0 || static_cast<int>(text.size()) == width,
             "\"%s\": padded beyond the width %d", text.c_str(), width);
  if (!scientific) {
    // [-] digits [. digits]
    std::string digits = body;
    const bool minus = !digits.empty() && digits[0] == '-';
    FUZZ_CHECK(minus == static_cast<bool>(std::signbit(value)), "\"%s\": sign", text.c_str());
    if (minus) digits.erase(0, 1);
    const size_t point = digits.find('.');
    const std::string whole = digits.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
    FUZZ_CHECK(AllDigits(whole), "\"%s\": integer part", text.c_str());
    FUZZ_CHECK(decimals == 0
                   ? point == std::string::npos
                   : (point != std::string::npos && static_cast<int>(fraction.size()) == decimals &&
                      (decimals == 0 || AllDigits(fraction))),
               "\"%s\": %d decimals", text.c_str(), decimals);
    FUZZ_CHECK(whole.size() == 1 || whole[0] != '0', "\"%s\": a leading zero", text.c_str());
    // Beyond the 18th (19th when it starts with 1) significant digit all are 0.
    const std::string all = whole + fraction;
    const size_t lead = all.find_first_not_of('0');
    if (lead != std::string::npos) {
      const size_t kept = all[lead] == '1' ? 19 : 18;
      if (all.size() > lead + kept) {
        FUZZ_CHECK(all.find_first_not_of('0', lead + kept) == std::string::npos,
                   "\"%s\": digits past the kept ones", text.c_str());
      }
    }
    if (std::fabs(value) < 1e12L && decimals <= 6) {
      const calculator::RealParse back = calculator::ParseReal(text);
      FUZZ_CHECK(back.Valid(), "\"%s\" does not read back", text.c_str());
      const long double half = 0.5L * std::pow(10.0L, -decimals);
      FUZZ_CHECK(std::fabs(back.value - value) <= half * 1.0000001L + std::fabs(value) * 1e-17L,
                 "%.21Lg written as \"%s\"", value, text.c_str());
    }
    return;
  }
  // (blank | -) digit . n - 1 digits E (+|-) dddd
  FUZZ_CHECK(static_cast<int>(body.size()) == n + 8, "\"%s\": %d digits expected", text.c_str(), n);
  FUZZ_CHECK(body[0] == (std::signbit(value) ? '-' : ' '), "\"%s\": sign", text.c_str());
  const size_t e = body.find('E');
  FUZZ_CHECK(e == static_cast<size_t>(n + 2), "\"%s\": where the E is", text.c_str());
  FUZZ_CHECK(body[2] == '.' && body[1] >= '0' && body[1] <= '9', "\"%s\": d.", text.c_str());
  FUZZ_CHECK(AllDigits(body.substr(3, e - 3)), "\"%s\": mantissa", text.c_str());
  FUZZ_CHECK(body.size() == e + 6 && (body[e + 1] == '+' || body[e + 1] == '-') &&
                 AllDigits(body.substr(e + 2)),
             "\"%s\": exponent", text.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 10) return 0;
  long double value = 0;
  std::memcpy(&value, data, 10);
  CheckText(value, 0, 6);    // Fixed-6
  CheckText(value, 0, 4);    // Fixed-4
  CheckText(value, 0, 0);    // Whole
  CheckText(value, 20, -1);  // Scientific-20
  if (size >= 12) {
    const int width = data[10] % 64;
    const int decimals = static_cast<int>(data[11] % 26) - 1;
    CheckText(value, width, decimals);
  }
  return 0;
}
