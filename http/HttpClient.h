// The HTTP client of the version check: a blocking GET over HTTP/1.1.
//
// Get(address) runs on the caller's thread and returns the body of a success
// response as it came (no character-set conversion), or raises one of the
// errors of http/Errors.h.  Its steps:
//   1. parse the address; the Host value is the host, with ":port" unless
//      the port is 80;
//   2. keep the open connection when it leads to the same host and port and
//      is idle (the server has neither closed it nor sent stray bytes),
//      otherwise close it and connect anew (http/Socket.h: a worker thread,
//      3000 ms);
//   3. send the request in one write (http/Request.h);
//   4. read the status line and header block, skipping interim 100
//      responses, and store the cookies they set (http/Cookies.h);
//   5. a redirect (3xx but 304, or any Location), or a code outside 200 to
//      299: read the body with the wait lowered to 2000 ms and raise
//      the Protocol fault carrying it.  Redirects are not followed and no
//      credentials are tried;
//   6. otherwise read the body (none for 204) by its framing
//      (http/ResponseParser.h);
//   7. keep the connection for the next Get unless the server closed it,
//      said "Connection: close", or sent more than the response.
// Every wait for data is limited to 3000 ms and the whole Get to 10 s (the
// constants of http/Limits.h).  After any error the client is disconnected.
//
// The client object lives as long as its window: an open connection and the
// cookies carry over from one Get to the next.
#pragma once

#include <string>

#include "http/Cookies.h"
#include "http/Limits.h"
#include "http/Request.h"
#include "http/ResponseParser.h"
#include "http/Socket.h"

namespace http {

struct TAddress;

class THttpClient {
 public:
  THttpClient() : THttpClient(THttpLimits()) {}
  explicit THttpClient(const THttpLimits& limits);
  THttpClient(const THttpClient&) = delete;
  THttpClient& operator=(const THttpClient&) = delete;

  std::string Get(const std::string& address);
  void Disconnect() { socket_.Close(); }

  // Header values sent with every request (Host is set by Get).
  TRequestHeaders Request;

  // A connection is open.  The server may have closed it since; the next Get
  // notices that and connects anew.
  bool Connected() const { return socket_.IsOpen(); }
  // Connections opened since the client was created.
  int ConnectionsOpened() const { return connectionsOpened_; }
  // The last response head read (the final one after interim responses).
  const TResponseHead& Response() const { return response_; }
  const TCookieStore& Cookies() const { return cookies_; }
  const THttpLimits& Limits() const { return limits_; }

 private:
  std::string Perform(const std::string& text, TClock::time_point deadline);
  void Connect(const TAddress& address, TClock::time_point deadline);

  THttpLimits limits_;
  TSocket socket_;
  std::string connectedHost_;
  std::string connectedPort_;
  int connectionsOpened_ = 0;
  TResponseHead response_;
  TCookieStore cookies_;
};

}  // namespace http
