// The HTTP response parser (status line, header block, interim responses,
// cookies, body by Content-Length, chunks or the end of the stream) fed from
// bytes.  Byte 0 chooses the size of the first piece the source hands out,
// byte 1 the size of every later one (0 meaning all at once); the rest is the
// response.  No crash, and
//  - the response read in those pieces gives the same outcome (error, status,
//    header lines, body, cookies) as read all at once;
//  - the body never exceeds its cap (by one byte in the error that reports
//    it), and a complete Content-Length body has exactly that length;
//  - the Cookie header never exceeds its cap;
//  - a chunk-size line that parses gives the value of its leading hex digits,
//    and they are followed by nothing, by blanks, or by blanks and ";".
// The caps are lowered so that short inputs can reach every one of them.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "http/ChunkDecoder.h"
#include "http/Cookies.h"
#include "http/Errors.h"
#include "http/ResponseParser.h"

namespace {

struct Outcome {
  std::string error;  // the error's fault and text, empty when the parse went through
  int status = -2;
  std::vector<std::string> headers;
  std::string body;
  std::string cookies;
  std::optional<std::uint64_t> contentLength;
  bool chunked = false;
};

http::THttpLimits SmallLimits() {
  http::THttpLimits limits;
  limits.MaxLineLength = 80;
  limits.MaxHeaderBytes = 600;
  limits.MaxHeaderLines = 12;
  limits.MaxBodyBytes = 300;
  limits.MaxCookies = 4;
  limits.MaxCookieBytes = 64;
  limits.MaxCookieHeaderBytes = 100;
  limits.MaxContinues = 3;
  return limits;
}

Outcome Parse(const std::string& bytes, std::size_t firstPiece, std::size_t piece) {
  const http::THttpLimits limits = SmallLimits();
  http::TMemorySource source(bytes, firstPiece, piece);
  http::TResponseReader reader(source, limits);
  http::TCookieStore store(limits.MaxCookies, limits.MaxCookieBytes, limits.MaxCookieHeaderBytes);
  const http::TCookieTime now{std::chrono::seconds(1700000000)};
  Outcome outcome;
  try {
    http::TResponseHead head = http::ReadFinalHead(reader, [&](const http::TResponseHead& each) {
      for (const std::string& value : each.Values("Set-Cookie"))
        store.SetCookie(value, "www.example.com", "/dir/file", now);
      for (const std::string& value : each.Values("Set-Cookie2"))
        store.SetCookie2(value, "www.example.com", "/dir/file", now);
    });
    outcome.status = head.StatusCode;
    outcome.headers = head.RawHeaders;
    outcome.contentLength = head.ContentLength;
    outcome.chunked = head.Chunked();
    http::ReadBody(reader, head, outcome.body);
    outcome.cookies = store.CookieHeader("www.example.com", "/dir/file", now);
  } catch (const http::EHttpError& error) {
    outcome.error = std::to_string(static_cast<int>(error.Fault())) + " " + error.what();
  }
  // A body read to the end of the stream is read one byte past the cap to
  // tell a body of exactly the cap from a larger one; that byte stays in the
  // body of the BodyTooLarge error.
  FUZZ_CHECK(outcome.body.size() <= limits.MaxBodyBytes + (outcome.error.empty() ? 0 : 1),
             "a body of %zu bytes", outcome.body.size());
  FUZZ_CHECK(outcome.cookies.size() <= limits.MaxCookieHeaderBytes, "a Cookie header of %zu bytes",
             outcome.cookies.size());
  if (outcome.error.empty() && !outcome.chunked && outcome.contentLength) {
    FUZZ_CHECK(outcome.body.size() == *outcome.contentLength, "Content-Length %llu, body %zu",
               static_cast<unsigned long long>(*outcome.contentLength), outcome.body.size());
  }
  return outcome;
}

void CheckChunkSize(std::string_view line) {
  std::uint64_t size;
  try {
    size = http::ParseChunkSize(line);
  } catch (const http::EHttpError&) {
    return;
  }
  const std::string hex(line.substr(0, line.find_first_not_of("0123456789abcdefABCDEF")));
  const std::size_t afterBlanks = line.find_first_not_of(" \t", hex.size());
  FUZZ_CHECK(afterBlanks == std::string_view::npos || line[afterBlanks] == ';',
             "chunk size line %s taken", std::string(line).c_str());
  FUZZ_CHECK(!hex.empty(), "a chunk size without digits read as %llu",
             static_cast<unsigned long long>(size));
  const std::string significant = hex.substr(std::min(hex.find_first_not_of('0'), hex.size()));
  FUZZ_CHECK(significant.size() <= 16, "chunk size %s beyond 64 bits read", hex.c_str());
  const std::uint64_t expected =
      significant.empty() ? 0 : std::strtoull(significant.c_str(), nullptr, 16);
  FUZZ_CHECK(size == expected, "chunk size %s read as %llu", hex.c_str(),
             static_cast<unsigned long long>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::size_t firstPiece = data[0] % 17 == 0 ? SIZE_MAX : data[0] % 17;
  const std::size_t piece = data[1] % 17 == 0 ? SIZE_MAX : data[1] % 17;
  const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

  const Outcome whole = Parse(bytes, SIZE_MAX, SIZE_MAX);
  const Outcome pieces = Parse(bytes, firstPiece, piece);
  FUZZ_CHECK(whole.error == pieces.error, "error \"%s\" at once, \"%s\" in pieces",
             whole.error.c_str(), pieces.error.c_str());
  FUZZ_CHECK(whole.status == pieces.status && whole.headers == pieces.headers &&
                 whole.body == pieces.body && whole.cookies == pieces.cookies,
             "the pieces changed the response");

  CheckChunkSize(std::string_view(bytes).substr(0, bytes.find('\n')));
  return 0;
}
