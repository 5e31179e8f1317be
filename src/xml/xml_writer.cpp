// The writer: compact XML, every element as a start and an end tag, texts holding "<" inside
// CDATA, attribute values exactly as stored.
#include <cstring>
#include <string>
#include <vector>

#include "xml/xml_document.h"

namespace quorvane {
namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"gb2312\" ?>";

void AppendStartTag(const XmlNode& node, std::string& out) {
  out.push_back('<');
  out.append(node.name.view());
  for (const XmlAttribute& attribute : node.attributes) {
    out.push_back(' ');
    out.append(attribute.name.view());
    out.push_back('=');
    out.append(attribute.value.view());
  }
  out.push_back('>');
  const std::string_view text = node.text.view();
  if (text.find('<') != std::string_view::npos) {
    out.append("<![CDATA[");
    out.append(text);
    out.append("]]>");
  } else {
    out.append(text);
  }
}

}  // namespace

void XmlDocument::WriteNodeXml(int32_t number, Text& output) const {
  // The subtree is written into a buffer of its own and then added to output, so that writing
  // one node costs its subtree's size, not the size of what output already holds.
  std::string out;
  if (number == 0) {
    if (GetNodeName(0).empty()) return;
    out.assign(kDeclaration);
  }
  const int32_t start = LiveIndex(number);
  if (start == 0) {
    if (number == 0) output = Text(std::move(out));
    return;
  }

  // An explicit path instead of recursion, so a million nested levels cannot exhaust the
  // machine stack. A table installed by ImportNodes may lead back to an ancestor: a child that
  // is on the path being written is skipped, which ends every cycle; a node listed twice
  // elsewhere is written twice.
  struct Frame {
    int32_t index;
    int32_t nextChild;
    const RemovedEntries* removed;
  };
  std::vector<uint8_t>& marked = onPath.marked;
  if (marked.size() <= static_cast<size_t>(nodes.Count())) {
    marked.resize(static_cast<size_t>(nodes.Count()) + 1, 0);
  }
  std::vector<Frame> path;
  auto open = [&](int32_t index) {
    marked[static_cast<size_t>(index)] = 1;
    AppendStartTag(nodes[index], out);
    path.push_back({index, 1, RemovedOf(index)});
  };

  open(start);
  while (!path.empty()) {
    Frame& frame = path.back();
    const XmlNode& node = nodes[frame.index];
    if (frame.nextChild > node.children.Count()) {
      out.append("</");
      out.append(node.name.view());
      out.push_back('>');
      marked[static_cast<size_t>(frame.index)] = 0;
      path.pop_back();
      continue;
    }
    const int32_t position = frame.nextChild++;
    if (IsRemoved(frame.removed, position)) continue;
    const int32_t child = node.children[position];
    // 0 is no node number; as a child it would restart the document with a declaration.
    if (child == 0) continue;
    const int32_t index = LiveIndex(child);
    if (index == 0 || marked[static_cast<size_t>(index)] != 0) continue;
    open(index);
  }
  if (number == 0) {
    output = Text(std::move(out));
  } else {
    output += Text(std::move(out));
  }
}

Text XmlDocument::ToXmlText() const {
  Text output;
  WriteNodeXml(0, output);
  return output;
}

}  // namespace quorvane
