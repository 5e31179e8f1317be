// LoadData against pugixml on the same play-address documents, at 1 MiB and 16 MiB. The ratio
// of the two and LoadData's growth from the small to the large size are what to read.
#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include "playurl_document.h"
#include "xml/xml_document.h"

namespace {

void BM_LoadData(benchmark::State& state) {
  const quorvane::Bytes data(quorvane::xml_bench::PlayUrlDocument(state.range(0) << 20));
  quorvane::XmlDocument doc;
  for (auto _ : state) {
    // As the video query loads the answer: UTF-8 by default, plain split.
    if (doc.LoadData(data, 1) != 1) state.SkipWithError("LoadData failed");
    benchmark::DoNotOptimize(doc.GetNodeCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
  state.counters["nodes"] = doc.GetNodeCount();
}

// The same bytes, reloaded into one document as LoadData's side does: load_buffer frees the
// previous document first and copies the buffer, as LoadData clears and keeps its raw copy.
void BM_Pugixml(benchmark::State& state) {
  const std::string data = quorvane::xml_bench::PlayUrlDocument(state.range(0) << 20);
  pugi::xml_document doc;
  for (auto _ : state) {
    if (!doc.load_buffer(data.data(), data.size())) state.SkipWithError("pugixml failed");
    benchmark::DoNotOptimize(doc.first_child());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

}  // namespace

BENCHMARK(BM_LoadData)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pugixml)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
