// Parsing of the texts of the edit fields.
//
// A field's whole text is read as an extended real or as a signed 32-bit
// integer.  The outcome is a value and an error position: 0 when the text is
// valid, otherwise the 1-based position of the first character that does not
// fit (the length plus one when the text ends too early, 1 for an empty
// text).  Positions are counted in size_t like the text's length, so a field
// of any length that memory can hold keeps its exact position: a count of
// 2^32 - 1 blanks fails at 2^32, and never wraps to a "valid" 0; a real text
// longer than 2^62 characters (more than any memory holds) fails at 2^62 + 1.
// The decimal separator is always "." whatever the locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace calculator {

struct RealParse {
  long double value;
  std::size_t errorPos;  // 0: valid
  bool Valid() const { return errorPos == 0; }
};

struct IntegerParse {
  int32_t value;         // on failure: the number formed by the digits read before the fault
  std::size_t errorPos;  // 0: valid
  bool Valid() const { return errorPos == 0; }
};

// [spaces] [+|-] [digits] [. [digits]] [(E|e) [+|-] digits].  Raises
// Distr::EOverflow for a finite power of ten whose result exceeds the
// extended range; a power of 5120 or more gives infinity, -5120 or less 0.
RealParse ParseReal(std::string_view text);

// [spaces] [+|-] (decimal digits | ($|x|X|0x|0X) up to 8 significant hex digits).
// A hexadecimal number is a 32-bit two's-complement pattern ($FFFFFFFF is -1).
IntegerParse ParseInteger(std::string_view text);

}  // namespace calculator
