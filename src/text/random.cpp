// The process-wide pseudo-random generator.
#include <atomic>
#include <chrono>
#include <random>

#include "text/services.h"

namespace quorvane {
namespace {

std::mt19937& Generator() {
  static std::mt19937 generator;  // default start until the first SeedRandom
  return generator;
}

// Spreads the bits of a seed so that neighbouring clock values and counters give unrelated
// generator states.
uint64_t MixBits(uint64_t value) {
  value += 0x9E3779B97F4A7C15ull;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
  return value ^ (value >> 31);
}

}  // namespace

void SeedRandom() {
  static std::atomic<uint64_t> seedings{0};
  const auto milliseconds =
      static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count());
  // The clock alone repeats within one millisecond; the count of seedings so far breaks the tie.
  const uint64_t mixed = MixBits(milliseconds ^ MixBits(seedings.fetch_add(1)));
  std::seed_seq seed{static_cast<uint32_t>(mixed), static_cast<uint32_t>(mixed >> 32)};
  Generator().seed(seed);
}

int32_t RandomInRange(int32_t lo, int32_t hi) {
  if (lo < 0) lo = 0;
  if (hi < 0) hi = 0;
  if (lo > hi) std::swap(lo, hi);
  if (lo == hi) return lo;
  // Both bounds are non-negative here, so the span is at most 2^31 and fits comfortably in 64 bits.
  const auto span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
  const uint64_t r = Generator()() >> 1;  // the generator's next non-negative 31-bit output
  return static_cast<int32_t>(static_cast<uint64_t>(lo) + r % span);
}

}  // namespace quorvane
