#include "net/curl_session.h"

#include <mutex>
#include <string>

namespace quorvane::net {
namespace {

// Stands in for the platform's internet session: made by the first request of the process,
// kept until exit. The cookie store is locked around libcurl's own short accesses only, so a
// request started from a handler nested inside another request never waits on it.
class Session {
 public:
  static Session& Instance() {
    static Session session;
    return session;
  }

  // The shared store, made on first use; nullptr when it cannot be made yet.
  CURLSH* Share() {
    std::lock_guard lock(setupMutex_);
    if (share_) return share_.get();
    if (!globalReady_) globalReady_ = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!globalReady_) return nullptr;
    ShareHandle share(curl_share_init());
    if (!share ||
        curl_share_setopt(share.get(), CURLSHOPT_LOCKFUNC, &Session::Lock) != CURLSHE_OK ||
        curl_share_setopt(share.get(), CURLSHOPT_UNLOCKFUNC, &Session::Unlock) != CURLSHE_OK ||
        curl_share_setopt(share.get(), CURLSHOPT_USERDATA, this) != CURLSHE_OK ||
        curl_share_setopt(share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE) != CURLSHE_OK) {
      return nullptr;
    }
    share_ = std::move(share);
    return share_.get();
  }

  ~Session() {
    share_.reset();
    if (globalReady_) curl_global_cleanup();
  }

 private:
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<Session*>(self)->MutexFor(data).lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<Session*>(self)->MutexFor(data).unlock();
  }
  std::mutex& MutexFor(curl_lock_data data) {
    return data == CURL_LOCK_DATA_COOKIE ? cookieMutex_ : shareMutex_;
  }

  std::mutex setupMutex_;
  std::mutex cookieMutex_;
  std::mutex shareMutex_;  // libcurl also locks CURL_LOCK_DATA_SHARE around the share itself
  bool globalReady_ = false;
  ShareHandle share_;
};

bool Set(CURL* easy, CURLoption option, long value) {
  return curl_easy_setopt(easy, option, value) == CURLE_OK;
}
bool Set(CURL* easy, CURLoption option, const char* value) {
  return curl_easy_setopt(easy, option, value) == CURLE_OK;
}

}  // namespace

EasyHandle NewEasyHandle(const Limits& limits) {
  CURLSH* share = Session::Instance().Share();
  if (share == nullptr) return {};
  EasyHandle easy(curl_easy_init());
  if (!easy) return {};
  CURL* e = easy.get();
  bool ok = curl_easy_setopt(e, CURLOPT_SHARE, share) == CURLE_OK &&
            // "" switches the cookie engine on without reading any file.
            Set(e, CURLOPT_COOKIEFILE, "") && Set(e, CURLOPT_USERAGENT, kUserAgent) &&
            Set(e, CURLOPT_PROTOCOLS_STR, "http,https") &&
            Set(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") &&
            Set(e, CURLOPT_SSL_VERIFYPEER, 1L) && Set(e, CURLOPT_SSL_VERIFYHOST, 2L) &&
            Set(e, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connect.count())) &&
            // A transfer ended during a slow name lookup must not wait in its clean-up for the
            // resolver thread: that wait would hold the window past every limit.
            Set(e, CURLOPT_QUICK_EXIT, 1L);
  if (!ok) return {};

  std::string pem = TrustedCertificate();
  if (!pem.empty()) {
    curl_blob blob{pem.data(), pem.size(), CURL_BLOB_COPY};
    // Without the file and directory defaults the blob is the only trust anchor.
    if (curl_easy_setopt(e, CURLOPT_CAINFO_BLOB, &blob) != CURLE_OK ||
        curl_easy_setopt(e, CURLOPT_CAINFO, nullptr) != CURLE_OK ||
        curl_easy_setopt(e, CURLOPT_CAPATH, nullptr) != CURLE_OK) {
      return {};
    }
  }
  return easy;
}

}  // namespace quorvane::net
