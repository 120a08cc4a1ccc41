#include "http/Cookies.h"

#include <algorithm>

#include "http/Ascii.h"
#include "http/Errors.h"

namespace http {

namespace {

// Max-Age beyond this many seconds (some 3000 years) is taken as this.
constexpr std::int64_t kLongestMaxAge = 100'000'000'000;

bool IsIpAddress(const std::string& host) {
  return host.find(':') != std::string::npos ||
         std::all_of(host.begin(), host.end(), [](char c) { return IsDigit(c) || c == '.'; });
}

// The host is the domain or lies below it (never for an IP address).
bool DomainMatch(const std::string& host, const std::string& domain) {
  if (host == domain) return true;
  return !IsIpAddress(host) && host.size() > domain.size() &&
         host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
         host[host.size() - domain.size() - 1] == '.';
}

// The request path up to, not including, its last "/"; "/" when that leaves nothing.
std::string DefaultPath(const std::string& requestPath) {
  if (requestPath.empty() || requestPath.front() != '/') return "/";
  const std::size_t lastSlash = requestPath.rfind('/');
  if (lastSlash == 0) return "/";
  return requestPath.substr(0, lastSlash);
}

bool PathMatch(const std::string& requestPath, const std::string& cookiePath) {
  if (requestPath == cookiePath) return true;
  if (requestPath.compare(0, cookiePath.size(), cookiePath) != 0) return false;
  return cookiePath.back() == '/' || requestPath[cookiePath.size()] == '/';
}

// Max-Age: an optional "-" and digits; nullopt for anything else.
std::optional<std::int64_t> ParseMaxAge(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty() || !std::all_of(text.begin(), text.end(), IsDigit)) return std::nullopt;
  std::int64_t seconds = 0;
  for (char c : text) {
    seconds = std::min(kLongestMaxAge, seconds * 10 + (c - '0'));
  }
  return negative ? -seconds : seconds;
}

bool IsDateDelimiter(unsigned char c) {
  return c == 0x09 || (c >= 0x20 && c <= 0x2F) || (c >= 0x3B && c <= 0x40) ||
         (c >= 0x5B && c <= 0x60) || (c >= 0x7B && c <= 0x7E);
}

// 1 to maxDigits digits at the start of token, not followed by another digit.
std::optional<int> LeadingNumber(std::string_view& token, std::size_t minDigits,
                                 std::size_t maxDigits) {
  std::size_t count = 0;
  while (count < token.size() && IsDigit(token[count])) ++count;
  if (count < minDigits || count > maxDigits) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) value = value * 10 + (token[i] - '0');
  token.remove_prefix(count);
  return value;
}

bool ParseTime(std::string_view token, int& hour, int& minute, int& second) {
  const std::optional<int> h = LeadingNumber(token, 1, 2);
  if (!h || token.empty() || token.front() != ':') return false;
  token.remove_prefix(1);
  const std::optional<int> m = LeadingNumber(token, 1, 2);
  if (!m || token.empty() || token.front() != ':') return false;
  token.remove_prefix(1);
  const std::optional<int> s = LeadingNumber(token, 1, 2);
  if (!s) return false;
  hour = *h;
  minute = *m;
  second = *s;
  return true;
}

// Drops the oldest cookies (by first setting) from chosen until their pairs,
// "name=value" joined by "; ", fit in maxBytes.
void LeaveOutOldestBeyond(std::vector<const TCookie*>& chosen, std::size_t maxBytes) {
  constexpr std::size_t kJoinBytes = 2;  // "; "
  std::size_t total = 0;
  for (const TCookie* cookie : chosen) total += cookie->Name.size() + 1 + cookie->Value.size();
  if (!chosen.empty()) total += kJoinBytes * (chosen.size() - 1);
  if (total <= maxBytes) return;
  std::sort(chosen.begin(), chosen.end(),
            [](const TCookie* a, const TCookie* b) { return a->Created < b->Created; });
  std::size_t dropped = 0;
  while (dropped < chosen.size() && total > maxBytes) {
    const TCookie* oldest = chosen[dropped++];
    total -= oldest->Name.size() + 1 + oldest->Value.size();
    total -= dropped < chosen.size() ? kJoinBytes : 0;  // the last one has no separator
  }
  chosen.erase(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(dropped));
}

}  // namespace

