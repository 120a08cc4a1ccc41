// Time limits and size caps of the HTTP client, gathered in one place.
//
// The time limits are those the version check is designed around: 3000 ms for
// the connection attempt and for every wait for data.  The caps keep a broken
// or hostile server from making the client hold unbounded memory or block the
// window without end; each one raises an error of its own (http/Errors.h).
// None of them comes near the few bytes of the version file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace http {

// Every wait for incoming data (and for room to send).
constexpr int kReadTimeoutMs = 3000;
// The whole connection attempt, over all the addresses a host name has.
constexpr int kConnectTimeoutMs = 3000;
// The thread that waits for the connection worker looks at it this often.
constexpr int kConnectSliceMs = 125;
// The worker's poll of its non-blocking connect wakes this often to see
// whether the attempt has been given up.
constexpr int kConnectPollMs = 10;
// Waiting limit while the body of an error response is read and dropped.
constexpr int kErrorBodyTimeoutMs = 2000;
// One whole Get, from parsing the address to the last byte of the body.
constexpr int kGetDeadlineMs = 10000;

// A status, header, chunk-size or trailer line, without its line end.
constexpr std::size_t kMaxLineLength = 16384;
// One response head: the status line and the header lines with their line
// ends, and the trailer lines of a chunked body counted with them.
constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
constexpr std::size_t kMaxHeaderLines = 100;
// The body of any response, success or error.
constexpr std::size_t kMaxBodyBytes = 1024 * 1024;
// Cookies kept at once, and name plus value of one cookie.
constexpr std::size_t kMaxCookies = 50;
constexpr std::size_t kMaxCookieBytes = 4096;
// The value of the Cookie header of one request: 50 cookies of 4 KiB would
// otherwise send 200 KiB with every request.
constexpr std::size_t kMaxCookieHeaderBytes = 8192;
// Interim "100 Continue" responses skipped in a row.
constexpr int kMaxContinues = 10;
// A Content-Length with more digits than this counts as absent.
constexpr std::size_t kMaxContentLengthDigits = 18;
// Bytes taken from the socket by one receive.
constexpr std::size_t kReceiveBufferSize = 32768;

// The limits one client works with.  The defaults are the constants above;
// tests of the caps lower them to run quickly.
struct THttpLimits {
  int ReadTimeoutMs = kReadTimeoutMs;
  int ConnectTimeoutMs = kConnectTimeoutMs;
  int ConnectSliceMs = kConnectSliceMs;
  int ErrorBodyTimeoutMs = kErrorBodyTimeoutMs;
  int GetDeadlineMs = kGetDeadlineMs;
  std::size_t MaxLineLength = kMaxLineLength;
  std::size_t MaxHeaderBytes = kMaxHeaderBytes;
  std::size_t MaxHeaderLines = kMaxHeaderLines;
  std::size_t MaxBodyBytes = kMaxBodyBytes;
  std::size_t MaxCookies = kMaxCookies;
  std::size_t MaxCookieBytes = kMaxCookieBytes;
  std::size_t MaxCookieHeaderBytes = kMaxCookieHeaderBytes;
  int MaxContinues = kMaxContinues;
};

}  // namespace http
