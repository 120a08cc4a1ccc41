#include "http/ChunkDecoder.h"

#include <limits>
#include <optional>

#include "http/Ascii.h"
#include "http/Errors.h"

namespace http {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// tchar (RFC 9110 section 5.6.2).
bool IsTokenChar(char c) {
  constexpr std::string_view kMarks = "!#$%&'*+-.^_`|~";
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         kMarks.find(c) != std::string_view::npos;
}

// qdtext and the escaped byte of a quoted-pair (RFC 9110 section 5.6.4):
// HTAB, SP, VCHAR and obs-text, that is every byte but the controls.
bool IsQuotedTextChar(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return c == '\t' || (byte >= 0x20 && byte != 0x7F);
}

void SkipBlanks(std::string_view& rest) {
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
}

// Moves past a token; false when none starts here.
bool SkipToken(std::string_view& rest) {
  std::size_t length = 0;
  while (length < rest.size() && IsTokenChar(rest[length])) ++length;
  rest.remove_prefix(length);
  return length > 0;
}

// Moves past quoted-string = DQUOTE *( qdtext / quoted-pair ) DQUOTE; false
// when none starts here or it is not closed.
bool SkipQuotedString(std::string_view& rest) {
  if (rest.empty() || rest.front() != '"') return false;
  for (std::size_t i = 1; i < rest.size(); ++i) {
    if (rest[i] == '"') {
      rest.remove_prefix(i + 1);
      return true;
    }
    if (rest[i] == '\\' && ++i == rest.size()) return false;
    if (!IsQuotedTextChar(rest[i])) return false;
  }
  return false;
}

// What follows the size on its line (RFC 9112 section 7.1.1):
//   chunk-ext      = *( BWS ";" BWS chunk-ext-name [ BWS "=" BWS chunk-ext-val ] )
//   chunk-ext-name = token
//   chunk-ext-val  = token / quoted-string
// and, leniently, blanks before the line end.  Anything but blanks and ";"
// right after the size is ChunkIllegalHex, a fault behind a ";"
// ChunkBadExtension.  The extensions are checked, not kept.
void CheckExtensions(std::string_view rest) {
  SkipBlanks(rest);
  if (!rest.empty() && rest.front() != ';') throw EHttpError(THttpFault::ChunkIllegalHex);
  while (!rest.empty()) {
    rest.remove_prefix(1);  // the ";"
    SkipBlanks(rest);
    if (!SkipToken(rest)) throw EHttpError(THttpFault::ChunkBadExtension);
    SkipBlanks(rest);
    if (!rest.empty() && rest.front() == '=') {
      rest.remove_prefix(1);
      SkipBlanks(rest);
      if (!SkipToken(rest) && !SkipQuotedString(rest)) {
        throw EHttpError(THttpFault::ChunkBadExtension);
      }
      SkipBlanks(rest);
    }
    if (!rest.empty() && rest.front() != ';') throw EHttpError(THttpFault::ChunkBadExtension);
  }
}

}  // namespace

std::uint64_t ParseChunkSize(std::string_view line) {
  constexpr std::uint64_t kLargestBeforeShift = std::numeric_limits<std::uint64_t>::max() >> 4;
  std::uint64_t size = 0;
  std::size_t digits = 0;
  for (; digits < line.size(); ++digits) {
    const int value = HexValue(line[digits]);
    if (value < 0) break;
    if (size > kLargestBeforeShift) throw EHttpError(THttpFault::ChunkTooLongHex);
    size = (size << 4) | static_cast<std::uint64_t>(value);
  }
  if (digits == 0) throw EHttpError(THttpFault::ChunkIllegalHex);
  CheckExtensions(line.substr(digits));
  return size;
}

void ReadChunkedBody(TResponseReader& reader, THeaderBudget& budget, std::string& body) {
  const std::size_t cap = reader.Limits().MaxBodyBytes;
  while (true) {
    const std::optional<std::string> sizeLine = reader.ReadLine();
    if (!sizeLine) throw EHttpError(THttpFault::BodyCutShort);
    const std::uint64_t size = ParseChunkSize(*sizeLine);
    if (size == 0) break;
    if (size > cap - body.size()) throw EHttpError(THttpFault::BodyTooLarge, cap);
    if (reader.ReadInto(body, size) < size) throw EHttpError(THttpFault::BodyCutShort);
    const std::optional<std::string> dataEnd = reader.ReadLine();
    if (!dataEnd) throw EHttpError(THttpFault::BodyCutShort);
    if (!dataEnd->empty()) throw EHttpError(THttpFault::ChunkMissingDataEnd);
  }
  while (const std::optional<std::string> trailer = reader.ReadLine()) {
    if (trailer->empty()) break;
    budget.Count(*trailer, true, reader.Limits());
  }
}

}  // namespace http
