// Utf8ToGbk against the C library's iconv on a video-page-sized mix of markup and Chinese, and
// GbkToUtf8 against iconv on the converted page.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdint>
#include <string>

#include "text/encoding.h"

namespace {

void AppendUtf8(std::string& out, uint32_t codePoint) {
  out.push_back(static_cast<char>(0xE0 | codePoint >> 12));
  out.push_back(static_cast<char>(0x80 | (codePoint >> 6 & 0x3F)));
  out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
}

// About 2 MiB shaped like a video page: runs of markup and script, and runs of CJK ideographs
// (all of U+4E00–U+9FA5 has a code-page-936 form) in titles, tags and comments.
const std::string& MixedPage() {
  static const std::string page = [] {
    std::string out;
    out.reserve(2u << 20);
    uint32_t state = 12345;
    auto next = [&state] { return state = state * 1103515245u + 12345u; };
    while (out.size() < (2u << 20)) {
      out += "<li class=\"video-item\"><a href=\"//www.example.com/video/av";
      out += std::to_string(next() % 100000000);
      out += "/\" title=\"";
      const uint32_t characters = 4 + next() % 28;
      for (uint32_t i = 0; i < characters; ++i)
        AppendUtf8(out, 0x4E00 + (next() >> 8) % (0x9FA6 - 0x4E00));
      out += "\"><span>";
      for (uint32_t i = 0; i < characters / 2; ++i)
        AppendUtf8(out, 0x4E00 + (next() >> 8) % (0x9FA6 - 0x4E00));
      out += "</span></a></li>\n";
    }
    return out;
  }();
  return page;
}

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(handle_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // One call over the whole input into a buffer that is surely big enough.
  size_t Convert(const std::string& input, std::string& output) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    iconv(handle_, &in, &inLeft, &out, &outLeft);
    return output.size() - outLeft;
  }

 private:
  iconv_t handle_;
};

void BM_Utf8ToGbk(benchmark::State& state) {
  const quorvane::Bytes page(MixedPage());
  for (auto _ : state)
    benchmark::DoNotOptimize(quorvane::Utf8ToGbk(page));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * page.Length());
}

void BM_IconvUtf8ToCp936(benchmark::State& state) {
  Iconv converter("CP936", "UTF-8");
  if (!converter.ok()) return state.SkipWithError("no CP936 converter");
  const std::string& page = MixedPage();
  std::string output(page.size(), '\0');
  for (auto _ : state)
    benchmark::DoNotOptimize(converter.Convert(page, output));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(page.size()));
}

void BM_GbkToUtf8(benchmark::State& state) {
  const std::string gbk = quorvane::Utf8ToGbk(quorvane::Bytes(MixedPage())).str();
  for (auto _ : state)
    benchmark::DoNotOptimize(quorvane::GbkToUtf8(gbk));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(gbk.size()));
}

void BM_IconvCp936ToUtf8(benchmark::State& state) {
  Iconv converter("UTF-8", "CP936");
  if (!converter.ok()) return state.SkipWithError("no CP936 converter");
  const std::string gbk = quorvane::Utf8ToGbk(quorvane::Bytes(MixedPage())).str();
  std::string output(gbk.size() * 3, '\0');
  for (auto _ : state)
    benchmark::DoNotOptimize(converter.Convert(gbk, output));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(gbk.size()));
}

BENCHMARK(BM_Utf8ToGbk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvUtf8ToCp936)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GbkToUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IconvCp936ToUtf8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
