// The client against a scripted server on 127.0.0.1: the exact request, the
// body framings, keep-alive and reconnection, cookies, the decision on
// non-success responses, the caps, and that every error leaves the client
// disconnected.  Time limits have their own file.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "ClientHelpers.h"
#include "ScriptedServer.h"
#include "http/Errors.h"
#include "http/HttpClient.h"
#include "http/Socket.h"

namespace {

using namespace std::string_literals;
using http::THttpClient;
using http_test::Caught;
using http_test::MsSince;
using http_test::Ok;
using http_test::Response;
using http_test::TScriptedServer;
using http_test::TStep;
using http_test::TTestClock;

const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// The version file: seven bytes, returned without waiting for the server to
// close the connection.
TEST(Client, VersionFileByContentLength) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send(Ok("1.0.0.1"))}});
  THttpClient client;
  const auto start = TTestClock::now();
  EXPECT_EQ(client.Get(server.Url()), "1.0.0.1");
  EXPECT_LT(MsSince(start), 1000);
  EXPECT_TRUE(client.Connected());
  EXPECT_EQ(client.Response().StatusCode, 200);
}

// The reply sent one byte per send: the outcome does not depend on how the
// bytes arrive.
TEST(Client, ResponseSentOneBytePerSend) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::SendSlowly("HTTP/1.1 100 Continue\r\n\r\n" + Ok("1.0.0.1"), 0),
        TStep::ReadRequest(),
        TStep::SendSlowly(kChunkedHead + "3 ;x\r\nabc\r\n0\r\nT: 1\r\n\r\n", 0)}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "1.0.0.1");
  EXPECT_EQ(client.Get(server.Url()), "abc");
  EXPECT_EQ(client.ConnectionsOpened(), 1);
}

// The request for the version file, line by line, with the server's port in
// the Host line and an optional Cookie line.
std::string VersionFileRequest(const TScriptedServer& server, const std::string& cookie = "") {
  std::string request = "GET /pxversion.txt HTTP/1.1\r\n";
  request += "Content-Type: text/html\r\n";
  request += "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
  request += "Accept: text/html, */*\r\n";
  request += "User-Agent: Mozilla/3.0 (compatible; Probex)\r\n";
  if (!cookie.empty()) request += "Cookie: " + cookie + "\r\n";
  request += "\r\n";
  return request;
}

TEST(Client, RequestBytesAreExact) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send(Ok("x"))}});
  THttpClient client;
  client.Get(server.Url());
  EXPECT_EQ(server.Received(0), VersionFileRequest(server));
}

TEST(Client, SettableHeadersAreSentInTheirPlace) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send(Ok("x"))}});
  THttpClient client;
  client.Request.AcceptLanguage = "en";
  client.Request.ContentType.clear();
  client.Get(server.Url("/a?b=1"));
  std::string expected = "GET /a?b=1 HTTP/1.1\r\n";
  expected += "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
  expected += "Accept: text/html, */*\r\n";
  expected += "Accept-Language: en\r\n";
  expected += "User-Agent: Mozilla/3.0 (compatible; Probex)\r\n";
  expected += "\r\n";
  EXPECT_EQ(server.Received(0), expected);
}

TEST(Client, LocalhostIsLookedUp) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send(Ok("1.0.0.1"))}});
  THttpClient client;
  EXPECT_EQ(client.Get("http://localhost:" + std::to_string(server.Port()) + "/pxversion.txt"),
            "1.0.0.1");
}

