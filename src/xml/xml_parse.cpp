// LoadData's four passes and the last of them, which turns the pieces into the node table with
// a stack of open elements.
#include <vector>

#include "xml/xml_document.h"
#include "xml/xml_pieces.h"

namespace quorvane {
namespace {

// Whether GetClosingName of piece would equal name, without building the name: whitespace,
// "/" and ">" are skipped, and a zero byte ends the name as it ends any text.
bool ClosingNameEquals(std::string_view piece, std::string_view name) {
  size_t matched = 0;
  for (char c : piece) {
    if (xml_detail::IsXmlSpace(c) || c == '/' || c == '>') continue;
    if (c == '\0') break;
    if (matched == name.size() || name[matched] != c) return false;
    ++matched;
  }
  return matched == name.size();
}

}  // namespace

int32_t XmlDocument::LoadData(const Bytes& data, int32_t utf8ByDefault, int32_t quoteAware) {
  // The previous raw buffer's memory is reused for the new copy: the program reloads its one
  // document with every query, and a fresh 16 MiB allocation costs page faults each time.
  std::string buffer = std::move(rawData.mutable_str());
  Clear();
  buffer.assign(data.view());
  rawData = Bytes(std::move(buffer));
  // The working copy is only made where a pass changes bytes; otherwise the passes read
  // rawData itself, which stays as the caller gave it.
  std::string_view working = rawData.view();
  Bytes converted;
  bool changed = false;
  ConvertEncodingInto(rawData, utf8ByDefault, converted, changed);
  if (changed) working = converted.view();
  std::string extracted;
  if (ExtractCdataInto(working, extracted) > 0) working = extracted;
  return ParseView(working, quoteAware);
}

int32_t XmlDocument::ParseXml(const Bytes& data, int32_t quoteAware) {
  return ParseView(data.view(), quoteAware);
}

int32_t XmlDocument::ParseView(std::string_view data, int32_t quoteAware) {
  // Numbers are handed out from 1 and each ended element lands at the position of its number,
  // so the table must start empty even when this pass is called on a loaded document.
  nodes.Clear();
  freeNumbers.Clear();
  freeCount.clear();
  root = 0;

  // The bottom entry stands for the document: it never matches a closing tag and its children
  // (the top-level elements) are discarded.
  std::vector<XmlNode> open(1);
  open.reserve(64);
  int32_t counter = 0;
  XmlNode scratch;

  const bool ok = xml_detail::ForEachPiece(data, '<', quoteAware != 0,
                                           [&](std::string_view p) {
    // Text before the first "<", whitespace between tags, declarations, processing
    // instructions and comments (each of their pieces) are skipped.
    if (xml_detail::IsBlank(p) || p.front() == '?' || p.front() == '!') return true;
    const size_t tagEnd = p.rfind('>');
    if (tagEnd == std::string_view::npos) return false;
    const bool closing = p.front() == '/';
    const bool selfClosing = tagEnd > 0 && p[tagEnd - 1] == '/';

    if (closing) {
      if (selfClosing) return false;
      if (open.size() == 1 || !ClosingNameEquals(p, open.back().name.view())) return false;
      ++counter;
      open[open.size() - 2].children.Append(counter);
      XmlNode& top = open.back();
      top.number = counter;
      for (int32_t child : top.children) nodes[child].parent = counter;
      if (xml_detail::IsBlank(top.text.view())) top.text = Text();
      nodes.Append(std::move(top));
      open.pop_back();
      return true;
    }
    const std::string_view content = p.substr(0, tagEnd);
    const std::string_view textPart = p.substr(tagEnd + 1);
    if (selfClosing) {
      if (ParseTagView(content, textPart, scratch, false) == 0) return false;
      ++counter;
      open.back().children.Append(counter);
      scratch.number = counter;
      nodes.Append(std::move(scratch));
      return true;
    }
    if (ParseTagView(content, textPart, scratch, true) == 0) return false;
    open.push_back(std::move(scratch));
    return true;
  });

  if (!ok) {
    Clear();
    return 0;
  }
  // Elements still open are dropped; their finished children keep parent 0.
  root = counter;
  return 1;
}

}  // namespace quorvane
