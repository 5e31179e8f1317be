#include "testsite/socket_stream.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace quorvane::testsite {

SocketStream::SocketStream(int fd, SSL_CTX* tlsContext) : fd_(fd) {
  if (tlsContext != nullptr) {
    ssl_.reset(SSL_new(tlsContext));
    if (ssl_) SSL_set_fd(ssl_.get(), fd_);
  }
}

SocketStream::~SocketStream() {
  ssl_.reset();
  if (fd_ >= 0) close(fd_);
}

bool SocketStream::Handshake() {
  if (!ssl_) return true;
  return SSL_accept(ssl_.get()) == 1;
}

size_t SocketStream::Read(char* buffer, size_t size) {
  if (ssl_) {
    size_t got = 0;
    return SSL_read_ex(ssl_.get(), buffer, size, &got) == 1 ? got : 0;
  }
  for (;;) {
    ssize_t got = recv(fd_, buffer, size, 0);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) return 0;
  }
}

bool SocketStream::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    size_t sent = 0;
    if (ssl_) {
      if (SSL_write_ex(ssl_.get(), bytes.data(), bytes.size(), &sent) != 1) return false;
    } else {
      ssize_t n = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      sent = static_cast<size_t>(n);
    }
    bytes.remove_prefix(sent);
  }
  return true;
}

void SocketStream::Finish() {
  if (ssl_) SSL_shutdown(ssl_.get());
  shutdown(fd_, SHUT_WR);
}

}  // namespace quorvane::testsite
