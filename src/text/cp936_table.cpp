// Builds the code-page-936 table by asking iconv for every one-byte and two-byte sequence, so
// the hot conversions are plain table look-ups instead of converter calls.
#include "text/cp936_table.h"

#include <iconv.h>

#include <cwchar>

namespace quorvane::text_detail {
namespace {

class Cp936Decoder {
 public:
  Cp936Decoder() : handle_(iconv_open("WCHAR_T", "CP936")) {
    if (handle_ == kInvalid) handle_ = iconv_open("WCHAR_T", "GBK");
  }
  ~Cp936Decoder() {
    if (handle_ != kInvalid) iconv_close(handle_);
  }
  Cp936Decoder(const Cp936Decoder&) = delete;
  Cp936Decoder& operator=(const Cp936Decoder&) = delete;

  bool usable() const { return handle_ != kInvalid; }

  // The BMP code point the whole sequence decodes to, or 0 when it is not exactly one
  // defined character.
  uint16_t Decode(const char* bytes, size_t length) {
    wchar_t decoded[2] = {};
    char* in = const_cast<char*>(bytes);
    size_t inLeft = length;
    char* out = reinterpret_cast<char*>(decoded);
    size_t outLeft = sizeof decoded;
    const size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // forget any shift state of a failure
    const bool single = result != static_cast<size_t>(-1) && inLeft == 0 &&
                        outLeft == sizeof decoded - sizeof(wchar_t);
    if (!single) return 0;
    const auto codePoint = static_cast<uint32_t>(decoded[0]);
    return codePoint < 0x10000 ? static_cast<uint16_t>(codePoint) : 0;
  }

 private:
  static inline const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);
  iconv_t handle_;
};

}  // namespace

Cp936Table::Cp936Table() {
  for (uint16_t ascii = 1; ascii < 0x80; ++ascii)
    fromUnicode[ascii] = ascii;
  Cp936Decoder decoder;
  if (!decoder.usable()) return;

  for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
    const char single = static_cast<char>(byte);
    const uint16_t codePoint = decoder.Decode(&single, 1);
    highSingleToUnicode[byte - 0x80] = codePoint;
    if (codePoint != 0 && fromUnicode[codePoint] == 0)
      fromUnicode[codePoint] = static_cast<uint16_t>(byte);
  }
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const uint16_t codePoint = decoder.Decode(pair, 2);
      if (codePoint == 0) continue;
      pairToUnicode[(lead - 0x80) << 8 | trail] = codePoint;
      // When two sequences decode to one character, the first keeps it, as in the platform's
      // own table where the lower code is the canonical one.
      if (fromUnicode[codePoint] == 0)
        fromUnicode[codePoint] = static_cast<uint16_t>(lead << 8 | trail);
    }
  }
  // The replacement character stands for undecodable input and must come out as "?".
  fromUnicode[0xFFFD] = 0;
}

const Cp936Table& Cp936() {
  static const Cp936Table table;
  return table;
}

}  // namespace quorvane::text_detail
