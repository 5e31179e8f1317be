// UTF-8 to code page 936 in a single pass: a tolerant UTF-8 decoder feeding the table.
#include <cstring>

#include "text/cp936_table.h"
#include "text/encoding.h"
#include "text/text_ops.h"

namespace quorvane {
namespace {

constexpr uint32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes the sequence starting with a non-ASCII byte at `p`. Invalid input gives U+FFFD for
// its maximal subpart (the longest prefix that could still have begun a valid sequence), so one
// bad byte never swallows the valid characters after it. Overlong forms, surrogates and values
// above U+10FFFF are invalid, which the ranges for the second byte rule out.
inline uint32_t DecodeSequence(const unsigned char* p, const unsigned char* end, size_t& consumed) {
  const unsigned char lead = p[0];
  const size_t available = static_cast<size_t>(end - p);
  consumed = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    if (available < 2 || !IsContinuation(p[1])) return kReplacement;
    consumed = 2;
    return (lead & 0x1Fu) << 6 | (p[1] & 0x3Fu);
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
    if (available < 2 || p[1] < low || p[1] > high) return kReplacement;
    if (available < 3 || !IsContinuation(p[2])) return consumed = 2, kReplacement;
    consumed = 3;
    return (lead & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
    if (available < 2 || p[1] < low || p[1] > high) return kReplacement;
    if (available < 3 || !IsContinuation(p[2])) return consumed = 2, kReplacement;
    if (available < 4 || !IsContinuation(p[3])) return consumed = 3, kReplacement;
    consumed = 4;
    return (lead & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
  }
  return kReplacement;  // a stray continuation byte, C0, C1 or F5–FF
}

std::string ConvertUtf8ToGbk(std::string_view utf8) {
  // A zero byte is always U+0000 in UTF-8 and the result ends there, so nothing after it needs
  // converting at all.
  if (const void* zero = std::memchr(utf8.data(), 0, utf8.size())) {
    utf8 = utf8.substr(0, static_cast<size_t>(static_cast<const char*>(zero) - utf8.data()));
  }
  if (utf8.empty()) return {};

  // No character grows: ASCII stays one byte, every longer sequence and every invalid subpart
  // becomes at most two bytes. So one buffer the size of the input is always enough.
  std::string result(utf8.size(), '\0');
  char* out = result.data();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  const auto& fromUnicode = text_detail::Cp936().fromUnicode;

  while (p < end) {
    if (*p < 0x80) {
      text_detail::CopyAsciiRun(p, end, out);
      continue;
    }
    size_t consumed;
    const uint32_t codePoint = DecodeSequence(p, end, consumed);
    p += consumed;
    const uint16_t code = codePoint < 0x10000 ? fromUnicode[codePoint] : 0;
    if (code == 0) {
      *out++ = '?';
    } else if (code < 0x100) {
      *out++ = static_cast<char>(code);
    } else {
      *out++ = static_cast<char>(code >> 8);
      *out++ = static_cast<char>(code & 0xFF);
    }
  }
  result.resize(static_cast<size_t>(out - result.data()));
  return result;
}

}  // namespace

Text Utf8ToGbk(const Bytes& utf8) { return Text(ConvertUtf8ToGbk(utf8.view())); }

Text Local(std::string_view utf8Literal) { return Text(ConvertUtf8ToGbk(utf8Literal)); }

}  // namespace quorvane
