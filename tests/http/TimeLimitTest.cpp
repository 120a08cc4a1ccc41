// The time limits: the connection attempt, the wait for data, the shorter
// wait while the body of an error response is read, and the limit of one
// whole Get.  The connect and read limits are tested with the real defaults.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ClientHelpers.h"
#include "ScriptedServer.h"
#include "http/Errors.h"
#include "http/HttpClient.h"

namespace {

using http::THttpClient;
using http_test::Caught;
using http_test::MsSince;
using http_test::Ok;
using http_test::TScriptedServer;
using http_test::TStep;
using http_test::TTestClock;

// A listener on 127.0.0.1 whose accept queue is full: it was made with
// backlog 0 and holds one connection that is never accepted.  The kernel drops
// the handshake of every further attempt, so a connect to it never finishes.
class TFullListener {
 public:
  TFullListener() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 0);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    filler_ = socket(AF_INET, SOCK_STREAM, 0);
    fcntl(filler_, F_SETFL, O_NONBLOCK);
    connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    pollfd entry{filler_, POLLOUT, 0};
    int error = -1;
    socklen_t size = sizeof error;
    filled_ = poll(&entry, 1, 1000) == 1 &&
              getsockopt(filler_, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
  }
  ~TFullListener() {
    close(filler_);
    close(listener_);
  }
  bool Filled() const { return filled_; }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/pxversion.txt"; }

 private:
  int listener_ = -1;
  int filler_ = -1;
  std::uint16_t port_ = 0;
  bool filled_ = false;
};

// The handshake never completes.  "Connect timed out." after about
// 3000 ms, and the worker thread and its socket are gone afterwards.
TEST(TimeLimit, ConnectAttemptEndsAfter3000ms) {
  TFullListener listener;
  ASSERT_TRUE(listener.Filled()) << "the queue-filling connection did not complete";
  THttpClient client;
  const int descriptors = http_test::OpenDescriptors();
  const int threads = http_test::Threads();
  const auto start = TTestClock::now();
  const http::EHttpError error =
      Caught(http::THttpFault::ConnectTimeout, [&] { client.Get(listener.Url()); });
  const long long elapsed = MsSince(start);
  EXPECT_STREQ(error.what(), "Connect timed out.");
  EXPECT_GE(elapsed, 2990);
  EXPECT_LT(elapsed, 3800);
  EXPECT_EQ(http_test::OpenDescriptors(), descriptors);
  EXPECT_EQ(http_test::Threads(), threads);
  EXPECT_FALSE(client.Connected());
}

// The server accepts and stays silent.  "Read Timeout" after
// 3000 ms; its late reply is never read, the next Get gets its own answer.
TEST(TimeLimit, SilentServerGivesReadTimeout) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::Pause(3400), TStep::Send(Ok("late"))},
                          {TStep::ReadRequest(), TStep::Send(Ok("fresh"))}});
  THttpClient client;
  const auto start = TTestClock::now();
  const http::EHttpError error =
      Caught(http::THttpFault::ReadTimeout, [&] { client.Get(server.Url()); });
  const long long elapsed = MsSince(start);
  EXPECT_STREQ(error.what(), "Read Timeout");
  EXPECT_GE(elapsed, 2990);
  EXPECT_LT(elapsed, 3800);
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(client.Get(server.Url()), "fresh");
  EXPECT_EQ(client.ConnectionsOpened(), 2);
}

// 304 announcing 677777 bytes and sending none: the body is waited
// for 2000 ms only, then the error is raised.
TEST(TimeLimit, ErrorBodyIsWaitedFor2000ms) {
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Send("HTTP/1.1 304 Not Modified\r\nContent-Length: 677777\r\n\r\n")}});
  THttpClient client;
  const auto start = TTestClock::now();
  const http::EHttpError error =
      Caught(http::THttpFault::Protocol, [&] { client.Get(server.Url()); });
  const long long elapsed = MsSince(start);
  EXPECT_EQ(error.Code(), 304);
  EXPECT_EQ(error.Body(), "");
  EXPECT_GE(elapsed, 1990);
  EXPECT_LT(elapsed, 2800);
  EXPECT_FALSE(client.Connected());
}

// An error body that stalls.  The error carries what arrived, and
// the shorter wait does not outlive that Get: the next one waits longer than
// it again.  (Limits scaled down to keep the test short.)
TEST(TimeLimit, StalledErrorBodyThenTheFullWaitAgain) {
  http::THttpLimits limits;
  limits.ReadTimeoutMs = 1000;
  limits.ErrorBodyTimeoutMs = 300;
  TScriptedServer server(
      {{TStep::ReadRequest(),
        TStep::Send("HTTP/1.1 404 Not Found\r\nContent-Length: 100\r\n\r\nabcde")},
       {TStep::ReadRequest(), TStep::Pause(600), TStep::Send(Ok("in time"))}});
  THttpClient client(limits);
  const auto start = TTestClock::now();
  const http::EHttpError error =
      Caught(http::THttpFault::Protocol, [&] { client.Get(server.Url()); });
  const long long elapsed = MsSince(start);
  EXPECT_EQ(error.Code(), 404);
  EXPECT_EQ(error.Body(), "abcde");
  EXPECT_GE(elapsed, 290);
  EXPECT_LT(elapsed, 900);
  EXPECT_EQ(client.Get(server.Url()), "in time");
}

TEST(TimeLimit, WholeGetIsBoundedWithScaledLimits) {
  http::THttpLimits limits;
  limits.GetDeadlineMs = 800;
  TScriptedServer server({{TStep::ReadRequest(), TStep::SendSlowly(Ok("1.0.0.1"), 200)}});
  THttpClient client(limits);
  const auto start = TTestClock::now();
  const http::EHttpError error =
      Caught(http::THttpFault::RequestTimeout, [&] { client.Get(server.Url()); });
  const long long elapsed = MsSince(start);
  EXPECT_STREQ(error.what(), "Request not completed within 800 ms.");
  EXPECT_GE(elapsed, 790);
  EXPECT_LT(elapsed, 1500);
  EXPECT_FALSE(client.Connected());
}

// One byte every 2.5 s never trips the 3000 ms wait; the limit of
// the whole Get (10 s) ends it.  The one test that runs longer than 4 s.
TEST(TimeLimit, TricklingServerMeetsTheOverallDeadline) {
  TScriptedServer server({{TStep::ReadRequest(), TStep::SendSlowly(Ok("1.0.0.1"), 2500)}});
  THttpClient client;
  const auto start = TTestClock::now();
  const http::EHttpError error =
      Caught(http::THttpFault::RequestTimeout, [&] { client.Get(server.Url()); });
  const long long elapsed = MsSince(start);
  EXPECT_STREQ(error.what(), "Request not completed within 10000 ms.");
  EXPECT_GE(elapsed, 9990);
  EXPECT_LT(elapsed, 11000);
  EXPECT_FALSE(client.Connected());
}

}  // namespace
