#include "net/web_request.h"

#include <optional>
#include <string>

#include "net/answer_reader.h"
#include "net/curl_session.h"
#include "net/header_block.h"
#include "net/transfer_loop.h"
#include "net/url_split.h"
#include "net/wire_safety.h"
#include "text/text_ops.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;

constexpr net::Limits kRequestLimits{18000ms, 18000ms};
// Bytes of the buffer the raw response headers must fit in, its terminating zero included.
constexpr size_t kRawHeaderBuffer = 1024;

// One request of a call: the first, or one made to follow a redirect.
struct Hop {
  std::string url;
  Text method;  // "GET", or POST in the caller's letter case
  Text block;   // header lines as they go out
  bool withBody = false;
};

struct HopResult {
  bool ok = false;  // false: nothing usable came back
  std::string redirectTo;
  int status = 0;
  std::string rawHeaders;
  std::string body;
};

// The scheme, host and port for libcurl, rebuilt from the split parts so that what goes out is
// exactly what the splitting routines answer. Nothing when the host or port may not go on the
// wire.
std::optional<std::string> Authority(const Text& url) {
  Text host = HostFromUrl(url);
  int32_t port = PortFromUrl(url);
  if (!net::IsPlainHost(host.view()) || port < 0 || port > 65535) return std::nullopt;
  bool secure = net::SchemeOfUrl(url) == net::UrlScheme::kHttps;
  std::string wire = secure ? "https://" : "http://";
  wire += host.str();
  // An empty port reads as 0, which means the scheme's own port.
  if (port != 0) wire += ":" + std::to_string(port);
  return wire;
}

bool HasControlByte(const Text& text) {
  for (char c : text.view()) {
    if (net::IsControlByte(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

// "http=" + proxy: the proxy of plain and of secure requests. An empty proxy text names no
// proxy to go through, so the call fails rather than quietly connecting directly.
std::optional<std::string> ProxyUrl(const Text& proxy) {
  if (proxy.empty()) return std::nullopt;
  for (char c : proxy.view()) {
    auto byte = static_cast<unsigned char>(c);
    if (net::IsControlByte(byte) || byte == ' ' || byte >= 0x80) return std::nullopt;
  }
  if (TextEqualsNoCase(TextLeft(proxy, 7), Text("http://"))) return proxy.str();
  return "http://" + proxy.str();
}

bool Configure(CURL* e, const Hop& hop, const std::optional<std::string>& proxy,
               const net::HeaderList& headers, const Text& body) {
  bool ok = curl_easy_setopt(e, CURLOPT_URL, hop.url.c_str()) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1) == CURLE_OK &&
            // The path goes out as the caller wrote it, "." and ".." segments included.
            curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK &&
            // Redirects are followed by the call itself, which knows which lines to drop.
            curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) == CURLE_OK;
  if (proxy) {
    ok = ok && curl_easy_setopt(e, CURLOPT_PROXY, proxy->c_str()) == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP)) == CURLE_OK &&
         curl_easy_setopt(e, CURLOPT_NOPROXY, "") == CURLE_OK;
  } else {
    // "" also keeps the proxy environment variables out: no proxy means a direct connection.
    ok = ok && curl_easy_setopt(e, CURLOPT_PROXY, "") == CURLE_OK;
  }
  if (hop.method == Text("GET")) {
    return ok && curl_easy_setopt(e, CURLOPT_HTTPGET, 1L) == CURLE_OK;
  }
  // libcurl reads the body from the caller's text while the transfer runs; it outlives it.
  const char* data = hop.withBody ? body.c_str() : "";
  curl_off_t size = hop.withBody ? static_cast<curl_off_t>(body.view().size()) : 0;
  ok = ok && curl_easy_setopt(e, CURLOPT_POST, 1L) == CURLE_OK &&
       curl_easy_setopt(e, CURLOPT_POSTFIELDS, data) == CURLE_OK &&
       curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, size) == CURLE_OK;
  // A post written in another letter case goes out as written.
  if (hop.method != Text("POST")) {
    ok = ok && curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, hop.method.c_str()) == CURLE_OK;
  }
  return ok;
}