std::optional<TCookieTime> ParseCookieDate(std::string_view text) {
  static constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                            "jul", "aug", "sep", "oct", "nov", "dec"};
  std::optional<int> hour, minute, second, dayOfMonth, month, year;
  std::size_t position = 0;
  while (position < text.size()) {
    while (position < text.size() && IsDateDelimiter(static_cast<unsigned char>(text[position]))) {
      ++position;
    }
    const std::size_t start = position;
    while (position < text.size() && !IsDateDelimiter(static_cast<unsigned char>(text[position]))) {
      ++position;
    }
    const std::string_view token = text.substr(start, position - start);
    if (token.empty()) break;
    int h = 0, m = 0, s = 0;
    if (!hour && ParseTime(token, h, m, s)) {
      hour = h;
      minute = m;
      second = s;
      continue;
    }
    std::string_view rest = token;
    if (!dayOfMonth) {
      if (std::optional<int> day = LeadingNumber(rest, 1, 2)) {
        dayOfMonth = day;
        continue;
      }
    }
    if (!month && token.size() >= 3) {
      const std::string name = AsciiLower(token.substr(0, 3));
      const auto found = std::find(std::begin(kMonths), std::end(kMonths), name);
      if (found != std::end(kMonths)) {
        month = static_cast<int>(found - std::begin(kMonths)) + 1;
        continue;
      }
    }
    rest = token;
    if (!year) {
      if (std::optional<int> value = LeadingNumber(rest, 2, 4)) year = value;
    }
  }
  if (!hour || !dayOfMonth || !month || !year) return std::nullopt;
  int fullYear = *year;
  if (fullYear >= 70 && fullYear <= 99) fullYear += 1900;
  if (fullYear >= 0 && fullYear <= 69) fullYear += 2000;
  if (fullYear < 1601 || *hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(fullYear),
                                         std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*dayOfMonth))};
  if (!date.ok()) return std::nullopt;
  return TCookieTime(std::chrono::sys_days(date)) + std::chrono::hours(*hour) +
         std::chrono::minutes(*minute) + std::chrono::seconds(*second);
}

TCookieStore::TCookieStore(std::size_t maxCookies, std::size_t maxCookieBytes,
                           std::size_t maxHeaderBytes)
    : maxCookies_(maxCookies), maxCookieBytes_(maxCookieBytes), maxHeaderBytes_(maxHeaderBytes) {}

void TCookieStore::Purge(TCookieTime now) {
  std::erase_if(cookies_, [now](const TCookie& c) { return c.Expires && *c.Expires <= now; });
}

