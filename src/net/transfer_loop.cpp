#include "net/transfer_loop.h"

#include <algorithm>

namespace quorvane::net {
namespace {

using Clock = std::chrono::steady_clock;

struct Progress {
  curl_off_t downloaded = 0;
  curl_off_t uploaded = 0;
  bool moved = false;  // a byte went either way since the loop last looked
};

int OnProgress(void* data, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
  auto* progress = static_cast<Progress*>(data);
  if (downloaded != progress->downloaded || uploaded != progress->uploaded) {
    progress->downloaded = downloaded;
    progress->uploaded = uploaded;
    progress->moved = true;
  }
  return 0;
}

// Takes the easy handle off the multi handle on every way out of RunTransfer.
class Attachment {
 public:
  Attachment(CURLM* multi, CURL* easy)
      : multi_(multi), easy_(easy), ok_(curl_multi_add_handle(multi, easy) == CURLM_OK) {}
  ~Attachment() {
    if (ok_) curl_multi_remove_handle(multi_, easy_);
  }
  bool ok() const { return ok_; }

 private:
  CURLM* multi_;
  CURL* easy_;
  bool ok_;
};

CURLcode ResultOf(CURLM* multi, CURL* easy) {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy) return message->data.result;
  }
  return CURLE_FAILED_INIT;
}

}  // namespace

CURLcode RunTransfer(CURL* easy, std::chrono::milliseconds idle,
                     const std::function<void()>& betweenSteps) {
  MultiHandle multi(curl_multi_init());
  if (!multi) return CURLE_OUT_OF_MEMORY;
  Progress progress;
  if (curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &OnProgress) != CURLE_OK ||
      curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &progress) != CURLE_OK ||
      curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L) != CURLE_OK) {
    return CURLE_FAILED_INIT;
  }
  Attachment attachment(multi.get(), easy);
  if (!attachment.ok()) return CURLE_FAILED_INIT;

  Clock::duration waited{};
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi.get(), &running) != CURLM_OK) return CURLE_FAILED_INIT;
    if (running == 0) return ResultOf(multi.get(), easy);
    if (progress.moved) {
      progress.moved = false;
      waited = {};
    }
    if (betweenSteps) betweenSteps();
    // The connect phase has libcurl's own limit; only a connected transfer counts as idle.
    curl_off_t connected = 0;
    curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &connected);
    if (connected == 0) waited = {};
    if (waited >= idle) return CURLE_OPERATION_TIMEDOUT;

    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(idle - waited);
    int timeout = static_cast<int>(std::clamp<long long>(left.count(), 1, 100));
    Clock::time_point before = Clock::now();
    if (curl_multi_poll(multi.get(), nullptr, 0, timeout, nullptr) != CURLM_OK) {
      return CURLE_FAILED_INIT;
    }
    waited += Clock::now() - before;
  }
}

}  // namespace quorvane::net