TEST(Client, CookieSetByOneResponseIsSentOnTheNext) {
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Send(
            Response("HTTP/1.1 200 OK", {"Set-Cookie: sid=42; Path=/", "Content-Length: 1"}, "a")),
        TStep::ReadRequest(), TStep::Send(Ok("b"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "a");
  EXPECT_EQ(client.Get(server.Url()), "b");
  const std::string received = server.Received(0);
  const std::size_t split = received.find("\r\n\r\n") + 4;
  const std::string first = received.substr(0, split);
  const std::string second = received.substr(split);
  EXPECT_EQ(first, VersionFileRequest(server));
  EXPECT_EQ(second, VersionFileRequest(server, "sid=42"));
}

// Two Gets in a row against a server that keeps the connection: one accept.
TEST(Client, KeepAliveReusesOneConnection) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send(Ok("first")), TStep::ReadRequest(),
                           TStep::Send(Ok("second"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "first");
  EXPECT_EQ(client.Get(server.Url()), "second");
  EXPECT_EQ(server.Accepted(), 1);
  EXPECT_EQ(client.ConnectionsOpened(), 1);
}

TEST(Client, ChunkedBodyWithExtensions) {
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Send(kChunkedHead + "7 ;a=b\r\n1.0.0.1\r\n2;ext=x\r\n!!\r\n0\r\n\r\n")}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "1.0.0.1!!");
  EXPECT_TRUE(client.Connected());
}

// Trailers after the last chunk, then a second Get on the same
// connection must read a proper status line.
TEST(Client, ChunkedTrailersKeepTheConnectionInStep) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send(kChunkedHead + "3\r\nabc\r\n0\r\nX-Sum: 9\r\n\r\n"),
        TStep::ReadRequest(), TStep::Send(Ok("second"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "abc");
  EXPECT_EQ(client.Get(server.Url()), "second");
  EXPECT_EQ(client.ConnectionsOpened(), 1);
}

TEST(Client, BodyWithoutLengthRunsToTheClose) {
  TScriptedServer server({{TStep::ReadRequest(),
                           TStep::Send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n"
                                       "line 1\r\nline 2\r\n"),
                           TStep::Close()}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "line 1\r\nline 2\r\n");
  EXPECT_FALSE(client.Connected());
}

TEST(Client, NulBytesReturnedExactly) {
  const std::string body = "1.0\0.0\0.1"s;
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Send(Response("HTTP/1.1 200 OK", {"X-Nul: a\0b"s, "Content-Length: 9"}, body))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), body);
}

TEST(Client, NoContentReadsNoBody) {
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Send("HTTP/1.1 204 No Content\r\nTransfer-Encoding: chunked\r\n\r\n")}});
  THttpClient client;
  const auto start = TTestClock::now();
  EXPECT_EQ(client.Get(server.Url()), "");
  EXPECT_LT(MsSince(start), 1000);
}

TEST(Client, HundredThenTwoHundred) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send("HTTP/1.1 100 Continue\r\n\r\n" + Ok("1.0.0.1"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "1.0.0.1");
  EXPECT_EQ(client.Response().StatusLine, "HTTP/1.1 200 OK");
}

// Redirects are not followed and a non-success code is an error; the error
// comes after the body has been read and carries it.
TEST(Client, NonSuccessResponsesAreErrorsAfterTheBody) {
  const struct {
    const char* Label;
    std::string StatusLine;
    std::string Location;
    int Code;
  } rows[] = {
      {"moved permanently", "HTTP/1.1 301 Moved Permanently", "Location: http://127.0.0.1/", 301},
      {"found", "HTTP/1.1 302 Found", "Location: http://127.0.0.1/", 302},
      {"redirect without Location", "HTTP/1.1 307 Temporary Redirect", "X-None: 1", 307},
      {"not found", "HTTP/1.1 404 Not Found", "X-None: 1", 404},
      {"unauthorized", "HTTP/1.1 401 Unauthorized", "WWW-Authenticate: Basic realm=x", 401},
      {"success with Location", "HTTP/1.1 200 OK", "Location: http://127.0.0.1/elsewhere", 200},
      {"early hints", "HTTP/1.1 103 Early Hints", "X-None: 1", 103},
      {"no number", "HTTP/1.1 OK", "X-None: 1", -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    TScriptedServer server(
        {{TStep::ReadRequest(),
          TStep::Send(Response(row.StatusLine, {row.Location, "Content-Length: 5"}, "moved"))}});
    THttpClient client;
    const auto start = TTestClock::now();
    const http::EHttpError error =
        Caught(http::THttpFault::Protocol, [&] { client.Get(server.Url()); });
    EXPECT_LT(MsSince(start), 1000);
    EXPECT_EQ(error.Code(), row.Code);
    EXPECT_EQ(std::string(error.what()), row.StatusLine);
    EXPECT_EQ(error.Body(), "moved");
    EXPECT_FALSE(client.Connected());
  }
}

TEST(Client, NotModifiedIsAnError) {
  TScriptedServer server({{TStep::ReadRequest(),
                           TStep::Send("HTTP/1.1 304 Not Modified\r\nContent-Length: 0\r\n\r\n")}});
  THttpClient client;
  EXPECT_EQ(Caught(http::THttpFault::Protocol, [&] { client.Get(server.Url()); }).Code(), 304);
}

TEST(Client, EarlyHintsThenSuccessIsAnError) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send("HTTP/1.1 103 Early Hints\r\n\r\n" + Ok("1.0.0.1")),
        TStep::Close()}});
  THttpClient client;
  EXPECT_EQ(Caught(http::THttpFault::Protocol, [&] { client.Get(server.Url()); }).Code(), 103);
}

