// A scripted HTTP server on 127.0.0.1 for the client's tests.
//
// It listens on an ephemeral port and serves the connections in the order it
// accepts them, the n-th with the n-th script: read a request, send canned
// bytes (at once, slowly, or a flood), pause, close or reset.  It records
// what each connection received and whether the client closed it.  Every
// loop is bounded in count and in time, and the destructor stops the thread
// at once.  A connection whose script has run out stays open until the
// server is destroyed.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace http_test {

struct TStep {
  enum class TKind { ReadRequest, Send, SendSlowly, Pause, Close, Reset, Flood, AwaitClientClose };
  TKind Kind;
  std::string Bytes;      // Send, SendSlowly; the head sent before a Flood
  std::string Piece;      // Flood: sent again and again
  int Ms = 0;             // Pause; SendSlowly: between bytes; AwaitClientClose: the limit
  std::size_t Limit = 0;  // Flood: most bytes sent

  // Reads up to the empty line that ends a request head (at most 5 s).
  static TStep ReadRequest() { return {TKind::ReadRequest, {}, {}, 0, 0}; }
  static TStep Send(std::string bytes) { return {TKind::Send, std::move(bytes), {}, 0, 0}; }
  static TStep SendSlowly(std::string bytes, int msBetweenBytes) {
    return {TKind::SendSlowly, std::move(bytes), {}, msBetweenBytes, 0};
  }
  static TStep Pause(int ms) { return {TKind::Pause, {}, {}, ms, 0}; }
  static TStep Close() { return {TKind::Close, {}, {}, 0, 0}; }
  // Closes with SO_LINGER 0: the client gets a reset, not an orderly end.
  static TStep Reset() { return {TKind::Reset, {}, {}, 0, 0}; }
  // Sends head, then piece until the client stops taking bytes or limit
  // bytes have gone (at most 10 s).
  static TStep Flood(std::string head, std::string piece, std::size_t limit) {
    return {TKind::Flood, std::move(head), std::move(piece), 0, limit};
  }
  // Reads and records until the client closes the connection or ms pass.
  static TStep AwaitClientClose(int ms) { return {TKind::AwaitClientClose, {}, {}, ms, 0}; }
};

using TScript = std::vector<TStep>;

class TScriptedServer {
 public:
  explicit TScriptedServer(std::vector<TScript> scripts);
  ~TScriptedServer();
  TScriptedServer(const TScriptedServer&) = delete;
  TScriptedServer& operator=(const TScriptedServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path = "/pxversion.txt") const;

  int Accepted() const;
  // Bytes the connection'th connection received so far.
  std::string Received(std::size_t connection) const;
  // A ReadRequest or AwaitClientClose step of that connection saw the client
  // close it.
  bool ClientClosed(std::size_t connection) const;
  // Waits until the connection has been accepted and its script has finished
  // steps - 1 steps (the accept counts as the first); false when ms pass first.
  bool WaitForSteps(std::size_t connection, std::size_t steps, int ms) const;

 private:
  struct TConnection {
    std::string Received;
    std::size_t StepsDone = 0;
    bool ClientClosed = false;
  };

  void Run();
  void Serve(std::size_t index, int fd);
  bool PauseFor(int ms);
  bool ReadRequest(std::size_t index, int fd);
  void SendAll(int fd, const std::string& bytes);
  void Flood(int fd, const TStep& step);
  void AwaitClientClose(std::size_t index, int fd, int ms);

  std::vector<TScript> scripts_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::vector<int> openConnections_;  // closed by the destructor
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<TConnection> connections_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Bytes of a response: status line, header lines, empty line, body.
std::string Response(const std::string& statusLine, const std::vector<std::string>& headers,
                     const std::string& body);
// "HTTP/1.1 200 OK" with Content-Length and the body.
std::string Ok(const std::string& body);

// Open descriptors and threads of this process (from /proc/self).
int OpenDescriptors();
int Threads();

}  // namespace http_test
