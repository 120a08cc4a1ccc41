// Address parsing, the Host value and the exact bytes of a request.
#include <gtest/gtest.h>

#include "ClientHelpers.h"
#include "http/Address.h"
#include "http/Errors.h"
#include "http/Request.h"

namespace {

using http::ParseAddress;
using http::TAddress;

struct TAddressRow {
  const char* Label;
  const char* Address;
  const char* Protocol;
  const char* Host;
  const char* Port;
  const char* Target;
  const char* HostValue;
};

TEST(Address, PartsAndHostValue) {
  const TAddressRow rows[] = {
      {"version file", "http://www.example.com/pxversion.txt", "http", "www.example.com", "80",
       "/pxversion.txt", "www.example.com"},
      {"explicit port 80 is left out", "http://example.com:80/pxversion.txt", "http", "example.com",
       "80", "/pxversion.txt", "example.com"},
      {"other port is kept", "http://127.0.0.1:8080/pxversion.txt", "http", "127.0.0.1", "8080",
       "/pxversion.txt", "127.0.0.1:8080"},
      {"no protocol means http", "example.com/a/b.txt", "http", "example.com", "80", "/a/b.txt",
       "example.com"},
      {"protocol in capitals", "HTTP://example.com/", "http", "example.com", "80", "/",
       "example.com"},
      {"no path", "http://example.com", "http", "example.com", "80", "/", "example.com"},
      {"parameters kept", "http://h/dir/doc.txt?a=1&b=2", "http", "h", "80", "/dir/doc.txt?a=1&b=2",
       "h"},
      {"parameters without path", "http://h?x=1", "http", "h", "80", "/?x=1", "h"},
      {"fragment dropped", "http://h/doc.txt#top", "http", "h", "80", "/doc.txt", "h"},
      {"user and password not in the host", "http://user:secret@h:81/x", "http", "h", "81", "/x",
       "h:81"},
      {"empty port means the default", "http://h:/x", "http", "h", "80", "/x", "h"},
      {"leading zeros of a port", "http://h:0081/x", "http", "h", "81", "/x", "h:81"},
      {"IPv6 literal", "http://[::1]:8080/x", "http", "[::1]", "8080", "/x", "[::1]:8080"},
      {"https default port", "https://h/x", "https", "h", "443", "/x", "h:443"},
  };
  for (const TAddressRow& row : rows) {
    SCOPED_TRACE(row.Label);
    const TAddress address = ParseAddress(row.Address);
    EXPECT_EQ(address.Protocol, row.Protocol);
    EXPECT_EQ(address.Host, row.Host);
    EXPECT_EQ(address.Port, row.Port);
    EXPECT_EQ(address.Target(), row.Target);
    EXPECT_EQ(address.HostValue(), row.HostValue);
  }
}

TEST(Address, PathDocumentParamsAndCredentials) {
  const TAddress address = ParseAddress("http://me:pw@h/dir/sub/doc.txt?q=1");
  EXPECT_EQ(address.Username, "me");
  EXPECT_EQ(address.Password, "pw");
  EXPECT_EQ(address.Path, "/dir/sub/");
  EXPECT_EQ(address.Document, "doc.txt");
  EXPECT_EQ(address.Params, "?q=1");
  EXPECT_EQ(ParseAddress("http://[::1]/").HostForLookup(), "::1");
  EXPECT_EQ(ParseAddress("http://h/").HostForLookup(), "h");
}

TEST(Address, UnparsableAddressesAreErrors) {
  const struct {
    const char* Label;
    const char* Address;
  } rows[] = {
      {"empty", ""},
      {"unknown protocol", "ftp://h/x"},
      {"empty host", "http:///x"},
      {"empty host before port", "http://:81/x"},
      {"port zero", "http://h:0/x"},
      {"port too large", "http://h:65536/x"},
      {"port not a number", "http://h:8o/x"},
      {"port with sign", "http://h:-1/x"},
      {"unclosed bracket", "http://[::1/x"},
      {"text after bracket", "http://[::1]x/"},
      {"empty brackets", "http://[]/x"},
      {"blank in path", "http://h/a b"},
      {"line break in path", "http://h/a\r\nX: y"},
      {"control character", "http://h/a\x01"},
      {"non-ASCII byte", "http://h/\xc3\xa4"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    EXPECT_FAULT(ParseAddress(row.Address), Address);
  }
}

TEST(Request, DefaultRequestIsExact) {
  http::TRequestHeaders headers;
  headers.Host = "www.example.com";
  EXPECT_EQ(http::ComposeRequest("/pxversion.txt", headers, ""),
            "GET /pxversion.txt HTTP/1.1\r\n"
            "Content-Type: text/html\r\n"
            "Host: www.example.com\r\n"
            "Accept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Probex)\r\n"
            "\r\n");
}

TEST(Request, EveryHeaderInTheFixedOrderCookieLast) {
  http::TRequestHeaders h;
  h.Connection = "1";
  h.ContentVersion = "2";
  h.ContentEncoding = "3";
  h.ContentLanguage = "4";
  h.ContentType = "5";
  h.ContentLength = "6";
  h.CacheControl = "7";
  h.Date = "8";
  h.Expires = "9";
  h.Pragma = "10";
  h.ProxyConnection = "11";
  h.Host = "12";
  h.Accept = "13";
  h.AcceptCharset = "14";
  h.AcceptEncoding = "15";
  h.AcceptLanguage = "16";
  h.From = "17";
  h.Referer = "18";
  h.UserAgent = "19";
  h.IfModifiedSince = "20";
  h.Range = "21";
  h.Authorization = "22";
  h.ProxyAuthorization = "23";
  EXPECT_EQ(http::ComposeRequest("/", h, "a=b"),
            "GET / HTTP/1.1\r\nConnection: 1\r\nContent-Version: 2\r\nContent-Encoding: 3\r\n"
            "Content-Language: 4\r\nContent-Type: 5\r\nContent-Length: 6\r\nCache-control: 7\r\n"
            "Date: 8\r\nExpires: 9\r\nPragma: 10\r\nProxy-Connection: 11\r\nHost: 12\r\n"
            "Accept: 13\r\nAccept-Charset: 14\r\nAccept-Encoding: 15\r\nAccept-Language: 16\r\n"
            "From: 17\r\nReferer: 18\r\nUser-Agent: 19\r\nIf-Modified-Since: 20\r\nRange: 21\r\n"
            "Authorization: 22\r\nProxy-Authorization: 23\r\nCookie: a=b\r\n\r\n");
}

TEST(Request, HeaderValueWithLineBreakIsRefused) {
  for (const std::string& value : {std::string("x\r\nEvil: 1"), std::string("x\ny"),
                                   std::string("x\ry"), std::string("x\0y", 3)}) {
    http::TRequestHeaders headers;
    headers.UserAgent = value;
    EXPECT_FAULT(http::ComposeRequest("/", headers, ""), HeaderValue);
  }
}

}  // namespace
