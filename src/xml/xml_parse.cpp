// LoadData's four passes and the last of them, which turns the pieces into the node table with
// a stack of open elements.
#include <vector>

#include "xml/xml_document.h"
#include "xml/xml_pieces.h"
#include "xml/xml_survey.h"
#include "xml/xml_tag_tokens.h"

namespace quorvane {
int32_t XmlDocument::LoadData(const Bytes& data, int32_t utf8ByDefault, int32_t quoteAware) {
  // The previous raw buffer's memory is reused for the new copy: the program reloads its one
  // document with every query, and a fresh 16 MiB allocation costs page faults each time.
  std::string buffer = std::move(rawData.mutable_str());
  buffer.clear();
  // The copy also answers, while each block is in the cache, the two questions that would
  // otherwise take a pass over the whole page each: is it plain ASCII, does it hold an "@".
  // It is made before Clear, since data may be one of this document's own fields (a CDATA
  // section, the marker) that Clear frees.
  const xml_detail::DataSurvey survey = xml_detail::CopyAndSurvey(data.view(), buffer);
  Clear();
  rawData = Bytes(std::move(buffer));
  // The working copy is only made where a pass changes bytes; otherwise the passes read
  // rawData itself, which stays as the caller gave it.
  std::string_view working = rawData.view();
  Bytes converted;
  bool changed = false;
  ConvertEncodingInto(rawData, utf8ByDefault, survey.plainAscii, converted, changed);
  if (changed) working = converted.view();
  // Converted bytes may hold an "@" that the original did not (as a trail byte).
  const bool mayHoldAt = changed || survey.holdsAt;
  if (ExtractCdataInto(working, mayHoldAt, workingCopy.bytes) > 0) working = workingCopy.bytes;
  return ParseView(working, quoteAware);
}

int32_t XmlDocument::ParseXml(const Bytes& data, int32_t quoteAware) {
  return ParseView(data.view(), quoteAware);
}

int32_t XmlDocument::ParseView(std::string_view data, int32_t quoteAware) {
  // Numbers are handed out from 1 and each ended element lands at the position of its number,
  // so the table must start empty even when this pass is called on a loaded document.
  nodes.Clear();
  freeNumbers.clear();
  freeCount.clear();
  ResetEditing(true);
  root = 0;

  // An open element is built by ParseTag when it opens and moved into its table entry when it
  // ends, since its number, and so its place, is only known then. The bottom entry stands for
  // the document: it never matches a closing tag and its children (the top-level elements) are
  // discarded.
  struct OpenElement {
    XmlNode node;
    // Where this element's run starts in childNumbers.
    size_t firstChild = 0;
  };
  std::vector<OpenElement> open(1);
  open.reserve(64);
  // The child numbers of all open elements, innermost last. A list is only built, at its exact
  // size, when its element ends, so a parent costs one allocation however many children it has.
  std::vector<int32_t> childNumbers;
  childNumbers.reserve(256);
  int32_t counter = 0;
  // For StripWhitespace and GetClosingName, so that they need not allocate per piece.
  std::string scratch;

  const bool ok = xml_detail::ForEachPiece(data, '<', quoteAware != 0, [&](std::string_view p) {
    // Text before the first "<", whitespace between tags, declarations, processing
    // instructions and comments (each of their pieces) are skipped.
    if (xml_detail::StripsToNothing(p, scratch) || p.front() == '?' || p.front() == '!') {
      return true;
    }
    const size_t tagEnd = p.rfind('>');
    if (tagEnd == std::string_view::npos) return false;
    const bool closing = p.front() == '/';
    const bool selfClosing = tagEnd > 0 && p[tagEnd - 1] == '/';

    if (closing) {
      if (selfClosing || open.size() == 1) return false;
      xml_detail::ClosingNameInto(p, scratch);
      if (xml_detail::UpToZero(scratch) != open.back().node.name.view()) return false;
      ++counter;
      OpenElement& top = open.back();
      XmlNode& node = nodes.Emplace(std::move(top.node));
      node.number = counter;
      if (xml_detail::StripsToNothing(node.text.view(), scratch)) node.text = Text();
      node.children.Reserve(static_cast<int32_t>(childNumbers.size() - top.firstChild));
      for (size_t i = top.firstChild; i < childNumbers.size(); ++i) {
        node.children.Append(childNumbers[i]);
        nodes[childNumbers[i]].parent = counter;
      }
      // Dropping the run leaves the enclosing element's run on top, which this element joins.
      childNumbers.resize(top.firstChild);
      childNumbers.push_back(counter);
      open.pop_back();
      return true;
    }
    const std::string_view content = p.substr(0, tagEnd);
    const std::string_view textPart = p.substr(tagEnd + 1);
    if (selfClosing) {
      // Built straight in its table entry; a failed tag clears the whole table anyway.
      XmlNode& node = nodes.Emplace();
      if (ParseTagView(content, textPart, node, false) == 0) return false;
      ++counter;
      childNumbers.push_back(counter);
      node.number = counter;
      return true;
    }
    OpenElement& entry = open.emplace_back();
    entry.firstChild = childNumbers.size();
    return ParseTagView(content, textPart, entry.node, true) != 0;
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
