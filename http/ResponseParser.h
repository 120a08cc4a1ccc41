// Reading a response from a stream of bytes.
//
// The parser never sees the socket: it reads from a TByteSource, which the
// client backs with the connection (waits, time limits and socket errors are
// the source's business) and tests and fuzzers back with bytes in memory,
// handed out in pieces of any size.  TResponseReader buffers the source and
// cuts it into lines and counted runs of bytes; the functions below read one
// response head, the interim 100 responses before the final one, and the body
// by its framing.
//
// Grammar read, with the client's leniencies:
//   status-line  = "HTTP/" *(any byte but LF) LF; status code = the text after
//                  the first blank up to the next one, exactly 3 decimal
//                  digits (RFC 9112 section 4), else -1
//   header-block = *(field-line) (empty-line / end of stream)
//   field-line   = name ":" value, blanks around the value dropped; a line
//                  that starts with a blank continues the previous value
//   line end     = LF, with a CR just before it removed
// Body framing (RFC 9112 section 6.3), first rule that applies:
//   "chunked" as the final transfer coding     -> chunked (http/ChunkDecoder.h)
//   any other transfer coding last             -> everything up to the end
//                                                 (Content-Length ignored)
//   Content-Length of 1 or more                -> exactly that many bytes
//                                                 (an earlier end is an error)
//   Content-Length 0                           -> empty
//   no Content-Length (or one that is not a plain decimal of at most 18
//   digits)                                    -> everything up to the end
// The final transfer coding is the last non-empty element of the
// Transfer-Encoding lists, all its header lines taken in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "http/Limits.h"

namespace http {

class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // Reads up to size (at least 1) bytes into buffer and returns their count;
  // 0 only when the stream has ended.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// Bytes in memory: the first read hands out at most firstPiece bytes, every
// later read at most piece bytes.
class TMemorySource : public TByteSource {
 public:
  explicit TMemorySource(std::string data, std::size_t firstPiece = SIZE_MAX,
                         std::size_t piece = SIZE_MAX);
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  std::string data_;
  std::size_t position_ = 0;
  std::size_t firstPiece_;
  std::size_t piece_;
};

// Lines and runs of bytes from a source, through one receive buffer.
class TResponseReader {
 public:
  TResponseReader(TByteSource& source, const THttpLimits& limits);

  // The next line without its line end.  A last line cut off by the end of
  // the stream is returned as it is; std::nullopt when the stream ended
  // before any byte of the line.  LineTooLong past the line limit.
  std::optional<std::string> ReadLine();
  // Appends up to count bytes to out; fewer only when the stream has ended.
  std::uint64_t ReadInto(std::string& out, std::uint64_t count);
  // The source has reported its end.
  bool Ended() const { return ended_; }
  // Received bytes not yet read.  After a complete response any such byte
  // means the connection is out of step with the requests.
  std::size_t Buffered() const { return buffer_.size() - start_; }
  const THttpLimits& Limits() const { return limits_; }

 private:
  bool Fill();

  TByteSource& source_;
  const THttpLimits& limits_;
  std::string buffer_;
  std::size_t start_ = 0;
  bool ended_ = false;
};

// Bytes and lines of one header block (with the trailers of a chunked body).
struct THeaderBudget {
  std::size_t Bytes = 0;
  std::size_t Lines = 0;
  // Counts one header or trailer line with its line end (the status line
  // counts its bytes only); HeaderTooLarge or TooManyHeaderLines past the caps.
  void Count(std::string_view line, bool isHeaderLine, const THttpLimits& limits);
};

struct THeaderField {
  std::string Name;
  std::string Value;
};

struct TResponseHead {
  std::string StatusLine;
  int StatusCode = -1;
  std::string Version;  // the sixth to eighth characters of the status line, "1.0" or "1.1"
  std::vector<std::string> RawHeaders;
  std::vector<THeaderField> Fields;
  THeaderBudget Budget;
  // The final transfer coding, in lower case; empty without Transfer-Encoding.
  std::string FinalCoding;
  // Content-Length, when present as a plain decimal of at most 18 digits and
  // no transfer coding overrides it.
  std::optional<std::uint64_t> ContentLength;

  // The first value of a header (names compared without regard to case),
  // empty when absent; and all its values.
  std::string Value(std::string_view name) const;
  std::vector<std::string> Values(std::string_view name) const;
  // "chunked" is the final transfer coding.
  bool Chunked() const;
  // Neither Connection nor Proxy-Connection holds the token "close".
  bool AllowsKeepAlive() const;
  // A redirect (300 to 399 but 304) or a non-empty Location: not followed.
  bool IsRedirect() const;
};

// The status code of a status line: the text after the first blank up to the
// next one, when it is exactly three decimal digits; -1 otherwise.
int ParseStatusCode(std::string_view statusLine);
// A Content-Length value without surrounding blanks, when it is a plain
// decimal of 1 to 18 digits.
std::optional<std::uint64_t> ParseContentLength(std::string_view value);

// One status line and its header block.  ConnectionClosed when the stream
// ends before the status line, BadStatusLine when it does not start with
// "HTTP/", ContentLengthConflict for two different Content-Length values.
// An end of stream inside the header block ends the block.
TResponseHead ReadHead(TResponseReader& reader);
// Reads heads while the status code is 100 and returns the first other one;
// onHead sees every head read, interim ones included (for their cookies).
// TooManyContinues past the limit of interim responses.
TResponseHead ReadFinalHead(TResponseReader& reader,
                            const std::function<void(const TResponseHead&)>& onHead);
// Appends the body of head to body, by the framing above.  BodyTooLarge,
// BodyCutShort and the chunk faults; on an error body holds what was read.
void ReadBody(TResponseReader& reader, TResponseHead& head, std::string& body);

// Runs the whole parse (heads, cookies, body) over data with the default
// limits and swallows the client's errors: an entry point for a fuzzer.
int ParseResponseForFuzzing(const std::uint8_t* data, std::size_t size);

}  // namespace http
