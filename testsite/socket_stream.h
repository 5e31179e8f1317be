// One accepted connection, plain or TLS, as a byte stream. Owns the socket and the TLS session.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include <openssl/ssl.h>

namespace quorvane::testsite {

struct SslFree {
  void operator()(SSL* ssl) const { SSL_free(ssl); }
};

class SocketStream {
 public:
  // Takes the socket. With a context, the TLS handshake runs in Handshake().
  SocketStream(int fd, SSL_CTX* tlsContext);
  ~SocketStream();
  SocketStream(const SocketStream&) = delete;
  SocketStream& operator=(const SocketStream&) = delete;

  // False when the TLS handshake fails (for example a client that rejects the certificate).
  bool Handshake();
  // Bytes read into `buffer`; 0 at the end of the stream and on any failure.
  size_t Read(char* buffer, size_t size);
  // False when the peer went away before everything was written.
  bool WriteAll(std::string_view bytes);
  // Ends the TLS session politely, then the socket's sending side.
  void Finish();

 private:
  int fd_;
  std::unique_ptr<SSL, SslFree> ssl_;
};

}  // namespace quorvane::testsite
