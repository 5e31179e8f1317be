#include "testsite/stand_in_site.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <list>
#include <map>
#include <mutex>
#include <thread>

#include <openssl/ssl.h>

#include "testsite/certificate.h"
#include "testsite/http_wire.h"
#include "testsite/socket_stream.h"

namespace quorvane::testsite {
namespace {

struct SslCtxFree {
  void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// A listening socket on 127.0.0.1 with a free port; -1 and port 0 when none can be had.
int Listen(int& port) {
  port = 0;
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(fd, 128) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

struct StandInSite::Impl {
  struct Route {
    Handler handler;                        // empty for a fixed answer
    std::shared_ptr<const Response> fixed;  // shared so big bodies are not copied per request
  };
  struct Connection {
    int fd = -1;  // -1 once the connection's thread has closed it
    std::thread thread;
    bool done = false;
  };
  struct Listener {
    int fd = -1;
    int port = 0;
    bool secure = false;
    std::thread thread;
  };

  SelfSignedCertificate certificate;
  std::unique_ptr<SSL_CTX, SslCtxFree> tls;
  Listener plain;
  Listener secure;
  int wakeRead = -1;
  int wakeWrite = -1;

  mutable std::mutex mutex;  // guards everything below
  std::condition_variable stopSignal;
  bool stopping = false;
  std::map<std::pair<std::string, std::string>, Route> routes;
  std::vector<RecordedRequest> requests;
  std::list<Connection> connections;

  void Start() {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) == 0) {
      wakeRead = pipeEnds[0];
      wakeWrite = pipeEnds[1];
    }
    certificate = MakeSelfSignedCertificate();
    if (certificate.certificate) {
      tls.reset(SSL_CTX_new(TLS_server_method()));
      if (tls && (SSL_CTX_use_certificate(tls.get(), certificate.certificate.get()) != 1 ||
                  SSL_CTX_use_PrivateKey(tls.get(), certificate.key.get()) != 1)) {
        tls.reset();
      }
    }
    plain.fd = Listen(plain.port);
    if (plain.fd >= 0) plain.thread = std::thread([this] { AcceptLoop(plain); });
    secure.secure = true;
    if (tls) {
      secure.fd = Listen(secure.port);
      if (secure.fd >= 0) secure.thread = std::thread([this] { AcceptLoop(secure); });
    }
  }

  void Stop() {
    {
      std::lock_guard lock(mutex);
      stopping = true;
      for (Connection& connection : connections) {
        if (connection.fd >= 0) shutdown(connection.fd, SHUT_RDWR);
      }
    }
    stopSignal.notify_all();
    if (wakeWrite >= 0) (void)!write(wakeWrite, "x", 1);
    for (Listener* listener : {&plain, &secure}) {
      if (listener->thread.joinable()) listener->thread.join();
      if (listener->fd >= 0) close(listener->fd);
    }
    // No new connection can start now; wait for the running ones to notice.
    std::list<Connection> remaining;
    {
      std::lock_guard lock(mutex);
      remaining.swap(connections);
    }
    for (Connection& connection : remaining) {
      if (connection.thread.joinable()) connection.thread.join();
    }
    if (wakeRead >= 0) close(wakeRead);
    if (wakeWrite >= 0) close(wakeWrite);
  }

  void AcceptLoop(Listener& listener) {
    for (;;) {
      pollfd waits[2] = {{listener.fd, POLLIN, 0}, {wakeRead, POLLIN, 0}};
      int ready = poll(waits, wakeRead >= 0 ? 2 : 1, 1000);
      if (ready < 0 && errno != EINTR) return;
      {
        std::lock_guard lock(mutex);
        if (stopping) return;
      }
      ReapFinished();
      if (ready <= 0 || !(waits[0].revents & POLLIN)) continue;
      int fd = accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) continue;
      // A client that connects and never speaks must not hold a thread forever.
      timeval limit{30, 0};
      setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
      setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
      std::lock_guard lock(mutex);
      if (stopping) {
        close(fd);
        return;
      }
      Connection& connection = connections.emplace_back();
      connection.fd = fd;
      bool isSecure = listener.secure;
      connection.thread =
          std::thread([this, &connection, fd, isSecure] { Serve(connection, fd, isSecure); });
    }
  }

