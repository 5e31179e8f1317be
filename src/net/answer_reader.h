// How WebRequest takes in an answer: libcurl's callbacks only store bytes, and the request's own
// loop hands them on in chunks of at most 512 bytes, dispatching the waiting window messages
// before each chunk, before the first and before the last, empty one.
#pragma once

#include <cstddef>
#include <string>

#include <curl/curl.h>

#include "net/answer_head.h"

namespace quorvane::net {

class AnswerReader {
 public:
  // Installs the header and body callbacks on the handle; false when libcurl refuses them.
  bool Attach(CURL* easy);

  // Hands the stored bytes on, dispatching messages as described above. Does nothing until
  // the final answer's headers are in. Call it between transfer steps and once at the end.
  void Consume();

  // The answer was a redirect to follow: its body is not part of the result.
  bool IsRedirect() const { return head_.IsRedirect(); }
  int Status() const { return head_.Status(); }
  bool HeadersArrived() const { return head_.Arrived(); }
  // The final answer's header block as received, status line and closing empty line included.
  const std::string& RawHeaders() const { return head_.RawHeaders(); }
  // The body up to, not including, its first zero byte.
  const std::string& Body() const { return body_; }

 private:
  static size_t OnHeader(char* data, size_t, size_t size, void* self);
  static size_t OnBody(char* data, size_t, size_t size, void* self);

  AnswerHead head_;

  std::string pending_;      // stored by the body callback, not yet handed on
  size_t received_ = 0;      // body bytes taken in so far, for the cap
  bool dispatched_ = false;  // messages were dispatched for the next chunk already
  bool sawZero_ = false;
  std::string body_;
};

}  // namespace quorvane::net
