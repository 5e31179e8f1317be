// Helpers for the XML tests: bytes from literals (zero bytes included) and a one-line picture of
// a document's node table, so a table of cases can state the expected table as text.
#pragma once

#include <string>
#include <string_view>

#include "xml/xml_document.h"

namespace quorvane::xml_test {

inline Bytes B(std::string_view bytes) { return Bytes(bytes); }
inline Text T(std::string_view bytes) { return Text(bytes); }

// Each node as number:name[ attr=value…]{text}^parent(children), separated by spaces; released
// entries get a leading "~". Then "root=N".
inline std::string Describe(const XmlDocument& doc) {
  Array<XmlNode> nodes;
  Array<int32_t> freeNumbers;
  int32_t root = 0;
  doc.ExportNodes(nodes, freeNumbers, root);
  std::string out;
  for (int32_t k = 1; k <= nodes.Count(); ++k) {
    const XmlNode& node = nodes[k];
    if (doc.CheckNode(k) < 0) out += "~";
    out += std::to_string(node.number) + ":" + node.name.str();
    for (const XmlAttribute& a : node.attributes)
      out += " " + a.name.str() + "=" + a.value.str();
    out += "{" + node.text.str() + "}^" + std::to_string(node.parent) + "(";
    for (int32_t i = 1; i <= node.children.Count(); ++i) {
      out += (i > 1 ? "," : "") + std::to_string(node.children[i]);
    }
    out += ") ";
  }
  return out + "root=" + std::to_string(root);
}

inline std::string FreeList(const XmlDocument& doc) {
  Array<XmlNode> nodes;
  Array<int32_t> freeNumbers;
  int32_t root = 0;
  doc.ExportNodes(nodes, freeNumbers, root);
  std::string out;
  for (int32_t n : freeNumbers)
    out += (out.empty() ? "" : ",") + std::to_string(n);
  return out;
}

}  // namespace quorvane::xml_test
