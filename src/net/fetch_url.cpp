#include "net/fetch_url.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "net/answer_head.h"
#include "net/body_buffer.h"
#include "net/curl_session.h"
#include "net/net_settings.h"
#include "net/transfer_loop.h"
#include "net/wire_safety.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;
using net::kMaxBody;

constexpr net::Limits kFetchLimits{30s, 30s};
// The most a stated Content-Length may reserve before the bytes come; past it the buffer grows
// with what actually arrives.
constexpr size_t kFirstReserve = size_t{4} << 20;
// The most bytes one read asks for; also a good read size for libcurl.
constexpr long kReadSize = 102400;

// A large buffer would otherwise take one page fault per 4 KiB page as it is filled, and on
// 4 KiB pages every copy into it pays for the address translations too. Asking for huge pages
// and mapping the reserved pages in one call is much cheaper. Only hints: on a kernel that does
// not know them, the pages fault in as usual.
void MapInAdvance(std::string& bytes) {
#ifdef MADV_POPULATE_WRITE
  constexpr size_t kWorthIt = size_t{1} << 20;
  if (bytes.capacity() < kWorthIt) return;
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<uintptr_t>(bytes.data());
  const uintptr_t first = (begin + page - 1) / page * page;
  const uintptr_t last = (begin + bytes.capacity()) / page * page;
  if (last <= first) return;
  madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
  (void)bytes;
#endif
}

struct Gathered {
  CURL* easy = nullptr;
  net::AnswerHead head;
  std::string bytes;
  size_t stated = 0;  // the answer's Content-Length, within the cap; 0 when none
  bool sized = false;
};

// Makes room for `more` bytes. Doubling keeps the copies few; a stated length caps the step, so
// an answer that tells the truth ends in a buffer of exactly its size.
void MakeRoom(Gathered& gathered, size_t more) {
  std::string& bytes = gathered.bytes;
  size_t needed = bytes.size() + more;
  if (needed <= bytes.capacity()) return;
  // `needed` never passes the cap, so neither does the step.
  size_t next = std::clamp(2 * bytes.capacity(), needed, std::max(needed, kMaxBody));
  if (gathered.stated >= needed) next = std::min(next, gathered.stated);
  // Mapped before the bytes so far are copied in, so the copy does not fault page by page.
  std::string grown;
  grown.reserve(next);
  MapInAdvance(grown);
  grown.append(bytes);
  bytes.swap(grown);
}

size_t OnHeader(char* data, size_t, size_t size, void* user) {
  static_cast<Gathered*>(user)->head.Take(std::string_view(data, size));
  return size;
}

size_t OnBody(char* data, size_t, size_t size, void* user) {
  auto* gathered = static_cast<Gathered*>(user);
  // A redirect's own body is never wanted, but it is read to its end: libcurl works out where
  // the redirect leads only once its answer is complete.
  if (gathered->head.IsRedirect()) return size;
  if (!gathered->sized) {
    gathered->sized = true;
    curl_off_t length = -1;
    curl_easy_getinfo(gathered->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length > 0) {
      gathered->stated = std::min<size_t>(static_cast<size_t>(length), kMaxBody);
      // A stated length is only a hint: a lying server must not make us reserve the cap.
      gathered->bytes.reserve(std::min(gathered->stated, kFirstReserve));
      MapInAdvance(gathered->bytes);
    }
  }
  size_t room = kMaxBody - gathered->bytes.size();
  size_t kept = std::min(size, room);
  MakeRoom(*gathered, kept);
  gathered->bytes.append(data, kept);
  // Returning less than offered ends the transfer; the bytes so far are the answer.
  return kept == size ? size : 0;
}

struct Hop {
  std::optional<std::string> redirectTo;  // set when the answer was a redirect to follow
  std::string bytes;
  bool failed = false;  // a redirect whose target could not be had
};

Hop FetchOnce(const std::string& url, const net::Limits& limits, net::CallTime& callTimeLeft) {
  Hop hop;
  net::EasyHandle easy = net::NewEasyHandle(limits);
  if (!easy) return hop;
  net::HeaderList headers;
  // Our own Accept replaces libcurl's; it is the only header the fetch adds itself.
  if (!headers.Append("Accept: */*")) return hop;

  Gathered gathered;
  gathered.easy = easy.get();
  CURL* e = easy.get();
  bool ok = curl_easy_setopt(e, CURLOPT_URL, url.c_str()) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK &&
            // Redirects are followed by the call itself, which checks where each one leads.
            curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kReadSize) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &OnHeader) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_HEADERDATA, &gathered) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &OnBody) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_WRITEDATA, &gathered) == CURLE_OK;
  if (!ok) return hop;

  // Whatever ended the transfer, the body bytes that came are the answer: a failure before
  // the headers leaves none, a read that breaks part-way leaves what was read.
  CURLcode done = net::RunTransfer(e, limits, callTimeLeft, nullptr);
  if (gathered.head.IsRedirect()) {
    char* location = nullptr;
    if (done == CURLE_OK) curl_easy_getinfo(e, CURLINFO_REDIRECT_URL, &location);
    if (location == nullptr) {
      hop.failed = true;
    } else {
      hop.redirectTo = location;
    }
    return hop;
  }
  net::DropSlack(gathered.bytes);
  hop.bytes = std::move(gathered.bytes);
  return hop;
}

}  // namespace

Bytes FetchUrl(const Text& address) {
  if (address.empty()) return {};
  std::optional<std::string> wire = net::WireAddress(address.view());
  if (!wire) return {};

  net::Limits limits = net::EffectiveLimits(kFetchLimits);
  net::CallTime callTimeLeft = limits.total;
  std::string url = std::move(*wire);
  for (long redirects = 0;; ++redirects) {
    Hop hop = FetchOnce(url, limits, callTimeLeft);
    if (hop.failed) return {};
    if (!hop.redirectTo) return Bytes(std::move(hop.bytes));
    if (redirects == net::kMaxRedirects) return {};
    std::optional<std::string> next = net::WireAddress(*hop.redirectTo);
    // A page fetched securely never leads the fetch onto a clear-text connection.
    if (!next || net::IsDowngrade(url, *next)) return {};
    url = std::move(*next);
  }
}

}  // namespace quorvane
