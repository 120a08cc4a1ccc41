// Parsing whole responses from memory, for the parser and chunk decoder tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "http/Errors.h"
#include "http/ResponseParser.h"

namespace http_test {

struct TParsed {
  http::TResponseHead Head;
  std::string Body;
  std::size_t Left = 0;  // bytes after the response
};

// Heads (interim 100 responses skipped), then the body unless the code is
// 204, from bytes handed out firstPiece bytes first and piece bytes a read.
inline TParsed Parse(const std::string& bytes, const http::THttpLimits& limits = {},
                     std::size_t firstPiece = SIZE_MAX, std::size_t piece = SIZE_MAX) {
  http::TMemorySource source(bytes, firstPiece, piece);
  http::TResponseReader reader(source, limits);
  TParsed parsed;
  parsed.Head = http::ReadFinalHead(reader, nullptr);
  if (parsed.Head.StatusCode != 204) http::ReadBody(reader, parsed.Head, parsed.Body);
  parsed.Left = reader.Buffered();
  return parsed;
}

// "<code> <body>" or "error: <message>": one comparable result per input.
inline std::string Outcome(const std::string& bytes, std::size_t firstPiece = SIZE_MAX,
                           std::size_t piece = SIZE_MAX) {
  try {
    const TParsed parsed = Parse(bytes, {}, firstPiece, piece);
    return std::to_string(parsed.Head.StatusCode) + " " + parsed.Body;
  } catch (const http::EHttpError& error) {
    return std::string("error: ") + error.what();
  }
}

// Sends head once, then piece again and again, up to limit bytes in all
// (then the end of the stream): a server that never stops.
class TEndlessSource : public http::TByteSource {
 public:
  TEndlessSource(std::string head, std::string piece, std::size_t limit)
      : head_(std::move(head)), piece_(std::move(piece)), limit_(limit) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    std::size_t count = 0;
    while (count < size && served_ < limit_) {
      const std::size_t at = served_ < head_.size() ? served_ : (served_ - head_.size());
      buffer[count++] = served_ < head_.size() ? head_[at] : piece_[at % piece_.size()];
      ++served_;
    }
    return count;
  }
  std::size_t Served() const { return served_; }

 private:
  std::string head_;
  std::string piece_;
  std::size_t limit_;
  std::size_t served_ = 0;
};

}  // namespace http_test
