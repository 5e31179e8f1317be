// Reads the header lines of an answer as libcurl hands them over, one line per call, and tells
// when the head of the final answer, or of a redirect to follow, is complete.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::net {

class AnswerHead {
 public:
  // Takes one header line, its line end included.
  void Take(std::string_view line);

  // A redirect status with a Location came to its end: its body is not part of the answer.
  bool IsRedirect() const { return redirect_; }
  // The head of an answer that is not a redirect came to its end.
  bool Arrived() const { return arrived_; }
  int Status() const { return status_; }
  // The final answer's header block as received, status line and closing empty line included.
  const std::string& RawHeaders() const { return final_; }

 private:
  std::string block_;
  int status_ = 0;
  bool hasLocation_ = false;
  bool redirect_ = false;
  bool arrived_ = false;
  std::string final_;
};

}  // namespace quorvane::net
