#include "http/Request.h"

#include <initializer_list>
#include <utility>

#include "http/Errors.h"

namespace http {

namespace {

void AddLine(std::string& request, const char* name, const std::string& value) {
  if (value.empty()) return;
  if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    throw EHttpError(THttpFault::HeaderValue);
  }
  request += name;
  request += ": ";
  request += value;
  request += "\r\n";
}

}  // namespace

std::string ComposeRequest(const std::string& target, const TRequestHeaders& headers,
                           const std::string& cookie) {
  std::string request = "GET " + target + " HTTP/" + "1.1" + "\r\n";
  const std::initializer_list<std::pair<const char*, const std::string&>> lines = {
      {"Connection", headers.Connection},
      {"Content-Version", headers.ContentVersion},
      {"Content-Encoding", headers.ContentEncoding},
      {"Content-Language", headers.ContentLanguage},
      {"Content-Type", headers.ContentType},
      {"Content-Length", headers.ContentLength},
      {"Cache-control", headers.CacheControl},
      {"Date", headers.Date},
      {"Expires", headers.Expires},
      {"Pragma", headers.Pragma},
      {"Proxy-Connection", headers.ProxyConnection},
      {"Host", headers.Host},
      {"Accept", headers.Accept},
      {"Accept-Charset", headers.AcceptCharset},
      {"Accept-Encoding", headers.AcceptEncoding},
      {"Accept-Language", headers.AcceptLanguage},
      {"From", headers.From},
      {"Referer", headers.Referer},
      {"User-Agent", headers.UserAgent},
      {"If-Modified-Since", headers.IfModifiedSince},
      {"Range", headers.Range},
      {"Authorization", headers.Authorization},
      {"Proxy-Authorization", headers.ProxyAuthorization},
      {"Cookie", cookie},
  };
  for (const auto& [name, value] : lines) AddLine(request, name, value);
  request += "\r\n";
  return request;
}

}  // namespace http