TEST(Client, HundredThenCloseIsAnError) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send("HTTP/1.1 100 Continue\r\n\r\n"), TStep::Close()}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), ConnectionClosed);
  EXPECT_FALSE(client.Connected());
}

TEST(Client, ConnectionCloseHeaderEndsTheConnection) {
  const struct {
    const char* Header;
    bool Kept;
  } rows[] = {
      {"Connection:   CLOSE ", false},    {"Connection: close", false},
      {"Proxy-Connection: Close", false}, {"Connection: keep-alive, close", false},
      {"Connection: keep-alive", true},   {"X-Other: close", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Header);
    TScriptedServer server(
        {{TStep::ReadRequest(),
          TStep::Send(Response("HTTP/1.1 200 OK", {row.Header, "Content-Length: 2"}, "ok"))}});
    THttpClient client;
    EXPECT_EQ(client.Get(server.Url()), "ok");
    EXPECT_EQ(client.Connected(), row.Kept);
  }
}

TEST(Client, HeaderLineOf16385CharactersIsTooLong) {
  for (const std::size_t length : {16384u, 16385u}) {
    SCOPED_TRACE(length);
    TScriptedServer server(
        {{TStep::ReadRequest(),
          TStep::Send(Response("HTTP/1.1 200 OK",
                               {"X-Long: " + std::string(length - 8, 'a'), "Content-Length: 2"},
                               "ok"))}});
    THttpClient client;
    if (length == 16384) {
      EXPECT_EQ(client.Get(server.Url()), "ok");
    } else {
      EXPECT_STREQ(Caught(http::THttpFault::LineTooLong, [&] { client.Get(server.Url()); }).what(),
                   "Max line length exceeded.");
      EXPECT_FALSE(client.Connected());
    }
  }
}

TEST(Client, StatusLineThatIsNotHttpIsAnError) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send("SSH-2.0-OpenSSH_9.2\r\n")}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), BadStatusLine);
  EXPECT_FALSE(client.Connected());
}

TEST(Client, UnparsableAddressIsAnErrorWithoutConnecting) {
  THttpClient client;
  for (const char* address : {"http://127.0.0.1:99999/x", "ftp://127.0.0.1/x", "http:///x",
                              "http://127.0.0.1/a b", "https://127.0.0.1/pxversion.txt"}) {
    SCOPED_TRACE(address);
    EXPECT_FAULT(client.Get(address), Address);
  }
  EXPECT_EQ(client.ConnectionsOpened(), 0);
}

// 10 MiB without a length, then close: the reading stops at the cap.
TEST(Client, BodyWithoutLengthStopsAtTheCap) {
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Flood("HTTP/1.1 200 OK\r\n\r\n", std::string(65536, 'x'), 10 << 20),
        TStep::Close()}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), BodyTooLarge);
  EXPECT_FALSE(client.Connected());
}

