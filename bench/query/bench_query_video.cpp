// How long one QueryVideo takes on a heavy video — a 2 MiB page and a play-address answer
// with 5,000 url nodes, served by the in-process stand-in site — and how that time splits
// between its phases. BM_WholeQuery runs the workflow against controls whose log is a plain
// Text; the phase benchmarks repeat each kind of work on the same data, and BM_LogIntoWindow
// shows what the same log lines cost in the real window's log box.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "controls/controls.h"
#include "net/endpoints.h"
#include "net/fetch_url.h"
#include "query/query_state.h"
#include "query/query_texts.h"
#include "query/query_video.h"
#include "query/text_extraction.h"
#include "testsite/stand_in_site.h"
#include "text/encoding.h"
#include "text/text_ops.h"
#include "xml/xml_document.h"

namespace quorvane {
namespace {

constexpr size_t kPageBytes = 2 * 1024 * 1024;
constexpr int kDurlNodes = 50;
constexpr int kUrlsPerDurl = 100;

// The fields come after two mebibytes of mixed Chinese and ASCII text, so every marker search
// runs through the whole page.
std::string HeavyPage(const std::string& host) {
  const std::string filler = "<p class=\"c\">弹幕评论 danmaku 视频 comment 第一段。</p>\n";
  std::string page = "<html><body>\n";
  while (page.size() < kPageBytes)
    page += filler;
  page +=
      "<h1 title=\"重的视频\">重的视频</h1>\n<a class=\"up\" alt=\"上传者\" />\n"
      "<time class=\"at\"><i>2012-03-04 05:06</i></time>\n"
      "<img src=\"http://" +
      host +
      "/cover.bmp\" style=\"x\">\n"
      "<embed flashvars=\"cid=4242&&aid=1219760\"></embed></body></html>\n";
  return page;
}

std::string HeavyAnswer() {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<video>\n";
  for (int d = 0; d < kDurlNodes; ++d) {
    xml += "  <durl>\n    <order>" + std::to_string(d + 1) + "</order>\n";
    for (int u = 0; u < kUrlsPerDurl; ++u) {
      const std::string address = "http://cdn.example/" + std::to_string(d) + "/" +
                                  std::to_string(u) + ".flv?key=abcdef&ts=1234567890";
      // Every other address as CDATA, as the real interface sends them.
      xml += (u % 2 == 0) ? "    <url><![CDATA[" + address + "]]></url>\n"
                          : "    <url>" + address + "</url>\n";
    }
    xml += "  </durl>\n";
  }
  return xml + "</video>\n";
}

// The log lines a query of the heavy video writes, for the logging benchmarks.
std::vector<Text> HeavyLogLines() {
  std::vector<Text> lines(9, Local("字段:some value of a field\r\n"));
  for (int k = 1; k <= kDurlNodes * kUrlsPerDurl; ++k) {
    lines.push_back(Local("第") + IntegerToText(k) +
                    Local("段:http://cdn.example/1/2.flv?"
                          "key=abcdef&ts=1234567890\r\n"));
  }
  return lines;
}

class TextLogControls : public Controls {
 public:
  Text ReadContent(EditBox box) const override {
    return box == EditBox::编辑框1 ? log : box == EditBox::编辑框2 ? av : Text();
  }
  void WriteContent(EditBox box, const Text& text) override {
    if (box == EditBox::编辑框1) log = text;
  }
  void WriteDisabled(Button, bool) override {}
  void WriteCaption(Button, const Text&) override {}
  void WritePicture(PictureBox, const Bytes&) override {}
  // Read, concatenate and write back, as the window's log box does.
  void AppendLog(const Text& line) override { log = ReadContent(EditBox::编辑框1) + line; }

