// Errors of the HTTP client.
//
// Every failure of a Get is one EHttpError, raised to the caller; nothing is
// retried and nothing is shown.  Fault() names what went wrong, what() is the
// message text as it stands.  After any of them the client has closed its
// connection, so no late or leftover byte is ever read as the answer to the
// next request.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace http {

enum class THttpFault {
  // Fixed texts.
  ConnectTimeout,         // the connection attempt did not finish within its limit
  ReadTimeout,            // no data arrived within one wait
  LineTooLong,            // a status, header, chunk-size or trailer line past the line limit
  HeaderValue,            // a request header value holding a line break or NUL
  ConnectionClosed,       // the server closed the connection before the status line
  BadStatusLine,          // the first line of the response is not an HTTP status line
  ContentLengthConflict,  // two different Content-Length values: the body's end is unknown
  BodyCutShort,           // the connection ended before the announced length, or inside a chunk
  // Faults of a chunked body, one per rule of its grammar (http/ChunkDecoder.h).
  ChunkIllegalHex,      // the size is not 1*HEXDIG followed by blanks, then ";" or the line end
  ChunkTooLongHex,      // the size does not fit in 64 bits
  ChunkBadExtension,    // what follows a ";" is no chunk extension
  ChunkMissingDataEnd,  // the chunk data is not followed by an empty line
  // Texts naming the limit that was passed.
  RequestTimeout,      // the whole Get took longer than its limit (ms)
  HeaderTooLarge,      // bytes of the response head
  TooManyHeaderLines,  // lines of the response head
  TooManyContinues,    // interim 100 responses in a row
  BodyTooLarge,        // bytes of a body
  CookieTooLarge,      // name plus value of one cookie
  TooManyCookies,      // cookies kept at once
  // Texts given where the fault is found.
  Address,   // an address that cannot be parsed, or one the client does not serve
  Socket,    // a failed system call or name look-up: the system's text
  Protocol,  // a response that is not a success: its status line
};

class EHttpError : public std::runtime_error {
 public:
  // A fault of a fixed text, or of a text naming `limit`.
  explicit EHttpError(THttpFault fault, std::size_t limit = 0);
  // A fault whose text is given: Address, Socket (code: the errno or EAI_*
  // value), Protocol (code: the status code; body: the body read, within its
  // own shorter waiting limit).
  EHttpError(THttpFault fault, const std::string& text, int code = 0, std::string body = {});

  THttpFault Fault() const { return fault_; }
  // Socket: the errno or EAI_* value; Protocol: the status code (-1 when the
  // status line has none); otherwise 0.
  int Code() const { return code_; }
  // Protocol: the body of the response that was not a success.
  const std::string& Body() const { return body_; }

 private:
  THttpFault fault_;
  int code_ = 0;
  std::string body_;
};

}  // namespace http
