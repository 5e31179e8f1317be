// FetchUrl against the curl command-line tool, both reading the same 64 MiB body from the
// stand-in site in the same run. The goal: FetchUrl takes at most 1.5 times as long as curl.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "net/fetch_url.h"
#include "net/web_request.h"
#include "testsite/stand_in_site.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kBodySize = size_t{64} << 20;

quorvane::testsite::StandInSite& Site() {
  static quorvane::testsite::StandInSite site;
  static const bool routed = [] {
    quorvane::testsite::Response big;
    big.contentType = "application/octet-stream";
    big.body.assign(kBodySize, 'q');
    site.Route("GET", "/big", std::move(big));
    return true;
  }();
  (void)routed;
  return site;
}

std::string BigUrl() { return "http://" + Site().HttpHost() + "/big"; }

double FetchSeconds() {
  Clock::time_point start = Clock::now();
  quorvane::Bytes body = quorvane::FetchUrl(quorvane::Text(BigUrl()));
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  benchmark::DoNotOptimize(body.data());
  return body.size() == kBodySize ? seconds : -1;
}

// To /dev/null the tool keeps nothing; into a tmpfs file it pays for 64 MiB of fresh memory,
// as FetchUrl must for the buffer it hands back.
double CurlToolSeconds(const char* output = "/dev/null") {
  std::string command = std::string("curl -s -o ") + output + " " + BigUrl();
  Clock::time_point start = Clock::now();
  int status = std::system(command.c_str());
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return status == 0 ? seconds : -1;
}

void BM_FetchUrl64MiB(benchmark::State& state) {
  for (auto _ : state) {
    double seconds = FetchSeconds();
    if (seconds < 0) state.SkipWithError("FetchUrl did not bring the whole body");
    state.SetIterationTime(seconds);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBodySize));
}

void BM_CurlTool64MiB(benchmark::State& state) {
  for (auto _ : state) {
    double seconds = CurlToolSeconds();
    if (seconds < 0) state.SkipWithError("the curl tool failed");
    state.SetIterationTime(seconds);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBodySize));
}

// Both in turn within each iteration, so a machine that is busier in one phase of the run
// than in another weighs on both alike.
void BM_FetchUrlOverCurlTool(benchmark::State& state) {
  double fetch = 0;
  double curl = 0;
  for (auto _ : state) {
    double f = FetchSeconds();
    double c = CurlToolSeconds();
    if (f < 0 || c < 0) state.SkipWithError("a fetch failed");
    fetch += f;
    curl += c;
    state.SetIterationTime(f + c);
  }
  state.counters["fetch_ms"] = 1000 * fetch / static_cast<double>(state.iterations());
  state.counters["curl_ms"] = 1000 * curl / static_cast<double>(state.iterations());
  state.counters["ratio"] = curl > 0 ? fetch / curl : 0;
}

void BM_FetchUrlOverCurlToolKeepingTheBody(benchmark::State& state) {
  double fetch = 0;
  double curl = 0;
  for (auto _ : state) {
    double f = FetchSeconds();
    double c = CurlToolSeconds("/dev/shm/quorvane-bench-body");
    if (f < 0 || c < 0) state.SkipWithError("a fetch failed");
    fetch += f;
    curl += c;
    state.SetIterationTime(f + c);
  }
  std::remove("/dev/shm/quorvane-bench-body");
  state.counters["fetch_ms"] = 1000 * fetch / static_cast<double>(state.iterations());
  state.counters["curl_ms"] = 1000 * curl / static_cast<double>(state.iterations());
  state.counters["ratio"] = curl > 0 ? fetch / curl : 0;
}

// WebRequest hands the same body on in 512-byte chunks with a dispatch before each: shown for
// comparison, not held to the goal.
void BM_WebRequest64MiB(benchmark::State& state) {
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    quorvane::Text body = quorvane::WebRequest(quorvane::Text(BigUrl()));
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    if (body.str().size() != kBodySize) state.SkipWithError("WebRequest did not bring it all");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBodySize));
}

BENCHMARK(BM_FetchUrl64MiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_CurlTool64MiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FetchUrlOverCurlTool)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FetchUrlOverCurlToolKeepingTheBody)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_WebRequest64MiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
