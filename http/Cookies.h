// The cookie store: cookies the server sets, sent back on later requests.
//
// Rules (after RFC 6265, without a public-suffix list):
// - A cookie is "name=value" with attributes Domain, Path, Max-Age, Expires
//   and Secure; others are ignored.  A cookie without "=" or a name, or with a
//   control character anywhere in the header, is ignored (a bare CR sent back
//   in the Cookie header could end that line early).
// - Without Domain the cookie belongs to the host alone.  A Domain must be the
//   host or a parent of it holding a dot; otherwise the cookie is ignored.
//   Ports play no part.
// - Without Path the path is that of the request up to its last "/".  A
//   cookie is sent for its path and every path below it.
// - Max-Age (seconds) wins over Expires; a cookie whose time is past, or that
//   arrives already expired, is deleted.  Secure cookies are never stored:
//   the client only speaks plain http.
// - Name and value together may hold MaxCookieBytes bytes (CookieTooLarge),
//   and the store MaxCookies cookies (TooManyCookies for one more); a cookie
//   replaces the one with the same name, domain and path.
// - The Cookie header lists "name=value" pairs joined by "; ", longer paths
//   first, then in the order the cookies were first set.  Its value holds at
//   most maxHeaderBytes bytes: the cookies that do not fit are left out of
//   that request, the oldest (by first setting) first.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "http/Limits.h"

namespace http {

using TCookieTime = std::chrono::sys_seconds;

struct TCookie {
  std::string Name;
  std::string Value;
  std::string Domain;  // lower case
  std::string Path;
  bool HostOnly = true;
  std::optional<TCookieTime> Expires;  // none: kept until the program ends
  std::uint64_t Created = 0;           // order of first setting
};

class TCookieStore {
 public:
  TCookieStore(std::size_t maxCookies, std::size_t maxCookieBytes,
               std::size_t maxHeaderBytes = kMaxCookieHeaderBytes);

  // Takes the value of one Set-Cookie header, received in answer to a
  // request for host (without port) and requestPath (without parameters).
  void SetCookie(std::string_view header, const std::string& host, const std::string& requestPath,
                 TCookieTime now);
  // A Set-Cookie2 value may list several cookies separated by commas.
  void SetCookie2(std::string_view header, const std::string& host, const std::string& requestPath,
                  TCookieTime now);
  // The value of the Cookie header for a request; empty when none applies.
  std::string CookieHeader(const std::string& host, const std::string& requestPath,
                           TCookieTime now) const;
  std::size_t Size() const { return cookies_.size(); }
  const std::vector<TCookie>& Cookies() const { return cookies_; }

 private:
  void Purge(TCookieTime now);

  std::size_t maxCookies_;
  std::size_t maxCookieBytes_;
  std::size_t maxHeaderBytes_;
  std::vector<TCookie> cookies_;
  std::uint64_t nextCreated_ = 0;
};

// An Expires date by the tolerant token rules of RFC 6265 (day of month,
// month name, year, hh:mm:ss in any order, among any delimiters); nullopt
// when a part is missing or out of range.
std::optional<TCookieTime> ParseCookieDate(std::string_view text);

}  // namespace http
