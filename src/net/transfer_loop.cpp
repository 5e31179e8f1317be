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

CURLcode RunTransfer(CURL* easy, const Limits& limits, CallTime& callTimeLeft,
                     const std::function<void()>& betweenSteps) {
  if (callTimeLeft <= CallTime::zero()) return CURLE_OPERATION_TIMEDOUT;
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

  Clock::time_point mark = Clock::now();
  Clock::duration waited{};  // without a byte moving, since connected
  Clock::duration window{};  // of the current low-speed measurement, since connected
  curl_off_t windowStart = 0;
  bool connected = false;
  // Takes the time since the last mark off the call and adds it to the running measurements.
  auto charge = [&] {
    Clock::time_point now = Clock::now();
    Clock::duration spent = now - mark;
    mark = now;
    callTimeLeft -= spent;
    if (connected) {
      waited += spent;
      window += spent;
    }
  };
  for (;;) {
    int running = 0;
    CURLMcode performed = curl_multi_perform(multi.get(), &running);
    charge();
    if (performed != CURLM_OK) return CURLE_FAILED_INIT;
    if (running == 0) return ResultOf(multi.get(), easy);
    if (progress.moved) {
      progress.moved = false;
      waited = {};
    }
    if (betweenSteps) {
      betweenSteps();
      mark = Clock::now();
    }
    // The connect phase has libcurl's own limit; only a connected transfer counts as idle or
    // slow.
    if (!connected) {
      curl_off_t pretransfer = 0;
      curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
      connected = pretransfer != 0;
      windowStart = progress.downloaded + progress.uploaded;
    }
    if (waited >= limits.idle || callTimeLeft <= Clock::duration::zero()) {
      return CURLE_OPERATION_TIMEDOUT;
    }
    if (window >= limits.lowSpeedWindow) {
      curl_off_t moved = progress.downloaded + progress.uploaded - windowStart;
      auto windowMs = std::chrono::duration_cast<std::chrono::milliseconds>(window).count();
      if (moved * 1000 < kLowSpeedBytesPerSecond * windowMs) return CURLE_OPERATION_TIMEDOUT;
      window = {};
      windowStart += moved;
    }

    Clock::duration left = std::min(
        {limits.idle - waited, callTimeLeft, Clock::duration(limits.lowSpeedWindow) - window});
    auto leftMs = std::chrono::duration_cast<std::chrono::milliseconds>(left).count();
    int timeout = static_cast<int>(std::clamp<long long>(leftMs, 1, 100));
    if (curl_multi_poll(multi.get(), nullptr, 0, timeout, nullptr) != CURLM_OK) {
      return CURLE_FAILED_INIT;
    }
    charge();
  }
}

}  // namespace quorvane::net
