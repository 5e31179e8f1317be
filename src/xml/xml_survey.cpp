// Word-at-a-time tests for zero, high and "@" bytes over the data.
#include "xml/xml_survey.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quorvane::xml_detail {
namespace {

constexpr uint64_t kLow = 0x0101010101010101ull;
constexpr uint64_t kHigh = 0x8080808080808080ull;
constexpr uint64_t kAts = kLow * static_cast<unsigned char>('@');
// Small enough to stay in the first-level cache between the copy and the survey.
constexpr size_t kBlock = 16 * 1024;

// Ors into `bad` a high bit where a word holds a byte that is 0 or above 0x7F, and into `ats`
// one where a word holds "@" (the classic has-a-zero-byte test on the word xor "@"s). Both
// tests may mark the wrong byte of a word, but never a word without such a byte, and only
// whether there is one at all is asked.
void Survey(std::string_view bytes, uint64_t& bad, uint64_t& ats) {
  size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    bad |= word | ((word - kLow) & ~word);
    const uint64_t at = word ^ kAts;
    ats |= (at - kLow) & ~at;
  }
  for (; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    bad |= c == 0 ? 0x80 : c;
    ats |= c == '@' ? 0x80 : 0;
  }
}

}  // namespace

DataSurvey CopyAndSurvey(std::string_view in, std::string& out) {
  out.reserve(out.size() + in.size());
  uint64_t bad = 0;
  uint64_t ats = 0;
  for (size_t at = 0; at < in.size(); at += kBlock) {
    const std::string_view block = in.substr(at, std::min(kBlock, in.size() - at));
    out.append(block);
    Survey(block, bad, ats);
  }
  return DataSurvey{(bad & kHigh) == 0, (ats & kHigh) != 0};
}

bool IsPlainAscii(std::string_view bytes) {
  uint64_t bad = 0;
  uint64_t ats = 0;
  Survey(bytes, bad, ats);
  return (bad & kHigh) == 0;
}

}  // namespace quorvane::xml_detail
