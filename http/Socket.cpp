#include "http/Socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "http/Errors.h"
#include "http/Limits.h"

namespace http {

namespace {

using std::chrono::milliseconds;

// strerror_r comes in two kinds: the XSI one returns an int and fills the
// buffer, the GNU one returns the text.  Overloads take either.
[[maybe_unused]] std::string FromStrerror(int result, const char* buffer) {
  return result == 0 ? std::string(buffer) : std::string();
}
[[maybe_unused]] std::string FromStrerror(const char* text, const char*) {
  return text != nullptr ? std::string(text) : std::string();
}

EHttpError SystemError(int code) {
  return EHttpError(THttpFault::Socket, ErrorText(code), code);
}

// The worker's attempt and what it hands back.  The calling thread owns this
// object and joins the worker before it goes away.
struct TAttempt {
  std::mutex Mutex;
  std::condition_variable Finished;
  bool Done = false;          // guarded by Mutex
  int Fd = -1;                // the connected socket, once Done
  int Error = EADDRNOTAVAIL;  // errno of the last failed address, once Done
  bool GaveUp = false;        // the worker stopped because it was told to
  std::atomic<bool> Cancelled{false};
};

bool MakeNonBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL, 0);
  return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
         fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

// Polls a non-blocking connect until it completes: 0 when connected, the
// errno of the failure, or -1 when the attempt was given up.  Closing the
// socket from another thread would not end a blocking connect on Linux; this
// loop looks at the cancel flag every kConnectPollMs instead.
int AwaitConnect(int fd, const std::atomic<bool>& cancelled, TClock::time_point giveUp) {
  while (true) {
    if (cancelled.load() || TClock::now() >= giveUp) return -1;
    pollfd entry{fd, POLLOUT, 0};
    const int ready = poll(&entry, 1, kConnectPollMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (ready == 0) continue;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) return errno;
    return error;
  }
}

// The worker: tries the addresses in turn until one connects, one fails for
// good at the end of the list, or the attempt is given up.  Its own bound
// (the limit and one second more) only matters if the caller never cancels.
void RunAttempt(const addrinfo* addresses, TAttempt& attempt, int timeoutMs) {
  const TClock::time_point giveUp = TClock::now() + milliseconds(timeoutMs + 1000);
  int connected = -1;
  int error = EADDRNOTAVAIL;
  bool gaveUp = false;
  for (const addrinfo* address = addresses; address != nullptr && !gaveUp;
       address = address->ai_next) {
    const int fd = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (fd < 0) {
      error = errno;
      continue;
    }
    if (!MakeNonBlocking(fd)) {
      error = errno;
      close(fd);
      continue;
    }
    int outcome = 0;
    if (connect(fd, address->ai_addr, address->ai_addrlen) != 0) {
      outcome = errno;
      // EINTR leaves a non-blocking connect going on, like EINPROGRESS.
      if (outcome == EINPROGRESS || outcome == EINTR) {
        outcome = AwaitConnect(fd, attempt.Cancelled, giveUp);
      }
    }
    if (outcome == 0) {
      connected = fd;
      break;
    }
    close(fd);
    if (outcome < 0) {
      gaveUp = true;
    } else {
      error = outcome;
    }
  }
  std::lock_guard<std::mutex> lock(attempt.Mutex);
  attempt.Fd = connected;
  attempt.Error = error;
  attempt.GaveUp = gaveUp;
  attempt.Done = true;
  attempt.Finished.notify_all();
}

}  // namespace

std::string ErrorText(int code) {
  char buffer[256] = "";
  std::string text = FromStrerror(strerror_r(code, buffer, sizeof buffer), buffer);
  return text.empty() ? "Socket error " + std::to_string(code) : text;
}

TSocket& TSocket::operator=(TSocket&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

void TSocket::Close() {
  if (fd_ >= 0) {
    close(fd_);
    fd_ = -1;
  }
}

bool TSocket::Wait(short events, const TWaitLimit& limit) const {
  const TClock::time_point waitEnd = TClock::now() + milliseconds(limit.WaitMs);
  const bool deadlineFirst = limit.Deadline <= waitEnd;
  const TClock::time_point end = deadlineFirst ? limit.Deadline : waitEnd;
  while (true) {
    const TClock::time_point now = TClock::now();
    if (now >= end) {
      if (deadlineFirst) throw EHttpError(THttpFault::RequestTimeout, limit.DeadlineMs);
      return false;
    }
    const auto left = std::chrono::ceil<milliseconds>(end - now).count();
    pollfd entry{fd_, events, 0};
    const int ready = poll(&entry, 1, static_cast<int>(left));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) throw SystemError(errno);
  }
}

void TSocket::SendAll(std::string_view data, const TWaitLimit& limit) {
  while (!data.empty()) {
    const ssize_t sent = send(fd_, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      data.remove_prefix(static_cast<std::size_t>(sent));
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!Wait(POLLOUT, limit)) throw SystemError(ETIMEDOUT);
    } else if (sent < 0 && errno != EINTR) {
      throw SystemError(errno);
    }
  }
}

std::size_t TSocket::Receive(char* buffer, std::size_t size, const TWaitLimit& limit) {
  while (true) {
    if (!Wait(POLLIN, limit)) throw EHttpError(THttpFault::ReadTimeout);
    const ssize_t received = recv(fd_, buffer, size, 0);
    if (received >= 0) return static_cast<std::size_t>(received);
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) throw SystemError(errno);
  }
}

bool TSocket::IsIdle() const {
  pollfd entry{fd_, POLLIN, 0};
  int ready;
  do {
    ready = poll(&entry, 1, 0);
  } while (ready < 0 && errno == EINTR);
  return ready == 0;
}

TSocket ConnectTo(const std::string& host, const std::string& port, int timeoutMs, int sliceMs) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  const int looked = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
  if (looked != 0) {
    if (looked == EAI_SYSTEM) throw SystemError(errno);
    throw EHttpError(THttpFault::Socket, gai_strerror(looked), looked);
  }
  const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);

  TAttempt attempt;
  std::thread worker;
  try {
    worker = std::thread(RunAttempt, addresses.get(), std::ref(attempt), timeoutMs);
  } catch (const std::system_error& error) {
    throw EHttpError(THttpFault::Socket, error.what(), error.code().value());
  }
  {
    // Sleep in slices until the worker is done or the limit has passed; the
    // worker's notification ends a slice early.
    std::unique_lock<std::mutex> lock(attempt.Mutex);
    const TClock::time_point end = TClock::now() + milliseconds(timeoutMs);
    const milliseconds slice(std::max(1, sliceMs));
    while (!attempt.Done) {
      const TClock::time_point now = TClock::now();
      if (now >= end) break;
      attempt.Finished.wait_for(lock, std::min<TClock::duration>(slice, end - now));
    }
  }
  attempt.Cancelled = true;
  worker.join();
  if (attempt.Fd >= 0) return TSocket(attempt.Fd);
  if (attempt.GaveUp) throw EHttpError(THttpFault::ConnectTimeout);
  throw SystemError(attempt.Error);
}

}  // namespace http
