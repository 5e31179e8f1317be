// Runs a fuzz target over every file of the given corpus folders, without libFuzzer, so that
// the test suite replays every seed and every input that once found a fault. A fault shows as
// a sanitizer report or an abort, like in a fuzzing run; an empty corpus fails too, so that a
// lost folder cannot pass unnoticed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<std::filesystem::path> inputs;
  for (int k = 1; k < argc; ++k) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[k], error)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    if (error) {
      std::fprintf(stderr, "cannot read corpus folder %s\n", argv[k]);
      return 1;
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  std::sort(inputs.begin(), inputs.end());
  for (const auto& path : inputs) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    // Printed first, so that the input of a crash is the last line before the report.
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", path.c_str(), bytes.size());
    // A copy of exactly the input's size, so that reading past it is caught as in fuzzing,
    // and never a null pointer, also for an empty input.
    std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
  }
  std::fprintf(stderr, "replayed %zu inputs\n", inputs.size());
  return 0;
}
