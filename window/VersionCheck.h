// The version check: the body of "/pxversion.txt" on the maker's web host,
// compared with the program's own version.
#pragma once

#include <QString>
#include <string>

#include "probex/Version.h"

namespace http {
class THttpClient;
}

namespace window {

// The program's version, as the about box shows it and the check compares it:
// the build's one version (project() in the top-level CMakeLists.txt).
inline constexpr const auto& kProgramVersion = probex::kVersion;

// The maker's web host, fixed when the program is built (a host name, or a
// host and port such as "127.0.0.1:8765").
std::string DefaultVersionHost();

// "http://" + host + "/pxversion.txt".
std::string VersionFileAddress(const std::string& host);

// "A new version is available. Check " + host + ".".
QString NewVersionMessage(const std::string& host);

// A host in the domains reserved never to resolve (".example", ".invalid"):
// asking a name server about it would only leak the question, so the check
// treats it as an unreachable host without a look-up.
bool IsReservedHost(const std::string& host);

enum class TVersionAnswer {
  Current,     // the body is exactly kProgramVersion
  NewVersion,  // any other body, an empty one and a trailing line end included
  Failed,      // no answer: every error of the fetch, swallowed here
};

// Fetches the version file through `client` and compares its whole body,
// byte for byte, with kProgramVersion.  Never raises.  Blocks for as long as
// the fetch takes: the window runs it on a worker thread.
TVersionAnswer CheckVersion(http::THttpClient& client, const std::string& host) noexcept;

}  // namespace window