  void ReapFinished() {
    std::list<Connection> finished;
    {
      std::lock_guard lock(mutex);
      for (auto it = connections.begin(); it != connections.end();) {
        auto next = std::next(it);
        if (it->done) finished.splice(finished.end(), connections, it);
        it = next;
      }
    }
    for (Connection& connection : finished)
      connection.thread.join();
  }

  void Serve(Connection& connection, int fd, bool isSecure) {
    auto stream = std::make_unique<SocketStream>(fd, isSecure ? tls.get() : nullptr);
    if (stream->Handshake()) {
      if (auto request = ReadRequest(*stream, isSecure)) {
        std::shared_ptr<const Response> response = Answer(*request);
        bool head = Upper(request->method) == "HEAD";
        WriteResponse(*stream, *response, head, [this](std::chrono::milliseconds pause) {
          std::unique_lock lock(mutex);
          return !stopSignal.wait_for(lock, pause, [this] { return stopping; });
        });
        stream->Finish();
      }
    }
    std::lock_guard lock(mutex);
    stream.reset();  // closes the socket while Stop() cannot be shutting it down
    connection.fd = -1;
    connection.done = true;
  }

  std::shared_ptr<const Response> Answer(const RecordedRequest& request) {
    Route route;
    bool found = false;
    {
      std::lock_guard lock(mutex);
      // Recorded before answering, so a client that has its answer always finds the record.
      requests.push_back(request);
      auto it = routes.find({Upper(request.method), request.path});
      if (it != routes.end()) {
        route = it->second;
        found = true;
      }
    }
    if (!found) {
      Response missing;
      missing.status = 404;
      missing.contentType = "text/plain";
      missing.body = "Not Found";
      return std::make_shared<const Response>(std::move(missing));
    }
    if (route.fixed) return route.fixed;
    try {
      return std::make_shared<const Response>(route.handler(request));
    } catch (...) {
      Response failed;
      failed.status = 500;
      failed.contentType = "text/plain";
      failed.body = "handler failed";
      return std::make_shared<const Response>(std::move(failed));
    }
  }
};

StandInSite::StandInSite() : impl_(std::make_unique<Impl>()) {
  // OpenSSL writes with write(), which raises SIGPIPE when a client hangs up mid-answer; the
  // site's processes (tests, benchmarks, the demo) must survive that.
  std::signal(SIGPIPE, SIG_IGN);
  impl_->Start();
}

StandInSite::~StandInSite() { impl_->Stop(); }

void StandInSite::Route(const std::string& method, const std::string& path, Handler handler) {
  std::lock_guard lock(impl_->mutex);
  impl_->routes[{Upper(method), path}] = Impl::Route{std::move(handler), nullptr};
}

void StandInSite::Route(const std::string& method, const std::string& path, Response fixed) {
  std::lock_guard lock(impl_->mutex);
  impl_->routes[{Upper(method), path}] =
      Impl::Route{nullptr, std::make_shared<const Response>(std::move(fixed))};
}

int StandInSite::HttpPort() const { return impl_->plain.port; }
int StandInSite::HttpsPort() const { return impl_->secure.port; }
std::string StandInSite::HttpHost() const { return "127.0.0.1:" + std::to_string(HttpPort()); }
std::string StandInSite::HttpsHost() const { return "127.0.0.1:" + std::to_string(HttpsPort()); }
const std::string& StandInSite::CertificatePem() const { return impl_->certificate.pem; }

std::vector<RecordedRequest> StandInSite::Requests() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->requests;
}

void StandInSite::ClearRequests() {
  std::lock_guard lock(impl_->mutex);
  impl_->requests.clear();
}

}  // namespace quorvane::testsite
