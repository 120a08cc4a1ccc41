#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <stdexcept>

namespace http_test {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Bounds of every wait of the server thread.
constexpr int kSliceMs = 20;
constexpr int kAcceptWaitMs = 10000;
constexpr int kRequestWaitMs = 5000;
constexpr int kSendWaitMs = 5000;
constexpr int kFloodMs = 10000;
constexpr std::size_t kMaxRequestBytes = 1 << 20;

// Waits up to kSliceMs for events on fd: 1 ready, 0 not yet, -1 failed.
int PollSlice(int fd, short events) {
  pollfd entry{fd, events, 0};
  const int ready = poll(&entry, 1, kSliceMs);
  if (ready < 0) return errno == EINTR ? 0 : -1;
  return ready > 0 ? 1 : 0;
}

}  // namespace

TScriptedServer::TScriptedServer(std::vector<TScript> scripts)
    : scripts_(std::move(scripts)), connections_(scripts_.size()) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  if (listener_ < 0) throw std::runtime_error("socket failed");
  const int one = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(listener_);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread(&TScriptedServer::Run, this);
}

TScriptedServer::~TScriptedServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
  for (int fd : openConnections_) close(fd);
  close(listener_);
}

std::string TScriptedServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int TScriptedServer::Accepted() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(std::count_if(connections_.begin(), connections_.end(),
                                        [](const TConnection& c) { return c.StepsDone > 0; }));
}

std::string TScriptedServer::Received(std::size_t connection) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connection < connections_.size() ? connections_[connection].Received : std::string();
}

bool TScriptedServer::ClientClosed(std::size_t connection) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connection < connections_.size() && connections_[connection].ClientClosed;
}

bool TScriptedServer::WaitForSteps(std::size_t connection, std::size_t steps, int ms) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, milliseconds(ms), [&] {
    return connection < connections_.size() && connections_[connection].StepsDone >= steps;
  });
}

void TScriptedServer::Run() {
  for (std::size_t index = 0; index < scripts_.size() && !stop_; ++index) {
    const Clock::time_point end = Clock::now() + milliseconds(kAcceptWaitMs);
    int fd = -1;
    while (fd < 0 && !stop_ && Clock::now() < end) {
      if (PollSlice(listener_, POLLIN) == 1) fd = accept(listener_, nullptr, nullptr);
    }
    if (fd < 0) return;
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
    openConnections_.push_back(fd);
    {
      // Accepting counts as the first step done.
      std::lock_guard<std::mutex> lock(mutex_);
      connections_[index].StepsDone = 1;
    }
    changed_.notify_all();
    Serve(index, fd);
  }
}

void TScriptedServer::Serve(std::size_t index, int fd) {
  for (const TStep& step : scripts_[index]) {
    if (stop_) return;
    bool goOn = true;
    switch (step.Kind) {
      case TStep::TKind::ReadRequest:
        goOn = ReadRequest(index, fd);
        break;
      case TStep::TKind::Send:
        SendAll(fd, step.Bytes);
        break;
      case TStep::TKind::SendSlowly:
        for (std::size_t i = 0; i < step.Bytes.size() && goOn; ++i) {
          SendAll(fd, step.Bytes.substr(i, 1));
          goOn = PauseFor(step.Ms);
        }
        break;
      case TStep::TKind::Pause:
        goOn = PauseFor(step.Ms);
        break;
      case TStep::TKind::Reset: {
        const linger hard{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        [[fallthrough]];
      }
      case TStep::TKind::Close:
        close(fd);
        std::erase(openConnections_, fd);
        goOn = false;
        break;
      case TStep::TKind::Flood:
        Flood(fd, step);
        break;
      case TStep::TKind::AwaitClientClose:
        AwaitClientClose(index, fd, step.Ms);
        break;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++connections_[index].StepsDone;
    }
    changed_.notify_all();
    if (!goOn) return;
  }
}

bool TScriptedServer::PauseFor(int ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !changed_.wait_for(lock, milliseconds(ms), [this] { return stop_.load(); });
}

bool TScriptedServer::ReadRequest(std::size_t index, int fd) {
  const Clock::time_point end = Clock::now() + milliseconds(kRequestWaitMs);
  std::string request;
  char buffer[4096];
  while (!stop_ && Clock::now() < end && request.size() < kMaxRequestBytes) {
    const int ready = PollSlice(fd, POLLIN);
    if (ready < 0) return false;
    if (ready == 0) continue;
    const ssize_t count = recv(fd, buffer, sizeof buffer, 0);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (count <= 0) {
      std::lock_guard<std::mutex> lock(mutex_);
      connections_[index].ClientClosed = true;
      return false;
    }
    request.append(buffer, static_cast<std::size_t>(count));
    {
      std::lock_guard<std::mutex> lock(mutex_);
      connections_[index].Received.append(buffer, static_cast<std::size_t>(count));
    }
    if (request.find("\r\n\r\n") != std::string::npos) return true;
  }
  return false;
}

void TScriptedServer::SendAll(int fd, const std::string& bytes) {
  const Clock::time_point end = Clock::now() + milliseconds(kSendWaitMs);
  std::size_t sent = 0;
  while (sent < bytes.size() && !stop_ && Clock::now() < end) {
    const ssize_t count = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (count > 0) {
      sent += static_cast<std::size_t>(count);
    } else if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (PollSlice(fd, POLLOUT) < 0) return;
    } else {
      return;  // the client has gone
    }
  }
}

void TScriptedServer::Flood(int fd, const TStep& step) {
  SendAll(fd, step.Bytes);
  const Clock::time_point end = Clock::now() + milliseconds(kFloodMs);
  std::size_t total = 0;
  std::size_t offset = 0;
  while (total < step.Limit && !stop_ && Clock::now() < end) {
    const ssize_t count =
        send(fd, step.Piece.data() + offset, step.Piece.size() - offset, MSG_NOSIGNAL);
    if (count > 0) {
      total += static_cast<std::size_t>(count);
      offset = (offset + static_cast<std::size_t>(count)) % step.Piece.size();
    } else if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (PollSlice(fd, POLLOUT) < 0) return;
    } else {
      return;  // the client has stopped reading and closed
    }
  }
}

void TScriptedServer::AwaitClientClose(std::size_t index, int fd, int ms) {
  const Clock::time_point end = Clock::now() + milliseconds(ms);
  char buffer[4096];
  while (!stop_ && Clock::now() < end) {
    const int ready = PollSlice(fd, POLLIN);
    if (ready < 0) break;
    if (ready == 0) continue;
    const ssize_t count = recv(fd, buffer, sizeof buffer, 0);
    if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    if (count <= 0) {
      connections_[index].ClientClosed = true;
      return;
    }
    connections_[index].Received.append(buffer, static_cast<std::size_t>(count));
  }
}

std::string Response(const std::string& statusLine, const std::vector<std::string>& headers,
                     const std::string& body) {
  std::string response = statusLine + "\r\n";
  for (const std::string& header : headers) response += header + "\r\n";
  return response + "\r\n" + body;
}

std::string Ok(const std::string& body) {
  return Response("HTTP/1.1 200 OK", {"Content-Length: " + std::to_string(body.size())}, body);
}

int OpenDescriptors() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator()));
}

int Threads() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                                        std::filesystem::directory_iterator()));
}

}  // namespace http_test
