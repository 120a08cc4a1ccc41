// Errors of the HTTP client.
//
// Every failure of a Get is one of these exceptions, raised to the caller;
// nothing is retried and nothing is shown.  what() is the message text as it
// stands.  After any of them the client has closed its connection, so no late
// or leftover byte is ever read as the answer to the next request.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace http {

class EHttpError : public std::runtime_error {
 public:
  explicit EHttpError(const std::string& message) : std::runtime_error(message) {}
};

// The connection attempt did not finish within its limit.
class EConnectTimeout : public EHttpError {
 public:
  EConnectTimeout() : EHttpError("Connect timed out.") {}
};

// No data arrived within one wait.
class EReadTimeout : public EHttpError {
 public:
  EReadTimeout() : EHttpError("Read Timeout") {}
};

// A status, header, chunk-size or trailer line longer than the line limit.
class ELineTooLong : public EHttpError {
 public:
  ELineTooLong() : EHttpError("Max line length exceeded.") {}
};

// A failed system call or name look-up; the message is the system's text
// (strerror or gai_strerror), the code its errno or EAI_* value.
class ESocketError : public EHttpError {
 public:
  ESocketError(int code, const std::string& message) : EHttpError(message), code_(code) {}
  int ErrorCode() const { return code_; }

 private:
  int code_;
};

// The whole Get took longer than its overall limit (a server trickling bytes).
class ERequestTimeout : public EHttpError {
 public:
  explicit ERequestTimeout(int limitMs)
      : EHttpError("Request not completed within " + std::to_string(limitMs) + " ms.") {}
};

// An address that cannot be parsed, or one the client does not serve.
class EAddressError : public EHttpError {
 public:
  explicit EAddressError(const std::string& message) : EHttpError(message) {}
};

// A request header value holding a line break or NUL.
class EHeaderValueError : public EHttpError {
 public:
  EHeaderValueError() : EHttpError("Request header value contains a control character.") {}
};

// The server closed the connection before the status line.
class EConnectionClosed : public EHttpError {
 public:
  EConnectionClosed() : EHttpError("Connection closed before the response.") {}
};

// The first line of the response is not an HTTP status line.
class EBadStatusLine : public EHttpError {
 public:
  EBadStatusLine() : EHttpError("Response does not begin with an HTTP status line.") {}
};

class EHeaderTooLarge : public EHttpError {
 public:
  explicit EHeaderTooLarge(std::size_t limit)
      : EHttpError("Response header exceeds " + std::to_string(limit) + " bytes.") {}
};

class ETooManyHeaderLines : public EHttpError {
 public:
  explicit ETooManyHeaderLines(std::size_t limit)
      : EHttpError("Response header exceeds " + std::to_string(limit) + " lines.") {}
};

// Two Content-Length headers with different values: the body's end is unknown.
class EContentLengthConflict : public EHttpError {
 public:
  EContentLengthConflict() : EHttpError("Conflicting Content-Length headers.") {}
};

class ETooManyContinues : public EHttpError {
 public:
  explicit ETooManyContinues(int limit)
      : EHttpError("More than " + std::to_string(limit) + " interim 100 responses.") {}
};

class EBodyTooLarge : public EHttpError {
 public:
  explicit EBodyTooLarge(std::size_t limit)
      : EHttpError("Response body exceeds " + std::to_string(limit) + " bytes.") {}
};

// The connection ended before the length the server announced, or inside a chunk.
class EBodyCutShort : public EHttpError {
 public:
  EBodyCutShort() : EHttpError("Connection closed before the end of the body.") {}
};

// Faults of a chunked body, one per rule of its grammar (http/ChunkDecoder.h).
enum class TChunkFault {
  IllegalHex,      // the size is not 1*HEXDIG ended by a blank, ";" or the line end
  TooLongHex,      // the size does not fit in 64 bits
  MissingDataEnd,  // the chunk data is not followed by an empty line
};

class EChunkError : public EHttpError {
 public:
  explicit EChunkError(TChunkFault fault) : EHttpError(MessageOf(fault)), fault_(fault) {}
  TChunkFault Fault() const { return fault_; }

 private:
  static const char* MessageOf(TChunkFault fault) {
    switch (fault) {
      case TChunkFault::IllegalHex:
        return "Chunk size is not a hexadecimal number.";
      case TChunkFault::TooLongHex:
        return "Chunk size does not fit in 64 bits.";
      case TChunkFault::MissingDataEnd:
        return "Chunk data is not followed by a line end.";
    }
    return "Malformed chunked body.";
  }
  TChunkFault fault_;
};

class ECookieTooLarge : public EHttpError {
 public:
  explicit ECookieTooLarge(std::size_t limit)
      : EHttpError("Cookie exceeds " + std::to_string(limit) + " bytes.") {}
};

class ETooManyCookies : public EHttpError {
 public:
  explicit ETooManyCookies(std::size_t limit)
      : EHttpError("More than " + std::to_string(limit) + " cookies.") {}
};

// A response that is not a success: a redirect (which is not followed), a
// response carrying a Location header, or any code outside 200 to 299.  The
// body has been read (within its own, shorter waiting limit) and is kept here.
// what() is the status line, e.g. "HTTP/1.1 404 Not Found".
class EProtocolError : public EHttpError {
 public:
  EProtocolError(int statusCode, const std::string& statusLine, const std::string& body)
      : EHttpError(statusLine), statusCode_(statusCode), statusLine_(statusLine), body_(body) {}
  int StatusCode() const { return statusCode_; }
  const std::string& StatusLine() const { return statusLine_; }
  const std::string& Body() const { return body_; }

 private:
  int statusCode_;
  std::string statusLine_;
  std::string body_;
};

}  // namespace http
