// The encoding pass: decide from the declaration whether the data is UTF-8 and convert it.
#include "text/encoding.h"
#include "text/text_ops.h"
#include "xml/xml_document.h"

namespace quorvane {

using namespace std::string_view_literals;

int32_t XmlDocument::ConvertEncoding(Bytes& data, int32_t utf8ByDefault) {
  const Text text = BytesToText(data);
  // The whole text is searched, not only a declaration, and a missing "encoding" leaves the
  // value search at position 7: the page decides nothing then, utf8ByDefault does.
  const int32_t found = FindText(text, Text("encoding"sv), 0, true);
  const int32_t start = (found < 0 ? -1 : found) + 8;
  const int32_t end = FindText(text, Text("?>"sv), start, false);
  Text value = end < 0 ? Text() : TextMid(text, start, end - start);
  value = ReplaceAllText(value, Text("="sv), Text());
  value = ReplaceAllText(value, Text("\""sv), Text());
  value = ToLower(TrimSpaces(value));

  if (TextEquals(value, Text("gb2312"sv))) return 0;
  if (TextEquals(value, Text("utf-8"sv)) || utf8ByDefault != 0) {
    data = TextToBytes(Utf8ToGbk(data));
    return 1;
  }
  return 0;
}

}  // namespace quorvane
