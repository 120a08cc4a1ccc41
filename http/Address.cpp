#include "http/Address.h"

#include <algorithm>

#include "http/Ascii.h"
#include "http/Errors.h"

namespace http {

namespace {

[[noreturn]] void Invalid(const std::string& why) {
  throw EHttpError(THttpFault::Address, "Invalid address: " + why);
}

}  // namespace

std::string TAddress::HostForLookup() const {
  if (Host.size() >= 2 && Host.front() == '[' && Host.back() == ']') {
    return Host.substr(1, Host.size() - 2);
  }
  return Host;
}

TAddress ParseAddress(const std::string& address) {
  // The address goes into the request line and the Host header as it
  // stands, so a blank or a line break in it could forge a request.
  for (unsigned char c : address) {
    if (c <= 0x20 || c >= 0x7F) Invalid("blank, control or non-ASCII character");
  }
  TAddress result;
  std::string rest = address;
  const std::size_t scheme = rest.find("://");
  if (scheme != std::string::npos) {
    result.Protocol = AsciiLower(rest.substr(0, scheme));
    rest.erase(0, scheme + 3);
  } else {
    result.Protocol = "http";
  }
  if (result.Protocol == "http") {
    result.Port = "80";
  } else if (result.Protocol == "https") {
    result.Port = "443";
  } else {
    throw EHttpError(THttpFault::Address, "Unknown protocol: " + result.Protocol);
  }

  const std::size_t hash = rest.find('#');
  if (hash != std::string::npos) rest.erase(hash);
  const std::size_t authorityEnd = rest.find_first_of("/?");
  std::string authority = rest.substr(0, authorityEnd);
  std::string target =
      authorityEnd == std::string::npos ? std::string() : rest.substr(authorityEnd);

  const std::size_t at = authority.rfind('@');
  if (at != std::string::npos) {
    const std::string userInfo = authority.substr(0, at);
    authority.erase(0, at + 1);
    const std::size_t colon = userInfo.find(':');
    result.Username = userInfo.substr(0, colon);
    if (colon != std::string::npos) result.Password = userInfo.substr(colon + 1);
  }

  std::string port;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string::npos) Invalid("unclosed bracket");
    result.Host = authority.substr(0, close + 1);
    const std::string after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') Invalid("text after the bracketed host");
      port = after.substr(1);
    }
    if (result.Host.size() == 2) Invalid("empty host");
  } else {
    const std::size_t colon = authority.find(':');
    result.Host = authority.substr(0, colon);
    if (colon != std::string::npos) port = authority.substr(colon + 1);
  }
  if (result.Host.empty()) Invalid("empty host");
  if (!port.empty()) {
    if (port.size() > 5 || !std::all_of(port.begin(), port.end(), IsDigit)) {
      Invalid("port is not a number");
    }
    const int value = std::stoi(port);
    if (value < 1 || value > 65535) Invalid("port out of range");
    result.Port = std::to_string(value);
  }

  const std::size_t query = target.find('?');
  if (query != std::string::npos) {
    result.Params = target.substr(query);
    target.erase(query);
  }
  if (target.empty()) target = "/";
  const std::size_t lastSlash = target.rfind('/');
  result.Path = target.substr(0, lastSlash + 1);
  result.Document = target.substr(lastSlash + 1);
  return result;
}

}  // namespace http
