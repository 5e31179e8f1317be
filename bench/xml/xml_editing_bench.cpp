// Editing a root with n leaf children, at 10k and 100k: deleting every child, adding as many
// nodes again (they take the released numbers), and writing each node once into one growing
// output. Each should cost time linear in n: read the growth from 10k to 100k (10x is linear).
#include <benchmark/benchmark.h>

#include <string>

#include "xml/xml_document.h"

namespace {

using quorvane::Bytes;
using quorvane::Text;
using quorvane::XmlDocument;

// Children 1..n, root n + 1.
XmlDocument RootWithChildren(int64_t n) {
  std::string xml = "<r>";
  for (int64_t i = 0; i < n; ++i)
    xml += "<c x=\"1\">t</c>";
  xml += "</r>";
  XmlDocument doc;
  doc.LoadData(Bytes(std::move(xml)));
  return doc;
}

void BM_DeleteEveryChild(benchmark::State& state) {
  const int64_t n = state.range(0);
  const XmlDocument loaded = RootWithChildren(n);
  for (auto _ : state) {
    state.PauseTiming();
    XmlDocument doc = loaded;
    state.ResumeTiming();
    // First to last: each deletion is of the list's current first child.
    for (int32_t k = 1; k <= n; ++k)
      benchmark::DoNotOptimize(doc.DeleteNode(k));
  }
}

void BM_AddAsManyNodes(benchmark::State& state) {
  const int64_t n = state.range(0);
  XmlDocument emptied = RootWithChildren(n);
  for (int32_t k = 1; k <= n; ++k)
    emptied.DeleteNode(k);
  for (auto _ : state) {
    state.PauseTiming();
    XmlDocument doc = emptied;
    state.ResumeTiming();
    for (int64_t i = 0; i < n; ++i)
      benchmark::DoNotOptimize(doc.AddNode(0));
  }
}

void BM_WriteEachNodeOnce(benchmark::State& state) {
  const int64_t n = state.range(0);
  const XmlDocument doc = RootWithChildren(n);
  for (auto _ : state) {
    Text output;
    for (int32_t k = 1; k <= n + 1; ++k)
      doc.WriteNodeXml(k, output);
    benchmark::DoNotOptimize(output.Length());
  }
}

}  // namespace

BENCHMARK(BM_DeleteEveryChild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddAsManyNodes)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteEachNodeOnce)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