void TCookieStore::SetCookie(std::string_view header, const std::string& host,
                             const std::string& requestPath, TCookieTime now) {
  for (unsigned char c : header) {
    if ((c < 0x20 && c != '\t') || c == 0x7F) return;
  }
  const std::size_t pairEnd = header.find(';');
  const std::string_view pair = header.substr(0, pairEnd);
  const std::size_t equals = pair.find('=');
  if (equals == std::string_view::npos) return;
  TCookie cookie;
  cookie.Name = std::string(TrimBlanks(pair.substr(0, equals)));
  cookie.Value = std::string(TrimBlanks(pair.substr(equals + 1)));
  if (cookie.Name.empty()) return;
  if (cookie.Name.size() + cookie.Value.size() > maxCookieBytes_) {
    throw EHttpError(THttpFault::CookieTooLarge, maxCookieBytes_);
  }

  std::optional<std::string> domain;
  std::optional<std::string> path;
  std::optional<std::int64_t> maxAge;
  std::optional<TCookieTime> expires;
  bool secure = false;
  std::string_view attributes =
      pairEnd == std::string_view::npos ? std::string_view() : header.substr(pairEnd + 1);
  while (!attributes.empty()) {
    const std::size_t end = attributes.find(';');
    const std::string_view attribute = attributes.substr(0, end);
    attributes = end == std::string_view::npos ? std::string_view() : attributes.substr(end + 1);
    const std::size_t eq = attribute.find('=');
    const std::string key = AsciiLower(TrimBlanks(attribute.substr(0, eq)));
    const std::string_view value =
        eq == std::string_view::npos ? std::string_view() : TrimBlanks(attribute.substr(eq + 1));
    if (key == "domain" && !value.empty()) {
      domain = AsciiLower(value.front() == '.' ? value.substr(1) : value);
    } else if (key == "path" && !value.empty() && value.front() == '/') {
      path = std::string(value);
    } else if (key == "max-age") {
      if (std::optional<std::int64_t> seconds = ParseMaxAge(value)) maxAge = seconds;
    } else if (key == "expires") {
      if (std::optional<TCookieTime> date = ParseCookieDate(value)) expires = date;
    } else if (key == "secure") {
      secure = true;
    }
  }
  if (secure) return;

  const std::string requestHost = AsciiLower(host);
  if (domain && !domain->empty()) {
    if (!DomainMatch(requestHost, *domain)) return;
    if (*domain != requestHost && domain->find('.') == std::string::npos) return;
    cookie.Domain = *domain;
    cookie.HostOnly = false;
  } else {
    cookie.Domain = requestHost;
  }
  cookie.Path = path ? *path : DefaultPath(requestPath);
  if (maxAge) {
    cookie.Expires = now + std::chrono::seconds(*maxAge);
  } else if (expires) {
    cookie.Expires = expires;
  }

  Purge(now);
  const bool expired = cookie.Expires && *cookie.Expires <= now;
  const auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const TCookie& c) {
    return c.Name == cookie.Name && c.Domain == cookie.Domain && c.Path == cookie.Path;
  });
  if (same != cookies_.end()) {
    if (expired) {
      cookies_.erase(same);
    } else {
      cookie.Created = same->Created;
      *same = std::move(cookie);
    }
    return;
  }
  if (expired) return;
  if (cookies_.size() >= maxCookies_) throw EHttpError(THttpFault::TooManyCookies, maxCookies_);
  cookie.Created = nextCreated_++;
  cookies_.push_back(std::move(cookie));
}

void TCookieStore::SetCookie2(std::string_view header, const std::string& host,
                              const std::string& requestPath, TCookieTime now) {
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i <= header.size(); ++i) {
    if (i < header.size() && header[i] == '"') quoted = !quoted;
    if (i == header.size() || (header[i] == ',' && !quoted)) {
      const std::string_view one = TrimBlanks(header.substr(start, i - start));
      if (!one.empty()) SetCookie(one, host, requestPath, now);
      start = i + 1;
    }
  }
}

std::string TCookieStore::CookieHeader(const std::string& host, const std::string& requestPath,
                                       TCookieTime now) const {
  const std::string requestHost = AsciiLower(host);
  const std::string path = requestPath.empty() ? "/" : requestPath;
  std::vector<const TCookie*> chosen;
  for (const TCookie& cookie : cookies_) {
    if (cookie.Expires && *cookie.Expires <= now) continue;
    const bool hostMatches =
        cookie.HostOnly ? cookie.Domain == requestHost : DomainMatch(requestHost, cookie.Domain);
    if (hostMatches && PathMatch(path, cookie.Path)) chosen.push_back(&cookie);
  }
  LeaveOutOldestBeyond(chosen, maxHeaderBytes_);
  std::stable_sort(chosen.begin(), chosen.end(), [](const TCookie* a, const TCookie* b) {
    if (a->Path.size() != b->Path.size()) return a->Path.size() > b->Path.size();
    return a->Created < b->Created;
  });
  std::string header;
  for (const TCookie* cookie : chosen) {
    if (!header.empty()) header += "; ";
    header += cookie->Name + "=" + cookie->Value;
  }
  return header;
}

}  // namespace http
