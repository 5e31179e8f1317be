#include "net/answer_reader.h"

#include <algorithm>
#include <string_view>

#include "text/services.h"

namespace quorvane::net {
namespace {

constexpr size_t kChunk = 512;
// No answer may make the process allocate without bound; what came before the cap is kept.
constexpr size_t kMaxBody = size_t{256} << 20;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsFollowedStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

bool AnswerReader::Attach(CURL* easy) {
  return curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &AnswerReader::OnHeader) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_HEADERDATA, this) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &AnswerReader::OnBody) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_WRITEDATA, this) == CURLE_OK;
}

size_t AnswerReader::OnHeader(char* data, size_t, size_t size, void* self) {
  auto* reader = static_cast<AnswerReader*>(self);
  std::string_view line(data, size);
  if (StartsWithNoCase(line, "http/")) {
    // A new answer begins (after a 100 Continue, for one): only the last block counts.
    reader->block_.assign(line);
    reader->hasLocation_ = false;
    size_t space = line.find(' ');
    reader->status_ = 0;
    for (size_t i = space == std::string_view::npos ? line.size() : space + 1;
         i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
      reader->status_ = reader->status_ * 10 + (line[i] - '0');
      if (reader->status_ > 999) break;
    }
    return size;
  }
  reader->block_.append(line);
  if (StartsWithNoCase(line, "location:")) reader->hasLocation_ = true;
  if (line == "\r\n" || line == "\n") {
    if (reader->status_ >= 100 && reader->status_ < 200) {
      reader->block_.clear();
    } else if (IsFollowedStatus(reader->status_) && reader->hasLocation_) {
      reader->redirect_ = true;
    } else {
      reader->headersArrived_ = true;
      reader->finalHeaders_ = reader->block_;
    }
  }
  return size;
}

size_t AnswerReader::OnBody(char* data, size_t, size_t size, void* self) {
  auto* reader = static_cast<AnswerReader*>(self);
  // A redirect's own body is never wanted; stopping here saves reading it.
  if (reader->redirect_ || !reader->headersArrived_) return 0;
  size_t room = kMaxBody - reader->received_;
  size_t kept = std::min(size, room);
  reader->pending_.append(data, kept);
  reader->received_ += kept;
  return kept == size ? size : 0;
}

void AnswerReader::Consume() {
  if (!headersArrived_) return;
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
