// The request: its header values and its exact bytes.
#pragma once

#include <string>

namespace http {

// Values of the request headers.  Every header with a non-empty value is
// sent, in the order of the members below; Cookie comes last.  The defaults
// are those of the version check.
struct TRequestHeaders {
  std::string Connection;
  std::string ContentVersion;
  std::string ContentEncoding;
  std::string ContentLanguage;
  std::string ContentType = "text/html";
  std::string ContentLength;  // a GET sends no body, so this stays empty
  std::string CacheControl;
  std::string Date;
  std::string Expires;
  std::string Pragma;
  std::string ProxyConnection;
  std::string Host;  // set from the address by every Get
  std::string Accept = "text/html, */*";
  std::string AcceptCharset;
  std::string AcceptEncoding;
  std::string AcceptLanguage;
  std::string From;
  std::string Referer;
  std::string UserAgent = "Mozilla/3.0 (compatible; Probex)";
  std::string IfModifiedSince;
  std::string Range;
  std::string Authorization;
  std::string ProxyAuthorization;
};

// "GET " target " HTTP/1.1", the header lines with a value in the fixed
// order, "Cookie: " cookie when cookie is not empty, and an empty line, every
// line ended by CR LF.  Raises HeaderValue when a value holds CR, LF or
// NUL, which would end the line early and forge another header.
std::string ComposeRequest(const std::string& target, const TRequestHeaders& headers,
                           const std::string& cookie);

}  // namespace http