TEST(Client, EndlessChunkedBodyStopsAtTheCap) {
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Flood(kChunkedHead, "1000\r\n" + std::string(0x1000, 'c') + "\r\n", 10 << 20)}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), BodyTooLarge);
  EXPECT_FALSE(client.Connected());
}

TEST(Client, HugeContentLengthIsRefusedAtOnce) {
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Send("HTTP/1.1 200 OK\r\nContent-Length: 20000000000\r\n\r\nabc"), TStep::Close()}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), BodyTooLarge);
  EXPECT_FALSE(client.Connected());
}

TEST(Client, ManyHeaderLinesStopAtTheCap) {
  std::string head = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 1750; ++i) head += "X-" + std::to_string(i) + ": y\r\n";
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send(head + "Content-Length: 0\r\n\r\n")}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), TooManyHeaderLines);
  EXPECT_FALSE(client.Connected());
}

TEST(Client, OversizedCookieIsAnError) {
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Send(Response("HTTP/1.1 200 OK",
                             {"Set-Cookie: big=" + std::string(5000, 'c'), "Content-Length: 1"},
                             "a"))}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), CookieTooLarge);
  EXPECT_FALSE(client.Connected());
}

// A body cut short by the close is an error, and the next Get connects anew.
TEST(Client, ContentLengthCutShortIsAnError) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"),
        TStep::Close()},
       {TStep::ReadRequest(), TStep::Send(Ok("whole"))}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), BodyCutShort);
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(client.Get(server.Url()), "whole");
  EXPECT_EQ(client.ConnectionsOpened(), 2);
}

TEST(Client, ChunkedClosedInsideAChunkIsAnError) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send(kChunkedHead + "a\r\n12345"), TStep::Close()}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), BodyCutShort);
  EXPECT_FALSE(client.Connected());
}

TEST(Client, IllegalChunkSizeIsAnError) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send(kChunkedHead + "nothex\r\nabc\r\n")}});
  THttpClient client;
  EXPECT_FAULT(client.Get(server.Url()), ChunkIllegalHex);
  EXPECT_FALSE(client.Connected());
}

