#include "http/ChunkDecoder.h"

#include <limits>
#include <optional>

#include "http/Errors.h"

namespace http {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
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
  if (digits < line.size()) {
    const char end = line[digits];
    if (end != ' ' && end != '\t' && end != ';') throw EHttpError(THttpFault::ChunkIllegalHex);
  }
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