HopResult Send(const Hop& hop, const std::optional<std::string>& proxy, const Text& body,
               const net::Limits& limits, net::CallTime& callTimeLeft) {
  HopResult result;
  std::optional<net::HeaderList> headers = net::HeaderListFromBlock(hop.block);
  if (!headers) return result;
  // libcurl's own lines that this request does not send: the empty entries switch them off.
  for (const char* own :
       {"Expect:", "Accept:", "Content-Type:", "Content-Length:", "Proxy-Connection:"}) {
    if (!headers->Append(own)) return result;
  }
  net::EasyHandle easy = net::NewEasyHandle(limits);
  if (!easy) return result;
  net::AnswerReader reader;
  if (!reader.Attach(easy.get()) || !Configure(easy.get(), hop, proxy, *headers, body)) {
    return result;
  }

  CURLcode done =
      net::RunTransfer(easy.get(), limits, callTimeLeft, [&reader] { reader.Consume(); });
  if (reader.IsRedirect()) {
    // Where it leads is known only once the redirect's answer came whole.
    if (done != CURLE_OK) return result;
    char* location = nullptr;
    curl_easy_getinfo(easy.get(), CURLINFO_REDIRECT_URL, &location);
    if (location == nullptr) return result;
    result.redirectTo = location;
    result.status = reader.Status();
    result.ok = true;
    return result;
  }
  // Whatever ended the transfer after the headers, the bytes read so far are the answer.
  reader.Consume();
  if (!reader.HeadersArrived()) return result;
  result.ok = true;
  result.status = reader.Status();
  result.rawHeaders = reader.RawHeaders();
  result.body = reader.Body();
  return result;
}

// The host and port part of an absolute URL, to tell whether a redirect leaves the site.
std::string Origin(const std::string& url) {
  size_t start = url.find("://");
  start = start == std::string::npos ? 0 : start + 3;
  return url.substr(0, url.find_first_of("/?#", start));
}

}  // namespace

Text WebRequest(const Text& url, Text* method, const Text* proxy, Text* headers, const Text& body,
                Text* responseHeaders) {
  // Each check is made where the request would fail to open, and the caller's variables change
  // only once the steps that settle them are reached.
  std::optional<std::string> proxyUrl;
  if (proxy != nullptr) {
    proxyUrl = ProxyUrl(*proxy);
    if (!proxyUrl) return {};
  }
  std::optional<std::string> authority = Authority(url);
  std::optional<std::string> path = net::WirePath(PathFromUrl(url).view());
  // A control byte outside the path spoils the address itself; one in the path is the
  // request's to refuse, once the method is settled.
  if (!authority || (path && HasControlByte(url))) return {};

  Text settled = method != nullptr ? *method : Text();
  if (!(ToUpper(settled) == Text("POST"))) settled = Text("GET");
  if (method != nullptr) *method = settled;

  if (!path) return {};
  Text block = net::WithDefaultLines(headers != nullptr ? *headers : Text(), url);
  bool withBody = settled != Text("GET") && !body.empty();
  Text sentBlock = withBody ? net::WithContentLines(block, body.view().size()) : block;
  if (headers != nullptr) *headers = sentBlock;

  net::Limits limits = net::EffectiveLimits(kRequestLimits);
  net::CallTime callTimeLeft = limits.total;
  Text answerHeaders;
  Text answer = [&]() -> Text {
    Hop hop{*authority + *path, settled, sentBlock, withBody};
    for (long redirects = 0;; ++redirects) {
      HopResult result = Send(hop, proxyUrl, body, limits, callTimeLeft);
      if (!result.ok) return {};
      if (result.redirectTo.empty()) {
        if (result.rawHeaders.size() < kRawHeaderBuffer) answerHeaders = Text(result.rawHeaders);
        return Text(std::move(result.body));
      }
      if (redirects == net::kMaxRedirects) return {};
      std::optional<std::string> next = net::WireAddress(result.redirectTo);
      if (!next) return {};
      // What went over a secure connection (a login form, its password) never follows a
      // redirect onto a clear-text one.
      if (net::IsDowngrade(hop.url, *next)) return {};

      // As browsers do: 301, 302 and 303 turn a POST into a GET without body, and then the
      // content lines must go too, or the server would wait for a body that never comes.
      bool toGet = result.status != 307 && result.status != 308;
      if (toGet && hop.method != Text("GET")) {
        hop.method = Text("GET");
        hop.withBody = false;
        hop.block = net::WithoutLines(hop.block, {"Content-Type", "Content-Length"});
      }
      // Credentials the caller meant for this site do not follow it to another one.
      if (Origin(*next) != Origin(hop.url)) {
        hop.block = net::WithoutLines(hop.block, {"Authorization", "Cookie", "Host"});
      }
      hop.url = *next;
    }
  }();
  if (responseHeaders != nullptr) *responseHeaders = answerHeaders;
  return answer;
}

}  // namespace quorvane
