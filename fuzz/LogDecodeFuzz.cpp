// The kept log's bytes as the window reads them (files::DecodeText), on any
// bytes: no crash, and
//  - a faithful text writes back to exactly the bytes, and holds no CR;
//  - the text never holds a CR;
//  - decoding is stable: the text, written as UTF-8 and read again, is
//    faithful and the same text (what the window saves, it reads back as
//    saved).
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "files/WholeFile.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const files::DecodedText decoded = files::DecodeText(bytes);
  if (decoded.faithful) {
    FUZZ_CHECK(decoded.text.toUtf8() == bytes, "a faithful text of %zu bytes writes back otherwise",
               size);
  }
  FUZZ_CHECK(!decoded.text.contains(QLatin1Char('\r')), "the text holds a CR");
  const files::DecodedText again = files::DecodeText(decoded.text.toUtf8());
  FUZZ_CHECK(again.faithful && again.text == decoded.text, "the saved text reads back otherwise");
  return 0;
}
