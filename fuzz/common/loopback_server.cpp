#include "loopback_server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace quorvane::fuzzing {
namespace {

using Clock = std::chrono::steady_clock;

// Every wait of the server is bounded, so a client that misbehaves can delay it but never
// stop it for good.
constexpr int kPollMs = 50;
constexpr auto kHeadWait = std::chrono::seconds(2);
constexpr auto kHoldWait = std::chrono::seconds(5);
constexpr auto kDrainWait = std::chrono::milliseconds(500);
constexpr size_t kMaxHead = 64 * 1024;
// Enough for the client to read each piece on its own; after the first pieces the rest goes
// in one, so that a long answer does not cost the fuzzer seconds.
constexpr auto kPiecePause = std::chrono::microseconds(200);
constexpr int kMostPausedPieces = 64;

bool Readable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, kPollMs) > 0;
}

// Reads and drops what the client sends until it closes or `longest` passes.
void DrainUntilClosed(int fd, Clock::duration longest) {
  const auto deadline = Clock::now() + longest;
  char buffer[4096];
  while (Clock::now() < deadline) {
    if (!Readable(fd)) continue;
    if (recv(fd, buffer, sizeof buffer, 0) <= 0) return;
  }
}

}  // namespace

LoopbackServer::LoopbackServer() {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return;
  }
  listenFd_ = fd;
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (listenFd_ >= 0) close(listenFd_);
}

void LoopbackServer::SetScript(Script script) {
  std::lock_guard lock(mutex_);
  script_ = std::move(script);
  nextIndex_ = 0;
  bytesSent_ = 0;
}

void LoopbackServer::Run() {
  while (!stopping_) {
    if (!Readable(listenFd_)) continue;
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    Answer(fd);
    close(fd);
  }
}

void LoopbackServer::Answer(int fd) {
  std::string head;
  const auto headDeadline = Clock::now() + kHeadWait;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead &&
         Clock::now() < headDeadline && !stopping_) {
    if (!Readable(fd)) continue;
    ssize_t got = recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    head.append(buffer, static_cast<size_t>(got));
  }

  Reply reply;
  {
    std::lock_guard lock(mutex_);
    if (script_) reply = script_(head, nextIndex_++);
  }
  if (reply.pieceSize != 0) {
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  size_t sent = 0;
  for (int pieces = 0; sent < reply.bytes.size() && !stopping_; ++pieces) {
    const bool cut = reply.pieceSize != 0 && pieces < kMostPausedPieces;
    size_t piece = reply.bytes.size() - sent;
    if (cut) piece = std::min(piece, reply.pieceSize);
    // Counted before they go out: the client may have read them and returned before this
    // thread runs again, and the count must never be below what it can have received.
    bytesSent_ += piece;
    ssize_t wrote = send(fd, reply.bytes.data() + sent, piece, MSG_NOSIGNAL);
    const size_t went = wrote > 0 ? static_cast<size_t>(wrote) : 0;
    bytesSent_ -= piece - went;
    if (went == 0) break;
    sent += went;
    if (cut) std::this_thread::sleep_for(kPiecePause);
  }
  if (reply.holdOpen) {
    DrainUntilClosed(fd, kHoldWait);
    return;
  }
  // Closing with unread request bytes would reset the connection and could cost the client
  // the answer it has not read yet; so the write side closes first and the rest is drained.
  shutdown(fd, SHUT_WR);
  DrainUntilClosed(fd, kDrainWait);
}

}  // namespace quorvane::fuzzing
