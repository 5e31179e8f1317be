// Builds the code-page-936 table by asking iconv for every one-byte and two-byte sequence, so
// the hot conversions are plain table look-ups instead of converter calls.
#include "text/cp936_table.h"

#include <iconv.h>

#include <cwchar>

#include "text/encoding.h"
#include "text/text.h"

namespace quorvane::text_detail {
namespace {

class Cp936Decoder {
 public:
  explicit Cp936Decoder(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      handle_ = iconv_open("WCHAR_T", name);
      if (handle_ != kInvalid) break;
    }
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
  iconv_t handle_ = kInvalid;
};

}  // namespace

Cp936Table::Cp936Table(std::initializer_list<const char*> converterNames) {
  for (uint16_t ascii = 1; ascii < 0x80; ++ascii)
    fromUnicode[ascii] = ascii;
  Cp936Decoder decoder(converterNames);
  if (!decoder.usable()) return;
  // A converter that opens under the name but is some other code page would garble every text
  // as surely as a missing one: "中" must be D6 D0.
  const char zhong[2] = {'\xD6', '\xD0'};
  if (decoder.Decode(zhong, 2) != 0x4E2D) return;
  fromConverter = true;

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

void RequireConverter(const Cp936Table& table) {
  if (table.fromConverter) return;
  StopWithError(
      "the C library has no working converter for code page 936 (iconv \"CP936\" or \"GBK\"); "
      "on Debian it comes with the libc6 package (gconv module GBK.so)");
}

}  // namespace quorvane::text_detail

namespace quorvane {

void RequireCodePageConverter() { text_detail::RequireConverter(text_detail::Cp936()); }

}  // namespace quorvane
