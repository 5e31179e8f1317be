// The encoding pass: decide from the declaration whether the data is UTF-8 and convert it.
#include <cstdint>

#include "text/char_walk.h"
#include "text/encoding.h"
#include "text/text_ops.h"
#include "xml/xml_document.h"
#include "xml/xml_survey.h"

namespace quorvane {
namespace {

using namespace std::string_view_literals;

// FindText's walk over the data without copying the whole page into a Text first: the data
// ends at its first zero byte, as a Text would. `sought` holds no zero byte.
size_t FindOnCharStart(std::string_view data, std::string_view sought, size_t from,
                       bool ignoreCase) {
  return text_detail::FindOnCharBoundary(data.substr(0, data.find('\0')), sought, from, ignoreCase);
}

}  // namespace

int32_t XmlDocument::ConvertEncodingInto(const Bytes& data, int32_t utf8ByDefault,
                                         std::optional<bool> plainAscii, Bytes& converted,
                                         bool& changed) {
  changed = false;
  const std::string_view text = data.view();

  // The whole text is searched, not only a declaration. The value starts 8 bytes after the
  // 1-based position of "encoding", and a missing "encoding" counts as position -1, so the
  // value is then read from byte 7 on: "<?xml gb2312?>" names gb2312.
  const size_t found = FindOnCharStart(text, "encoding"sv, 0, true);
  const size_t start = found == std::string_view::npos ? 7 : found + 1 + 8;  // 1-based
  const size_t end = FindOnCharStart(text, "?>"sv, start - 1, false);
  Text value;
  if (end != std::string_view::npos && end + 1 > start) {
    value = Text(text.substr(start - 1, end + 1 - start));
  }
  value = ReplaceAllText(value, Text("="sv), Text());
  value = ReplaceAllText(value, Text("\""sv), Text());
  value = ToLower(TrimSpaces(value));

  if (TextEquals(value, Text("gb2312"sv))) return 0;
  if (TextEquals(value, Text("utf-8"sv)) || utf8ByDefault != 0) {
    // A play-address answer is plain ASCII, which the conversion would hand back unchanged:
    // bytes 1-0x7F are the same characters in UTF-8 and in code page 936.
    if (!(plainAscii.has_value() ? *plainAscii : xml_detail::IsPlainAscii(data.view()))) {
      converted = TextToBytes(Utf8ToGbk(data));
      changed = true;
    }
    return 1;
  }
  return 0;
}

int32_t XmlDocument::ConvertEncoding(Bytes& data, int32_t utf8ByDefault) {
  Bytes converted;
  bool changed = false;
  const int32_t result = ConvertEncodingInto(data, utf8ByDefault, std::nullopt, converted, changed);
  if (changed) data = std::move(converted);
  return result;
}

}  // namespace quorvane
