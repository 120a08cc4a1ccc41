#include "http/HttpClient.h"

#include <utility>

#include "http/Address.h"
#include "http/Ascii.h"
#include "http/Errors.h"

namespace http {

namespace {

using std::chrono::milliseconds;

TCookieTime Now() {
  return std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
}

// The connection as the parser's byte source, with the current wait limit.
class TSocketSource : public TByteSource {
 public:
  TSocketSource(TSocket& socket, const TWaitLimit& limit) : socket_(socket), limit_(limit) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    return socket_.Receive(buffer, size, limit_);
  }
  void SetWait(int waitMs) { limit_.WaitMs = waitMs; }

 private:
  TSocket& socket_;
  TWaitLimit limit_;
};

bool IsSuccess(const TResponseHead& head) {
  return !head.IsRedirect() && head.StatusCode >= 200 && head.StatusCode <= 299;
}

}  // namespace

THttpClient::THttpClient(const THttpLimits& limits)
    : limits_(limits),
      cookies_(limits.MaxCookies, limits.MaxCookieBytes, limits.MaxCookieHeaderBytes) {}

std::string THttpClient::Get(const std::string& address) {
  const TClock::time_point deadline = TClock::now() + milliseconds(limits_.GetDeadlineMs);
  try {
    return Perform(address, deadline);
  } catch (...) {
    // Whatever is left on the connection (a late reply, the rest of a body)
    // must never be read as the answer to the next request.
    Disconnect();
    throw;
  }
}

void THttpClient::Connect(const TAddress& address, TClock::time_point deadline) {
  const auto left = std::chrono::ceil<milliseconds>(deadline - TClock::now()).count();
  if (left <= 0) throw EHttpError(THttpFault::RequestTimeout, limits_.GetDeadlineMs);
  const bool deadlineFirst = left < limits_.ConnectTimeoutMs;
  const int timeoutMs = deadlineFirst ? static_cast<int>(left) : limits_.ConnectTimeoutMs;
  try {
    socket_ = ConnectTo(address.HostForLookup(), address.Port, timeoutMs, limits_.ConnectSliceMs);
  } catch (const EHttpError& error) {
    if (deadlineFirst && error.Fault() == THttpFault::ConnectTimeout) {
      throw EHttpError(THttpFault::RequestTimeout, limits_.GetDeadlineMs);
    }
    throw;
  }
  connectedHost_ = AsciiLower(address.Host);
  connectedPort_ = address.Port;
  ++connectionsOpened_;
}

std::string THttpClient::Perform(const std::string& text, TClock::time_point deadline) {
  const TAddress address = ParseAddress(text);
  if (address.Protocol != "http")
    throw EHttpError(THttpFault::Address, "Secure connections are not supported.");
  Request.Host = address.HostValue();

  if (Connected() &&
      (AsciiLower(address.Host) != connectedHost_ || address.Port != connectedPort_)) {
    Disconnect();
  }
  if (Connected() && !socket_.IsIdle()) Disconnect();
  if (!Connected()) Connect(address, deadline);

  const std::string requestPath = address.Path + address.Document;
  const std::string cookieHost = address.HostForLookup();
  socket_.SendAll(ComposeRequest(address.Target(), Request,
                                 cookies_.CookieHeader(cookieHost, requestPath, Now())),
                  TWaitLimit{limits_.ReadTimeoutMs, deadline, limits_.GetDeadlineMs});

  TSocketSource source(socket_, TWaitLimit{limits_.ReadTimeoutMs, deadline, limits_.GetDeadlineMs});
  TResponseReader reader(source, limits_);
  response_ = TResponseHead();
  TResponseHead head = ReadFinalHead(reader, [&](const TResponseHead& each) {
    response_ = each;
    for (const std::string& value : each.Values("Set-Cookie")) {
      cookies_.SetCookie(value, cookieHost, requestPath, Now());
    }
    for (const std::string& value : each.Values("Set-Cookie2")) {
      cookies_.SetCookie2(value, cookieHost, requestPath, Now());
    }
  });

  std::string body;
  if (!IsSuccess(head)) {
    // The body is read (and kept for the error) only as long as it flows:
    // each wait is shorter, and whatever stops the reading ends it quietly,
    // since the error below is raised in any case.  The shorter wait belongs
    // to this source alone; the next Get waits the full time again.
    source.SetWait(limits_.ErrorBodyTimeoutMs);
    try {
      ReadBody(reader, head, body);
    } catch (const EHttpError&) {
    }
    throw EHttpError(THttpFault::Protocol, head.StatusLine, head.StatusCode, std::move(body));
  }
  if (head.StatusCode != 204) ReadBody(reader, head, body);
  if (reader.Ended() || reader.Buffered() > 0 || !head.AllowsKeepAlive()) Disconnect();
  return body;
}

}  // namespace http
