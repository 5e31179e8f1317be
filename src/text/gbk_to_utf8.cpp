// Code page 936 to UTF-8 for display, through the same table as the other direction.
#include <cstring>

#include "text/cp936_table.h"
#include "text/encoding.h"

namespace quorvane {
namespace {

char* AppendUtf8(char* out, uint32_t codePoint) {
  if (codePoint < 0x80) {
    *out++ = static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    *out++ = static_cast<char>(0xC0 | codePoint >> 6);
    *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | codePoint >> 12);
    *out++ = static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return out;
}

bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (gbk.empty()) return {};
  // The worst case is a lone lead byte, one byte in and a three-byte U+FFFD out.
  std::string result(gbk.size() * 3, '\0');
  char* out = result.data();
  const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
  const auto* const end = p + gbk.size();
  const auto& table = text_detail::Cp936();

  while (p < end) {
    if (*p < 0x80) {
      text_detail::CopyAsciiRun(p, end, out);
      continue;
    }
    uint32_t codePoint = 0;
    if (*p >= 0x81 && *p <= 0xFE && end - p >= 2 && IsTrailByte(p[1])) {
      codePoint = table.pairToUnicode[static_cast<size_t>(*p - 0x80) << 8 | p[1]];
      p += 2;
    } else {
      // 0x80 and 0xFF stand alone in the code page; any other lead byte here lacks its trail
      // byte, which is then read on its own so that a following CR LF or letter survives.
      codePoint = table.highSingleToUnicode[*p - 0x80];
      p += 1;
    }
    out = AppendUtf8(out, codePoint != 0 ? codePoint : 0xFFFD);
  }
  result.resize(static_cast<size_t>(out - result.data()));
  return result;
}

}  // namespace quorvane
