#include "net/fetch_url.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "net/curl_session.h"
#include "net/transfer_loop.h"
#include "net/wire_safety.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;

constexpr net::Limits kFetchLimits{30s, 30s};
// No answer may make the process allocate without bound; what came before the cap is kept.
constexpr size_t kMaxBody = size_t{256} << 20;
// The most bytes one read asks for; also a good read size for libcurl.
constexpr long kReadSize = 102400;

// A large body would otherwise take one page fault per 4 KiB page as it is copied in; asking
// the kernel to map the reserved pages in one call is much cheaper. Only a hint: on a kernel
// that does not know it, the pages fault in as usual.
void MapInAdvance(std::string& bytes) {
#ifdef MADV_POPULATE_WRITE
  constexpr size_t kWorthIt = size_t{1} << 20;
  if (bytes.capacity() < kWorthIt) return;
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<uintptr_t>(bytes.data());
  const uintptr_t first = (begin + page - 1) / page * page;
  const uintptr_t last = (begin + bytes.capacity()) / page * page;
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
  (void)bytes;
#endif
}

struct Gathered {
  CURL* easy = nullptr;
  std::string bytes;
  bool reserved = false;
};

size_t OnBody(char* data, size_t, size_t size, void* user) {
  auto* gathered = static_cast<Gathered*>(user);
  if (!gathered->reserved) {
    gathered->reserved = true;
    curl_off_t length = -1;
    curl_easy_getinfo(gathered->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    // A stated length is only a hint: a lying server must not make us reserve the cap.
    if (length > 0) {
      gathered->bytes.reserve(std::min<size_t>(static_cast<size_t>(length), kMaxBody));
      MapInAdvance(gathered->bytes);
    }
  }
  size_t room = kMaxBody - gathered->bytes.size();
  gathered->bytes.append(data, std::min(size, room));
  // Returning less than offered ends the transfer; the bytes so far are the answer.
  return size <= room ? size : 0;
}

}  // namespace

Bytes FetchUrl(const Text& address) {
  if (address.empty()) return {};
  std::optional<std::string> wire = net::WireAddress(address.view());
  if (!wire) return {};

  net::Limits limits = net::EffectiveLimits(kFetchLimits);
  net::EasyHandle easy = net::NewEasyHandle(limits);
  if (!easy) return {};
  net::HeaderList headers;
  // Our own Accept replaces libcurl's; it is the only header the fetch adds itself.
  if (!headers.Append("Accept: */*")) return {};

  Gathered gathered;
  gathered.easy = easy.get();
  CURL* e = easy.get();
  bool ok = curl_easy_setopt(e, CURLOPT_URL, wire->c_str()) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get()) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_MAXREDIRS, net::kMaxRedirects) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_BUFFERSIZE, kReadSize) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &OnBody) == CURLE_OK &&
            curl_easy_setopt(e, CURLOPT_WRITEDATA, &gathered) == CURLE_OK;
  if (!ok) return {};

  // Whatever ended the transfer, the body bytes that came are the answer: a failure before
  // the headers leaves none, a read that breaks part-way leaves what was read.
  net::RunTransfer(e, limits.idle, nullptr);
  return Bytes(std::move(gathered.bytes));
}

}  // namespace quorvane
