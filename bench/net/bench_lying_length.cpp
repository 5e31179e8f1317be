// How much memory FetchUrl takes for an answer that states a length of 256 MiB and sends 16
// bytes. Run on its own: the peak resident size is the process's, so any earlier large fetch
// would hide the figure. The goal: the peak grows by a few MiB, not by the stated length.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "net/fetch_url.h"
#include "raw_server.h"

namespace {

long PeakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void BM_LyingContentLengthPeakMemory(benchmark::State& state) {
  quorvane::test_support::RawServer liar([](quorvane::test_support::RawConnection& c) {
    c.ReadHead();
    c.Send("HTTP/1.1 200 OK\r\nContent-Length: 268435456\r\n\r\n0123456789abcdef");
  });
  long before = PeakResidentKiB();
  size_t kept = 0;
  for (auto _ : state) {
    quorvane::Bytes body = quorvane::FetchUrl(quorvane::Text(liar.Url("/cover")));
    if (body.size() != 16) state.SkipWithError("the 16 bytes did not come");
    kept = body.mutable_str().capacity();
    benchmark::DoNotOptimize(body.data());
  }
  state.counters["peak_growth_KiB"] = static_cast<double>(PeakResidentKiB() - before);
  state.counters["kept_capacity_B"] = static_cast<double>(kept);
}

BENCHMARK(BM_LyingContentLengthPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
