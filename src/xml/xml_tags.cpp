// Reading one piece's tag: the name of a closing tag, or the name, attributes and text of an
// opening or self-closing one.
#include <algorithm>

#include "xml/xml_document.h"
#include "xml/xml_pieces.h"
#include "xml/xml_tag_tokens.h"

namespace quorvane {

int32_t XmlDocument::GetClosingName(const Bytes& piece, Text& name) {
  std::string kept;
  xml_detail::ClosingNameInto(piece.view(), kept);
  name = Text(std::move(kept));
  return 1;
}

int32_t XmlDocument::ParseTagView(std::string_view content, std::string_view textPart,
                                  XmlNode& node, bool withText) const {
  node.name = Text();
  node.text = Text();
  node.attributes.Clear();
  node.children.Clear();
  if (!withText && !content.empty() && content.back() == '/') content.remove_suffix(1);

  const bool ok = xml_detail::WalkTag(
      content, [&](std::string_view name) { node.name = Text(name); },
      [&](std::string_view name, std::string_view value) {
        node.attributes.Append(XmlAttribute{Text(name), Text(value)});
      });
  if (withText) node.text = RestoreCdataView(textPart);
  return ok ? 1 : 0;
}

int32_t XmlDocument::ParseTag(const Bytes& piece, int32_t length, int32_t tagEnd, XmlNode& node,
                              int32_t withText) const {
  const std::string_view bytes = piece.view();
  const size_t len = std::clamp<int64_t>(length, 0, static_cast<int64_t>(bytes.size()));
  const size_t end = std::clamp<int64_t>(tagEnd, 0, static_cast<int64_t>(len));
  const std::string_view content = bytes.substr(0, end == 0 ? 0 : end - 1);
  const std::string_view textPart = bytes.substr(end, len - end);
  return ParseTagView(content, textPart, node, withText != 0);
}

}  // namespace quorvane
