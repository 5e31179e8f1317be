// An in-process stand-in for the site, on 127.0.0.1: one HTTP and one HTTPS server on free
// ports, a certificate made at start, routes registered by the caller and a record of every
// request received. Used by the tests and the demo; never linked into the shipped program.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::testsite {

struct RecordedRequest {
  bool secure = false;  // arrived on the HTTPS server
  std::string method;   // as sent, e.g. "POST" or "post"
  std::string target;   // path and query exactly as on the request line
  std::string path;     // target without the query
  std::string query;    // after "?", empty when none
  std::string version;  // "HTTP/1.0" or "HTTP/1.1"
  std::vector<std::pair<std::string, std::string>> headers;  // in arrival order
  std::string body;

  // Values of every header with this name (case-insensitive), in order.
  std::vector<std::string> HeaderValues(const std::string& name) const;
  // The first value of the header, or "" when absent.
  std::string Header(const std::string& name) const;
  // The value of one cookie from the Cookie header, or "" when absent.
  std::string Cookie(const std::string& name) const;
};

struct Response {
  int status = 200;
  std::string contentType = "text/html; charset=utf-8";
  std::string body;
  // Extra header lines, e.g. {"Set-Cookie", "sid=1; Path=/"} or {"Location", "/other"}.
  std::vector<std::pair<std::string, std::string>> headers;
  // When set, the body goes out in pieces of this many bytes with this pause before each,
  // which makes a slow answer.
  size_t pieceSize = 0;
  std::chrono::milliseconds pauseBeforePiece{0};
};

using Handler = std::function<Response(const RecordedRequest&)>;

class StandInSite {
 public:
  StandInSite();  // starts both servers; they stop when the object is destroyed
  ~StandInSite();
  StandInSite(const StandInSite&) = delete;
  StandInSite& operator=(const StandInSite&) = delete;

  // Routes match the method (case-insensitive) and the exact path (without the query) on both
  // servers. A request without a route gets 404 and is still recorded.
  void Route(const std::string& method, const std::string& path, Handler handler);
  void Route(const std::string& method, const std::string& path, Response fixed);

  int HttpPort() const;
  int HttpsPort() const;
  std::string HttpHost() const;   // "127.0.0.1:<http port>"
  std::string HttpsHost() const;  // "127.0.0.1:<https port>"
  // The site's self-made certificate, to hand to TrustOnlyCertificateForTesting.
  const std::string& CertificatePem() const;

  // Every request received so far, oldest first (thread-safe copy).
  std::vector<RecordedRequest> Requests() const;
  void ClearRequests();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quorvane::testsite
