// Both code-page conversions on arbitrary bytes. Besides the sanitizers' findings: each result
// stays within the size its conversion reserves up front, GbkToUtf8 always gives valid UTF-8,
// and a text made only of characters that code page 936 has comes back unchanged from the
// round trip through it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/encoding.h"

namespace {

using quorvane::Bytes;
using quorvane::GbkToUtf8;
using quorvane::Text;
using quorvane::Utf8ToGbk;

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
  size_t k = 0;
  while (k < s.size()) {
    const auto lead = static_cast<unsigned char>(s[k]);
    size_t length = 0;
    uint32_t value = 0;
    if (lead < 0x80) {
      length = 1;
      value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      value = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      value = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      value = lead & 0x07u;
    } else {
      return false;
    }
    if (s.size() - k < length) return false;
    for (size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(s[k + i]);
      if ((next & 0xC0) != 0x80) return false;
      value = value << 6 | (next & 0x3Fu);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      return false;
    }
    k += length;
  }
  return true;
}

std::string EncodeUtf8(uint32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// Reads the input as a list of characters: a byte below 0x80 is that ASCII character, any
// other byte takes the next two as a BMP code point. Every character that code page 936 has
// (its own conversion there and back gives it again) goes into the UTF-8 text, its code-page
// form into the expected result.
void CheckRoundTrip(std::string_view input) {
  std::string utf8;
  std::string expectedGbk;
  for (size_t k = 0; k < input.size();) {
    uint32_t c = static_cast<unsigned char>(input[k]);
    if (c < 0x80) {
      k += 1;
    } else if (input.size() - k >= 3) {
      c = static_cast<uint32_t>(static_cast<unsigned char>(input[k + 1])) << 8 |
          static_cast<unsigned char>(input[k + 2]);
      k += 3;
    } else {
      break;
    }
    if (c == 0 || (c >= 0xD800 && c <= 0xDFFF)) continue;
    const std::string character = EncodeUtf8(c);
    const Text alone = Utf8ToGbk(Bytes(character));
    if (alone.empty() || alone.view().size() > 2) std::abort();
    if (GbkToUtf8(alone.view()) != character) continue;  // not a character of code page 936
    utf8 += character;
    expectedGbk += alone.view();
  }
  const Text gbk = Utf8ToGbk(Bytes(utf8));
  if (gbk.view() != expectedGbk) std::abort();
  if (GbkToUtf8(gbk.view()) != utf8) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // Utf8ToGbk writes into one buffer the size of its input, up to the first zero byte.
  const Text gbk = Utf8ToGbk(Bytes(input));
  if (gbk.view().size() > input.substr(0, input.find('\0')).size()) std::abort();

  // GbkToUtf8 reserves three bytes out per byte in.
  const std::string utf8 = GbkToUtf8(input);
  if (utf8.size() > 3 * input.size() || !IsValidUtf8(utf8)) std::abort();

  CheckRoundTrip(input);
  return 0;
}