// More bytes than the Content-Length, in the same segment: they are
// never taken as the next answer; the next Get connects anew.
TEST(Client, BytesBeyondTheBodyAreNeverTheNextAnswer) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send(Ok("abc") + Ok("stale")), TStep::AwaitClientClose(3000)},
       {TStep::ReadRequest(), TStep::Send(Ok("fresh")), TStep::ReadRequest(),
        TStep::Send(Ok("third"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "abc");
  EXPECT_EQ(client.Get(server.Url()), "fresh");
  EXPECT_EQ(client.Get(server.Url()), "third");
  EXPECT_EQ(client.ConnectionsOpened(), 2);
  EXPECT_TRUE(server.WaitForSteps(0, 4, 2000));
  EXPECT_TRUE(server.ClientClosed(0));
}

// The same with the stray bytes arriving after the response, while the
// connection is idle.
TEST(Client, StrayBytesOnAnIdleConnectionForceAReconnect) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send(Ok("abc")), TStep::Pause(50), TStep::Send(Ok("stale"))},
       {TStep::ReadRequest(), TStep::Send(Ok("fresh"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "abc");
  ASSERT_TRUE(server.WaitForSteps(0, 5, 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(client.Get(server.Url()), "fresh");
  EXPECT_EQ(client.ConnectionsOpened(), 2);
}

// Keep-alive (b): the server closes the idle connection between two Gets.
TEST(Client, ServerClosedIdleConnectionIsReplaced) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Send(Ok("first")), TStep::Close()},
                          {TStep::ReadRequest(), TStep::Send(Ok("second"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "first");
  ASSERT_TRUE(server.WaitForSteps(0, 4, 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(client.Get(server.Url()), "second");
  EXPECT_EQ(client.ConnectionsOpened(), 2);
}

// Keep-alive (c): the server takes the request and drops the connection
// without an answer: an error now, a fresh connection next time.
TEST(Client, ServerDroppingTheConnectionAfterOurSend) {
  for (const TStep& drop : {TStep::Close(), TStep::Reset()}) {
    TScriptedServer server(
        {{TStep::ReadRequest(), TStep::Send(Ok("first")), TStep::ReadRequest(), drop},
         {TStep::ReadRequest(), TStep::Send(Ok("third"))}});
    THttpClient client;
    EXPECT_EQ(client.Get(server.Url()), "first");
    EXPECT_THROW(client.Get(server.Url()), http::EHttpError);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.Get(server.Url()), "third");
  }
}

// Keep-alive (d): part of the body, then the close.
TEST(Client, PartialBodyThenCloseOnAKeptConnection) {
  TScriptedServer server(
      {{TStep::ReadRequest(), TStep::Send(Ok("first")), TStep::ReadRequest(),
        TStep::Send("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n1.0"), TStep::Close()},
       {TStep::ReadRequest(), TStep::Send(Ok("1.0.0.1"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(server.Url()), "first");
  EXPECT_FAULT(client.Get(server.Url()), BodyCutShort);
  EXPECT_EQ(client.Get(server.Url()), "1.0.0.1");
  EXPECT_EQ(client.ConnectionsOpened(), 2);
}

TEST(Client, OtherHostOrPortClosesTheOldConnection) {
  TScriptedServer first(
      {{TStep::ReadRequest(), TStep::Send(Ok("one")), TStep::AwaitClientClose(3000)}});
  TScriptedServer second({{TStep::ReadRequest(), TStep::Send(Ok("two"))}});
  THttpClient client;
  EXPECT_EQ(client.Get(first.Url()), "one");
  EXPECT_EQ(client.Get(second.Url()), "two");
  EXPECT_EQ(client.ConnectionsOpened(), 2);
  EXPECT_TRUE(first.WaitForSteps(0, 4, 2000));
  EXPECT_TRUE(first.ClientClosed(0));
}

// Nothing listens on the port.  The error comes at once, with the
// system's text, and a thousand attempts leave no descriptor or thread behind.
TEST(Client, RefusedConnectionLeaksNothing) {
  // A bound socket that does not listen keeps the port from anyone else and
  // answers every connection attempt with a reset.
  const int holder = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";

  THttpClient client;
  const auto firstStart = TTestClock::now();
  const http::EHttpError first = Caught(http::THttpFault::Socket, [&] { client.Get(url); });
  EXPECT_LT(MsSince(firstStart), 500);
  EXPECT_EQ(first.Code(), ECONNREFUSED);
  EXPECT_STREQ(first.what(), http::ErrorText(ECONNREFUSED).c_str());

  const int descriptors = http_test::OpenDescriptors();
  const int threads = http_test::Threads();
  const auto start = TTestClock::now();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(http_test::FaultOf([&] { client.Get(url); }), http::THttpFault::Socket);
  }
  // Waiting out even one 125 ms slice per attempt would take two minutes.
  EXPECT_LT(MsSince(start), 15000);
  EXPECT_EQ(http_test::OpenDescriptors(), descriptors);
  EXPECT_EQ(http_test::Threads(), threads);
  EXPECT_EQ(client.ConnectionsOpened(), 0);
  close(holder);
}

// Writing to a connection the server has reset raises an error; without
// MSG_NOSIGNAL the second write would end the process with SIGPIPE.
TEST(Socket, SendToAResetConnectionIsAnErrorNotASignal) {
  TScriptedServer server({{TStep::Pause(200), TStep::Reset()}});
  http::TSocket socket = http::ConnectTo("127.0.0.1", std::to_string(server.Port()), 3000, 125);
  ASSERT_TRUE(server.WaitForSteps(0, 3, 2000));
  pollfd entry{socket.Fd(), POLLIN, 0};
  ASSERT_EQ(poll(&entry, 1, 2000), 1);
  const http::TWaitLimit limit{3000, http::TClock::now() + std::chrono::seconds(10), 10000};
  for (int i = 0; i < 3; ++i) {
    EXPECT_FAULT(socket.SendAll("GET / HTTP/1.1\r\n\r\n", limit), Socket);
  }
}

}  // namespace
