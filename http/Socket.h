// A TCP connection on a POSIX socket, with every wait bounded.
//
// The descriptor is non-blocking from its creation on; each wait is a poll
// limited by the wait of the caller and by the deadline of the whole request,
// whichever comes first.  Sends pass MSG_NOSIGNAL, so writing to a connection
// the server has closed raises the Socket fault instead of killing the
// process with SIGPIPE.  Faults named here are THttpFault values (http/Errors.h).
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace http {

using TClock = std::chrono::steady_clock;

// What a wait is bounded by: its own limit, and the deadline of the request
// (with that deadline's length in ms, for the message of RequestTimeout).
struct TWaitLimit {
  int WaitMs;
  TClock::time_point Deadline;
  int DeadlineMs;
};

class TSocket {
 public:
  TSocket() = default;
  explicit TSocket(int fd) : fd_(fd) {}
  ~TSocket() { Close(); }
  TSocket(TSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  TSocket& operator=(TSocket&& other) noexcept;
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  void Close();

  // Sends all of data, normally in one send.  Socket when the connection
  // fails, with ETIMEDOUT when the kernel takes no byte for a whole wait;
  // RequestTimeout at the deadline.
  void SendAll(std::string_view data, const TWaitLimit& limit);
  // Receives up to size bytes; 0 when the server has closed the connection.
  // ReadTimeout when nothing arrives within the wait, RequestTimeout at the
  // deadline, Socket when the connection fails.
  std::size_t Receive(char* buffer, std::size_t size, const TWaitLimit& limit);
  // Nothing has arrived on an idle connection: the server has neither closed
  // it nor sent bytes nobody asked for.  Either would make the connection
  // unfit for the next request.
  bool IsIdle() const;

 private:
  // Waits until the descriptor is ready for events; false when the wait (not
  // the deadline) ran out.
  bool Wait(short events, const TWaitLimit& limit) const;

  int fd_ = -1;
};

// Resolves host (a dotted or IPv6 address needs no look-up; the look-up has
// no limit of its own) and connects to port.  The attempt runs on one worker
// thread, a non-blocking connect per address that the worker polls, while
// the calling thread waits in slices of sliceMs.  When timeoutMs pass first
// the worker is told to give up, ends within a few ms, and ConnectTimeout is
// raised; a failed attempt raises Socket with the system's text.
TSocket ConnectTo(const std::string& host, const std::string& port, int timeoutMs, int sliceMs);

// strerror_r text of an errno value.
std::string ErrorText(int code);

}  // namespace http
