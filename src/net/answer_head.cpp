#include "net/answer_head.h"

#include "text/ascii_case.h"

namespace quorvane::net {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool IsFollowedStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

void AnswerHead::Take(std::string_view line) {
  if (StartsWithNoCase(line, "http/")) {
    // A new answer begins (after a 100 Continue, for one): only the last block counts.
    block_.assign(line);
    hasLocation_ = false;
    size_t space = line.find(' ');
    status_ = 0;
    for (size_t i = space == std::string_view::npos ? line.size() : space + 1;
         i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
      status_ = status_ * 10 + (line[i] - '0');
      if (status_ > 999) break;
    }
    return;
  }
  block_.append(line);
  if (StartsWithNoCase(line, "location:")) hasLocation_ = true;
  if (line == "\r\n" || line == "\n") {
    if (status_ >= 100 && status_ < 200) {
      block_.clear();
    } else if (IsFollowedStatus(status_) && hasLocation_) {
      redirect_ = true;
    } else {
      arrived_ = true;
      final_ = block_;
    }
  }
}

}  // namespace quorvane::net
