// The code-page-936 mapping in both directions, built once from the C library's converter.
// Internal to the text library.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace quorvane::text_detail {

struct Cp936Table {
  // For each BMP code point: 0 when code page 936 has no form for it, a value below 0x100 for a
  // one-byte form, otherwise lead byte << 8 | trail byte.
  std::array<uint16_t, 0x10000> fromUnicode{};
  // For each pair (lead 0x81–0xFE, any trail) at index (lead - 0x80) << 8 | trail, and for each
  // single byte 0x80–0xFF at index byte - 0x80: the code point, or 0 when undefined.
  std::array<uint16_t, 0x8000> pairToUnicode{};
  std::array<uint16_t, 0x80> highSingleToUnicode{};
  // False when no converter of the given names could be opened, or it decodes a known pair
  // wrongly; then only ASCII is mapped and everything else reads as having no form.
  bool fromConverter = false;

  // Asks the C library's converter of the first of these names that opens.
  explicit Cp936Table(std::initializer_list<const char*> converterNames = {"CP936", "GBK"});
};

// The table, built on first use; safe to call from any thread.
const Cp936Table& Cp936();

// Stops the program through StopWithError, naming what is missing, unless the table came from
// a working converter. Without one every Chinese text, the program's own included, would
// silently read as "?".
void RequireConverter(const Cp936Table& table);

// Copies the run of ASCII bytes that starts at p to out and moves both past it. Pages are long
// ASCII stretches of markup between their Chinese runs, so the run moves eight bytes at a time.
inline void CopyAsciiRun(const unsigned char*& p, const unsigned char* end, char*& out) {
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if (word & 0x8080808080808080ull) break;
    std::memcpy(out, p, sizeof word);
    p += sizeof word;
    out += sizeof word;
  }
  while (p < end && *p < 0x80)
    *out++ = static_cast<char>(*p++);
}

}  // namespace quorvane::text_detail
