// Owner types for libcurl handles: each frees its handle when it goes out of scope.
#pragma once

#include <memory>

#include <curl/curl.h>

namespace quorvane::net {

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiCleanup {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ShareCleanup {
  void operator()(CURLSH* share) const { curl_share_cleanup(share); }
};
struct SlistFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;
using MultiHandle = std::unique_ptr<CURLM, MultiCleanup>;
using ShareHandle = std::unique_ptr<CURLSH, ShareCleanup>;

// A header list that grows by Append; false when memory runs out (the list stays intact).
class HeaderList {
 public:
  bool Append(const char* line) {
    curl_slist* grown = curl_slist_append(head_.get(), line);
    if (grown == nullptr) return false;
    head_.release();
    head_.reset(grown);
    return true;
  }
  curl_slist* get() const { return head_.get(); }

 private:
  std::unique_ptr<curl_slist, SlistFree> head_;
};

}  // namespace quorvane::net
