// An HTTP server on 127.0.0.1 for fuzz targets: each connection gets whatever bytes the current
// input says, valid HTTP or not. It lives for the whole run, so one input costs no thread start.
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace quorvane::fuzzing {

struct Reply {
  std::string bytes;
  // Keep the connection open after the bytes, until the client gives up, as a stalling server
  // does. Otherwise the server closes its side at once.
  bool holdOpen = false;
  // When not 0, the first bytes go out in pieces of this size with a short pause after each,
  // so that the client reads the answer in many small parts, cut anywhere.
  size_t pieceSize = 0;
};

// Answers the request head of the connection numbered `index` (0 for the first since the
// script was set).
using Script = std::function<Reply(const std::string& head, int index)>;

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool ok() const { return listenFd_ >= 0; }
  int Port() const { return port_; }
  // "127.0.0.1:<port>".
  std::string Authority() const { return "127.0.0.1:" + std::to_string(port_); }

  // Replaces the script and starts counting connections and bytes afresh.
  void SetScript(Script script);
  // Bytes sent since the script was set.
  size_t BytesSent() const { return bytesSent_; }

 private:
  void Run();
  void Answer(int fd);

  int listenFd_ = -1;
  int port_ = 0;
  std::mutex mutex_;
  Script script_;
  int nextIndex_ = 0;
  std::atomic<size_t> bytesSent_{0};
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace quorvane::fuzzing
