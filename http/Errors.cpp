// The message texts of the HTTP client's errors, all in one place.
#include "http/Errors.h"

#include <utility>

namespace http {

namespace {

std::string MessageOf(THttpFault fault, std::size_t limit) {
  const std::string number = std::to_string(limit);
  switch (fault) {
    case THttpFault::ConnectTimeout:
      return "Connect timed out.";
    case THttpFault::ReadTimeout:
      return "Read Timeout";
    case THttpFault::LineTooLong:
      return "Max line length exceeded.";
    case THttpFault::HeaderValue:
      return "Request header value contains a control character.";
    case THttpFault::ConnectionClosed:
      return "Connection closed before the response.";
    case THttpFault::BadStatusLine:
      return "Response does not begin with an HTTP status line.";
    case THttpFault::ContentLengthConflict:
      return "Conflicting Content-Length headers.";
    case THttpFault::BodyCutShort:
      return "Connection closed before the end of the body.";
    case THttpFault::ChunkIllegalHex:
      return "Chunk size is not a hexadecimal number.";
    case THttpFault::ChunkTooLongHex:
      return "Chunk size does not fit in 64 bits.";
    case THttpFault::ChunkBadExtension:
      return "Chunk extension is malformed.";
    case THttpFault::ChunkMissingDataEnd:
      return "Chunk data is not followed by a line end.";
    case THttpFault::RequestTimeout:
      return "Request not completed within " + number + " ms.";
    case THttpFault::HeaderTooLarge:
      return "Response header exceeds " + number + " bytes.";
    case THttpFault::TooManyHeaderLines:
      return "Response header exceeds " + number + " lines.";
    case THttpFault::TooManyContinues:
      return "More than " + number + " interim 100 responses.";
    case THttpFault::BodyTooLarge:
      return "Response body exceeds " + number + " bytes.";
    case THttpFault::CookieTooLarge:
      return "Cookie exceeds " + number + " bytes.";
    case THttpFault::TooManyCookies:
      return "More than " + number + " cookies.";
    case THttpFault::Address:
    case THttpFault::Socket:
    case THttpFault::Protocol:
      break;  // their texts come with them
  }
  return "HTTP error.";
}

}  // namespace

EHttpError::EHttpError(THttpFault fault, std::size_t limit)
    : std::runtime_error(MessageOf(fault, limit)), fault_(fault) {}

EHttpError::EHttpError(THttpFault fault, const std::string& text, int code, std::string body)
    : std::runtime_error(text), fault_(fault), code_(code), body_(std::move(body)) {}

}  // namespace http
