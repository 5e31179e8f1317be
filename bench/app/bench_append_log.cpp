// Appends 60-byte lines to the log box of a real, shown MainWindow (offscreen) and compares
// 20,000 appends with 2,000: a cost per line that does not grow with the log keeps the ratio
// near 10. Rewriting the whole box for every line, the obvious way, is shown for 2,000 lines
// as the reference. One line of 2 MiB, as a hostile video page makes the query log, shows
// that a line costs time linear in its length: breaking it at word boundaries took minutes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "controls/controls.h"
#include "net/endpoints.h"
#include "query/query_state.h"
#include "text/text_ops.h"

namespace {

using quorvane::EditBox;
using quorvane::Text;

struct Window {
  quorvane::QueryState state;
  quorvane::MainWindow window{quorvane::Endpoints{"127.0.0.1:9", "127.0.0.1:9", "127.0.0.1:9",
                                                  "127.0.0.1:9", "127.0.0.1:9"},
                              state};
  Window() {
    window.show();
    QApplication::processEvents();
  }
};

// 60 bytes with CR LF, a mix of code-page-936 characters and ASCII like the real log.
Text LogLine(int number) {
  Text line = quorvane::Local("第") + Text(std::to_string(number)) + quorvane::Local("段地址:") +
              Text("http://cn-example.acgvideo.com/vg/");
  while (line.Length() < 58)
    line += Text("x");
  return quorvane::TextLeft(line, 58) + Text("\r\n");
}

void BM_AppendLog(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    state.ResumeTiming();
    for (int i = 0; i < lines; ++i)
      window->window.controls().AppendLog(LogLine(i));
    // Whatever layout work the box put off is part of the cost.
    QApplication::processEvents();
    state.PauseTiming();
    if (window->window.controls().ReadContent(EditBox::编辑框1).Length() != lines * 60) {
      state.SkipWithError("the log box lost lines");
    }
    window.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_AppendLog)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A title cut from a hostile page: code-page-936 characters, then one run of ASCII with no place
// to break a line, 2 MiB with its CR LF.
Text HostileLine(size_t bytes) {
  std::string line = quorvane::Local("视频标题:").str();
  line.reserve(bytes);
  while (line.size() + 2 < bytes)
    line += "cid=";
  line.resize(bytes - 2, '=');
  return Text(line + "\r\n");
}

void BM_AppendLongLine(benchmark::State& state) {
  const Text line = HostileLine(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    state.ResumeTiming();
    window->window.controls().AppendLog(line);
    QApplication::processEvents();
    state.PauseTiming();
    if (window->window.controls().ReadContent(EditBox::编辑框1).Length() != line.Length()) {
      state.SkipWithError("the log box lost bytes");
    }
    window.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendLongLine)->Arg(2 << 20)->Unit(benchmark::kMillisecond)->Iterations(3);

// The literal algorithm: read everything, concatenate, write everything back.
void BM_RewriteWholeLog(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<Window>();
    state.ResumeTiming();
    quorvane::Controls& controls = window->window.controls();
    for (int i = 0; i < lines; ++i) {
      controls.WriteContent(EditBox::编辑框1, controls.ReadContent(EditBox::编辑框1) + LogLine(i));
    }
    QApplication::processEvents();
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RewriteWholeLog)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Keeps the mean time of each run, so that the ratio can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!run.error_occurred) milliseconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Milliseconds(const std::string& name) const {
    auto found = milliseconds_.find(name);
    return found == milliseconds_.end() ? 0.0 : found->second;
  }

 private:
  std::map<std::string, double> milliseconds_;
};

}  // namespace

int main(int argc, char** argv) {
  // Before the application exists: the platform is chosen when it is created.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const double longLine = reporter.Milliseconds("BM_AppendLongLine/2097152/iterations:3");
  if (longLine > 0) std::printf("\none line of 2 MiB: %.1f ms\n", longLine);

  const double small = reporter.Milliseconds("BM_AppendLog/2000/iterations:3");
  const double large = reporter.Milliseconds("BM_AppendLog/20000/iterations:3");
  if (small > 0 && large > 0) {
    const double ratio = large / small;
    std::printf(
        "\n2,000 appends: %.1f ms\n20,000 appends: %.1f ms\nratio: %.2f (goal: at most 12)\n",
        small, large, ratio);
    return ratio <= 12.0 ? 0 : 1;
  }
  return 0;
}
