#include "window/Obfuscated.h"

namespace window {

namespace {

// Under the reserved .example domain: the address names no one's server.
constexpr TObfuscated<kHomePageLength> kHomePage =
    Obfuscate("http://www.probex.example/", kHomePageShift);
constexpr auto kNotice = Obfuscate("Copyright (c) 2026 The Probex authors", kNoticeShift);

}  // namespace

QString Rebuild(std::span<const unsigned char> codes, int shift) {
  QString text;
  text.reserve(static_cast<qsizetype>(codes.size()));
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const int lowered = codes[i] - static_cast<int>(i + 1) - shift;
    text += QChar(static_cast<char16_t>(lowered));
  }
  return text;
}

const TObfuscated<kHomePageLength>& StoredHomePage() {
  return kHomePage;
}

QString HomePageAddress() {
  return Rebuild(kHomePage);
}

std::span<const unsigned char> StoredNotice() {
  return kNotice.Codes;
}

QString AboutNotice() {
  return Rebuild(kNotice);
}

}  // namespace window
