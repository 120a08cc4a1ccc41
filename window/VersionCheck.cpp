#include "window/VersionCheck.h"

#include "http/Ascii.h"
#include "http/HttpClient.h"

// The web host is a build setting (PROBEX_VERSION_HOST in window/CMakeLists.txt).
#ifndef PROBEX_VERSION_HOST
#error "PROBEX_VERSION_HOST must name the web host of the version file"
#endif

namespace window {

namespace {

constexpr char kVersionFilePath[] = "/pxversion.txt";

bool EndsWithLabel(const std::string& name, const std::string& label) {
  if (name == label) return true;
  const std::string suffix = "." + label;
  return name.size() > suffix.size() &&
         name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::string DefaultVersionHost() {
  return PROBEX_VERSION_HOST;
}

std::string VersionFileAddress(const std::string& host) {
  return "http://" + host + kVersionFilePath;
}

QString NewVersionMessage(const std::string& host) {
  return QStringLiteral("A new version is available. Check ") + QString::fromStdString(host) +
         QLatin1Char('.');
}

bool IsReservedHost(const std::string& host) {
  // The name without a port and without the final dot of a fully qualified
  // name, in lower case by the ASCII rules (the locale's rules could turn
  // "INVALID" into something else).  An IPv6 literal ("[::1]:80") is no name.
  if (host.empty() || host.front() == '[') return false;
  std::string name = http::AsciiLower(host.substr(0, host.find(':')));
  if (!name.empty() && name.back() == '.') name.pop_back();
  return EndsWithLabel(name, "example") || EndsWithLabel(name, "invalid");
}

TVersionAnswer CheckVersion(http::THttpClient& client, const std::string& host) noexcept {
  try {
    if (IsReservedHost(host)) return TVersionAnswer::Failed;
    const std::string body = client.Get(VersionFileAddress(host));
    return body == kProgramVersion ? TVersionAnswer::Current : TVersionAnswer::NewVersion;
  } catch (...) {
    return TVersionAnswer::Failed;
  }
}

}  // namespace window
