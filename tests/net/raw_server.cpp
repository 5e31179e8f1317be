#include "raw_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvane::test_support {
namespace {

int ListenOnLoopback(int& port) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 16) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) close(fd);
    port = 0;
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

std::string RawConnection::ReadHead() {
  std::string head;
  char byte;
  while (head.size() < 65536 && head.find("\r\n\r\n") == std::string::npos) {
    if (recv(fd_, &byte, 1, 0) != 1) break;
    head += byte;
  }
  return head;
}

bool RawConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

void RawConnection::Drip(std::string_view piece, std::chrono::milliseconds pause,
                         std::chrono::milliseconds longest) {
  auto end = std::chrono::steady_clock::now() + longest;
  while (std::chrono::steady_clock::now() < end) {
    {
      std::unique_lock lock(server_.mutex_);
      if (server_.stop_.wait_for(lock, pause, [this] { return server_.stopping_; })) return;
    }
    if (!Send(piece)) return;
  }
}

void RawConnection::Stall(std::chrono::milliseconds longest) {
  std::unique_lock lock(server_.mutex_);
  server_.stop_.wait_for(lock, longest, [this] { return server_.stopping_; });
}

RawServer::RawServer(std::function<void(RawConnection&)> script) : script_(std::move(script)) {
  listenFd_ = ListenOnLoopback(port_);
  if (listenFd_ >= 0) thread_ = std::thread([this] { Run(); });
}

RawServer::~RawServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    if (int fd = currentFd_.load(); fd >= 0) shutdown(fd, SHUT_RDWR);
  }
  stop_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (listenFd_ >= 0) close(listenFd_);
}

void RawServer::Run() {
  for (;;) {
    pollfd wait{listenFd_, POLLIN, 0};
    int ready = poll(&wait, 1, 50);
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
    }
    if (ready <= 0) continue;
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    ++connections_;
    {
      std::lock_guard lock(mutex_);
      currentFd_ = fd;
    }
    RawConnection connection(fd, *this);
    script_(connection);
    {
      std::lock_guard lock(mutex_);
      currentFd_ = -1;
    }
    shutdown(fd, SHUT_WR);
    close(fd);
  }
}

int RawServer::ClosedPort() {
  int port = 0;
  int fd = ListenOnLoopback(port);
  if (fd >= 0) close(fd);
  return port;
}

}  // namespace quorvane::test_support