  Text av = Local("1219760");
  Text log;
};

testsite::Response Answer(std::string contentType, std::string body) {
  testsite::Response response;
  response.contentType = std::move(contentType);
  response.body = std::move(body);
  return response;
}

struct Fixture {
  Fixture() : endpoints(Endpoints::Default()) {
    endpoints.videoHost = site.HttpHost();
    endpoints.playUrlHost = site.HttpHost();
    page = HeavyPage(site.HttpHost());
    answer = HeavyAnswer();
    site.Route("GET", "/video/av1219760", Answer("text/html; charset=utf-8", page));
    site.Route("GET", "/cover.bmp", Answer("image/bmp", "BM"));
    site.Route("GET", "/playurl", Answer("text/xml", answer));
    pageBytes = Bytes(page);
    answerBytes = Bytes(answer);
    pageText = Utf8ToGbk(pageBytes);
  }
  testsite::StandInSite site;
  Endpoints endpoints;
  std::string page;
  std::string answer;
  Bytes pageBytes;
  Bytes answerBytes;
  Text pageText;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_WholeQuery(benchmark::State& state) {
  Fixture& f = Shared();
  QueryState queryState;
  for (auto _ : state) {
    TextLogControls controls;
    QueryVideo(controls, f.endpoints, queryState);
    benchmark::DoNotOptimize(controls.log);
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<int64_t>(f.page.size() + f.answer.size()));
}
BENCHMARK(BM_WholeQuery)->Unit(benchmark::kMillisecond);

void BM_FetchPageAndAnswer(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    benchmark::DoNotOptimize(FetchUrl(f.endpoints.VideoPage(Local("1219760"))));
    benchmark::DoNotOptimize(FetchUrl(f.endpoints.PlayUrl(Local("4242"))));
  }
}
BENCHMARK(BM_FetchPageAndAnswer)->Unit(benchmark::kMillisecond);

void BM_DecodePage(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state)
    benchmark::DoNotOptimize(Utf8ToGbk(f.pageBytes));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.page.size()));
}
BENCHMARK(BM_DecodePage)->Unit(benchmark::kMillisecond);

// The marker searches of one query of a video that is no duplicate, with the query's own
// markers: nine searches, as the cover address is cut twice.
void BM_ExtractFields(benchmark::State& state) {
  Fixture& f = Shared();
  const QueryTexts& t = GetQueryTexts();
  const std::vector<const MarkerPair*> markers = {
      &t.duplicateNotice, &t.stateHeading, &t.title, &t.uploader, &t.uploadTime,
      &t.coverAddress,    &t.coverAddress, &t.cid,   &t.aid};
  for (auto _ : state) {
    for (const MarkerPair* pair : markers)
      benchmark::DoNotOptimize(TextBetween(f.pageText, pair->left, pair->right));
  }
}
BENCHMARK(BM_ExtractFields)->Unit(benchmark::kMillisecond);

void BM_ParseAnswer(benchmark::State& state) {
  Fixture& f = Shared();
  XmlDocument doc;
  for (auto _ : state)
    benchmark::DoNotOptimize(doc.LoadData(f.answerBytes, 1));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.answer.size()));
}
BENCHMARK(BM_ParseAnswer)->Unit(benchmark::kMillisecond);

void BM_LogIntoText(benchmark::State& state) {
  const std::vector<Text> lines = HeavyLogLines();
  for (auto _ : state) {
    TextLogControls controls;
    for (const Text& line : lines)
      controls.AppendLog(line);
    benchmark::DoNotOptimize(controls.log);
  }
}
BENCHMARK(BM_LogIntoText)->Unit(benchmark::kMillisecond);

// The same lines through the real log box, which rewrites the whole widget text per line.
void BM_LogIntoWindow(benchmark::State& state) {
  const std::vector<Text> lines = HeavyLogLines();
  QueryState queryState;
  MainWindow window(Endpoints::Default(), queryState);
  for (auto _ : state) {
    window.controls().WriteContent(EditBox::编辑框1, Text());
    for (const Text& line : lines)
      window.controls().AppendLog(line);
  }
}
BENCHMARK(BM_LogIntoWindow)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace quorvane

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
