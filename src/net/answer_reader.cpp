#include "net/answer_reader.h"

#include <algorithm>
#include <string_view>

#include "net/net_settings.h"
#include "text/services.h"

namespace quorvane::net {
namespace {

constexpr size_t kChunk = 512;

}  // namespace

bool AnswerReader::Attach(CURL* easy) {
  return curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &AnswerReader::OnHeader) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_HEADERDATA, this) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &AnswerReader::OnBody) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_WRITEDATA, this) == CURLE_OK;
}

size_t AnswerReader::OnHeader(char* data, size_t, size_t size, void* self) {
  static_cast<AnswerReader*>(self)->head_.Take(std::string_view(data, size));
  return size;
}

size_t AnswerReader::OnBody(char* data, size_t, size_t size, void* self) {
  auto* reader = static_cast<AnswerReader*>(self);
  // A redirect's own body is never wanted, but it is read to its end: libcurl works out where
  // the redirect leads only once its answer is complete.
  if (reader->head_.IsRedirect()) return size;
  if (!reader->head_.Arrived()) return 0;
  size_t room = kMaxBody - reader->received_;
  size_t kept = std::min(size, room);
  reader->pending_.append(data, kept);
  reader->received_ += kept;
  return kept == size ? size : 0;
}

void AnswerReader::Consume() {
  if (!head_.Arrived()) return;
  size_t offset = 0;
  for (;;) {
    if (!dispatched_) {
      ProcessPendingEvents();
      dispatched_ = true;
    }
    if (offset == pending_.size()) break;
    std::string_view chunk = std::string_view(pending_).substr(offset, kChunk);
    offset += chunk.size();
    dispatched_ = false;
    if (sawZero_) continue;
    // The result is text, which ends at the first zero byte; later bytes are read but not kept.
    size_t zero = chunk.find('\0');
    body_.append(chunk.substr(0, zero));
    sawZero_ = zero != std::string_view::npos;
  }
  pending_.clear();
}

}  // namespace quorvane::net
