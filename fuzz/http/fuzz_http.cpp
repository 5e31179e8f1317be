// FetchUrl and WebRequest against a loopback server that answers with the input's raw bytes:
// status line, headers, a sized or chunked body or none, redirects back to itself. Besides the
// sanitizers' findings: the call returns (the connect and idle limits are lowered, so a stalled
// answer costs a fraction of a second) and never gives back more body than was sent.
//
// Input: one byte of options, then one answer per connection, separated by "@@@@"; the last
// answer serves every further connection. "{SELF}" in an answer stands for the server's
// "127.0.0.1:<port>". Option bit 0 picks WebRequest instead of FetchUrl, bit 1 makes it a POST;
// bit 2 sends the last answer in pieces of 1 to 8 bytes (bits 5 to 7 pick the size); the high
// four bits all set keep the connection of the last answer open after its bytes instead.
#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "isolated_network.h"
#include "loopback_server.h"
#include "net/fetch_url.h"
#include "net/network_options.h"
#include "net/web_request.h"

namespace {

using namespace std::chrono_literals;
using quorvane::fuzzing::LoopbackServer;

constexpr std::string_view kNext = "@@@@";
constexpr std::string_view kSelf = "{SELF}";
// Loopback connects at once and every answer is sent in one go, so a limit this short is only
// reached by an answer that stalls.
constexpr auto kConnectLimit = 500ms;
constexpr auto kIdleLimit = 100ms;
// A trickling answer is ended by these, so no input can hold a run longer than about 2 s.
constexpr auto kTotalLimit = 2000ms;
constexpr auto kLowSpeedWindow = 1000ms;

std::unique_ptr<LoopbackServer>& Server() {
  static std::unique_ptr<LoopbackServer> server;
  return server;
}

std::vector<std::string> SplitAnswers(std::string_view input, const std::string& self) {
  std::vector<std::string> answers;
  while (true) {
    const size_t next = input.find(kNext);
    std::string answer(input.substr(0, next));
    for (size_t at = answer.find(kSelf); at != std::string::npos;
         at = answer.find(kSelf, at + self.size())) {
      answer.replace(at, kSelf.size(), self);
    }
    answers.push_back(std::move(answer));
    if (next == std::string_view::npos) return answers;
    input.remove_prefix(next + kNext.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!quorvane::fuzzing::IsolateNetwork()) std::exit(quorvane::fuzzing::kCannotIsolateStatus);
  quorvane::SetTimeoutsForTesting(kConnectLimit, kIdleLimit, kTotalLimit, kLowSpeedWindow);
  Server() = std::make_unique<LoopbackServer>();
  if (!Server()->ok()) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
    std::exit(1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  LoopbackServer& server = *Server();
  const uint8_t options = data[0];
  const bool useWebRequest = options & 1;
  const bool post = options & 2;
  const bool holdLast = (options >> 4) == 0xF;
  const size_t lastPieceSize = !holdLast && (options & 4) ? 1 + (options >> 5) : 0;
  const std::vector<std::string> answers = SplitAnswers(
      std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), server.Authority());
  server.SetScript([&](const std::string&, int index) {
    const size_t k = std::min(static_cast<size_t>(index), answers.size() - 1);
    const bool last = k + 1 == answers.size();
    return quorvane::fuzzing::Reply{answers[k], holdLast && last, last ? lastPieceSize : 0};
  });

  const quorvane::Text url("http://" + server.Authority() + "/start");
  size_t received = 0;
  if (useWebRequest) {
    quorvane::Text method(post ? "POST" : "GET");
    quorvane::Text headers;
    quorvane::Text responseHeaders;
    const quorvane::Text body = quorvane::WebRequest(url, &method, nullptr, &headers,
                                                     quorvane::Text("a=1"), &responseHeaders);
    received = body.view().size();
    if (responseHeaders.view().size() > server.BytesSent()) std::abort();
  } else {
    received = quorvane::FetchUrl(url).size();
  }
  if (received > server.BytesSent()) std::abort();
  server.SetScript(nullptr);
  return 0;
}
