// A tiny TCP server on 127.0.0.1 that plays a script against each connection, for answers no
// well-behaved server gives: stalling, cutting a body short, lying about its length.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quorvane::test_support {

class RawServer;

// What a script can do with its connection.
class RawConnection {
 public:
  RawConnection(int fd, RawServer& server) : fd_(fd), server_(server) {}
  // Everything up to and including the empty line that ends the request head.
  std::string ReadHead();
  // False once the client has gone (or the server shuts down).
  bool Send(std::string_view bytes);
  // Sends `piece` after every `pause`, for ever: until the client goes, the server shuts down or
  // `longest` has passed.
  void Drip(std::string_view piece, std::chrono::milliseconds pause,
            std::chrono::milliseconds longest = std::chrono::seconds(30));
  // Waits until the server shuts down (or the time passes), answering nothing.
  void Stall(std::chrono::milliseconds longest = std::chrono::seconds(30));

 private:
  int fd_;
  RawServer& server_;
};

class RawServer {
 public:
  // Accepts connections one after another and runs `script` on each; the connection closes
  // when the script returns.
  explicit RawServer(std::function<void(RawConnection&)> script);
  ~RawServer();  // wakes any stalled script and joins the thread
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int Port() const { return port_; }
  std::string Url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
  }
  // Number of connections accepted so far.
  int Connections() const { return connections_; }

  // A port on which nothing listens: connecting to it is refused.
  static int ClosedPort();

 private:
  friend class RawConnection;
  void Run();

  std::function<void(RawConnection&)> script_;
  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::atomic<int> currentFd_{-1};
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace quorvane::test_support
