// Texts kept in the program in a disguised form and rebuilt when shown: the
// home-page address and the notice of the about box.
//
// Character i (counted from 1) is stored with its code raised by i + shift;
// rebuilding lowers each stored code by the same amount.  The disguise is
// made by the compiler (Obfuscate is consteval), so the executable holds only
// the stored codes, never the plain text.
#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <span>

namespace window {

// The home page: 26 characters, stored with shift 7.
inline constexpr int kHomePageShift = 7;
inline constexpr std::size_t kHomePageLength = 26;
// The notice of the about box, stored with shift 3.
inline constexpr int kNoticeShift = 3;

template <std::size_t Length>
struct TObfuscated {
  std::array<unsigned char, Length> Codes;
  int Shift;
};

// The stored form of `text` (a string literal of 7-bit characters).  A code
// that would not fit in a byte stops the compilation.
template <std::size_t Size>
consteval TObfuscated<Size - 1> Obfuscate(const char (&text)[Size], int shift) {
  TObfuscated<Size - 1> stored{{}, shift};
  for (std::size_t i = 0; i + 1 < Size; ++i) {
    const int code = static_cast<unsigned char>(text[i]);
    const int raised = code + static_cast<int>(i + 1) + shift;
    if (code > 127 || raised > 255) throw "character code out of the stored range";
    stored.Codes[i] = static_cast<unsigned char>(raised);
  }
  return stored;
}

// Rebuilds the text from its stored codes, one character after the other.
QString Rebuild(std::span<const unsigned char> codes, int shift);

template <std::size_t Length>
QString Rebuild(const TObfuscated<Length>& stored) {
  return Rebuild(std::span<const unsigned char>(stored.Codes), stored.Shift);
}

// The stored texts and their rebuilt forms.
const TObfuscated<kHomePageLength>& StoredHomePage();
QString HomePageAddress();
std::span<const unsigned char> StoredNotice();
QString AboutNotice();

}  // namespace window
