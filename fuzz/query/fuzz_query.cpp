// The whole video query against fake controls and a loopback site that serves a fuzzed video
// page and a fuzzed play-address answer. Besides the sanitizers' findings: the query returns,
// and the segments it logs are exactly the url children of the root's durl children, in order.
//
// Input: the video page (UTF-8, as the site sends it), "@@@@", the play-address answer, and
// optionally "@@@@" and the page a duplicate notice leads to (otherwise the first page again).
// Every other address the page names (the cover) gets a 404 or, outside loopback, no answer.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "controls/controls.h"
#include "isolated_network.h"
#include "loopback_server.h"
#include "net/endpoints.h"
#include "net/network_options.h"
#include "query/query_state.h"
#include "query/query_texts.h"
#include "query/query_video.h"
#include "text/text_ops.h"
#include "xml/xml_document.h"

namespace {

using namespace std::chrono_literals;
using quorvane::Text;
using quorvane::fuzzing::LoopbackServer;

constexpr std::string_view kNext = "@@@@";

class FakeControls : public quorvane::Controls {
 public:
  Text ReadContent(quorvane::EditBox box) const override {
    auto found = contents.find(box);
    return found == contents.end() ? Text() : found->second;
  }
  void WriteContent(quorvane::EditBox box, const Text& text) override { contents[box] = text; }
  void WriteDisabled(quorvane::Button, bool) override {}
  void WriteCaption(quorvane::Button, const Text&) override {}
  void WritePicture(quorvane::PictureBox, const quorvane::Bytes&) override {}
  void AppendLog(const Text& line) override { log += line; }

  std::map<quorvane::EditBox, Text> contents;
  Text log;
};

std::unique_ptr<LoopbackServer>& Server() {
  static std::unique_ptr<LoopbackServer> server;
  return server;
}

std::string Ok(std::string_view body) {
  return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" +
         std::string(body);
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The log's last lines after a query whose play-address answer `answer` loads: the segments
// are the url children of the root's durl children, numbered from 1.
Text ExpectedTail(const quorvane::Bytes& answer) {
  const quorvane::QueryTexts& t = quorvane::GetQueryTexts();
  quorvane::XmlDocument doc;
  if (doc.LoadData(answer, 1) != 1) return {};
  Text tail;
  quorvane::XmlNode root;
  if (doc.GetNode(0, root) == 0) tail += t.noRootLine;
  int32_t segment = 0;
  for (int32_t child : root.children) {
    if (doc.GetNodeName(child) != t.durlName) continue;
    quorvane::XmlNode durl;
    if (doc.GetNode(child, durl) == 0) std::abort();  // a listed child must be a live node
    for (int32_t grandchild : durl.children) {
      if (doc.GetNodeName(grandchild) != t.urlName) continue;
      quorvane::XmlNode url;
      if (doc.GetNode(grandchild, url) == 0) std::abort();
      tail += t.segmentPrefix + quorvane::IntegerToText(++segment) + t.segmentSuffix + url.text +
              t.lineEnd;
    }
  }
  return tail + t.downloadsDoneRule;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!quorvane::fuzzing::IsolateNetwork()) std::exit(quorvane::fuzzing::kCannotIsolateStatus);
  quorvane::SetTimeoutsForTesting(500ms, 100ms, 2000ms, 1000ms);
  Server() = std::make_unique<LoopbackServer>();
  if (!Server()->ok()) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
    std::exit(1);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view parts[3];
  for (std::string_view& part : parts) {
    const size_t next = input.find(kNext);
    part = input.substr(0, next);
    input = next == std::string_view::npos ? std::string_view() : input.substr(next + kNext.size());
  }
  const std::string_view page = parts[0];
  const std::string_view playUrl = parts[1];
  const std::string_view secondPage = parts[2].empty() ? parts[0] : parts[2];

  LoopbackServer& server = *Server();
  int pagesServed = 0;
  server.SetScript([&](const std::string& head, int) {
    if (head.rfind("GET /video/", 0) == 0)
      return quorvane::fuzzing::Reply{Ok(pagesServed++ == 0 ? page : secondPage)};
    if (head.rfind("GET /playurl", 0) == 0) return quorvane::fuzzing::Reply{Ok(playUrl)};
    return quorvane::fuzzing::Reply{"HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n"};
  });

  quorvane::Endpoints endpoints;
  endpoints.videoHost = endpoints.playUrlHost = endpoints.captchaHost = endpoints.accountHost =
      endpoints.gameHost = server.Authority();
  FakeControls controls;
  controls.contents[quorvane::EditBox::编辑框2] = Text("170001");
  {
    quorvane::QueryState state;
    quorvane::QueryVideo(controls, endpoints, state);
    // Only a query that got as far as loading the answer logs segments.
    if (!state.currentCid.empty()) {
      const Text tail = ExpectedTail(state.playUrlXml);
      if (!tail.empty() && !EndsWith(controls.log.view(), tail.view())) std::abort();
    }
  }
  server.SetScript(nullptr);
  return 0;
}
