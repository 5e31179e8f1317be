// Editing the table in place. A node keeps its number for life; released numbers go to
// freeNumbers and AddNode hands them out again in the order of release.
#include <vector>

#include "xml/xml_document.h"

namespace quorvane {

int32_t XmlDocument::AddNode(int32_t parent) {
  if (parent == 0) parent = root;
  if (CheckNode(parent) < 0) return -1;

  // An imported free list may hold numbers outside the table; they name no entry to reuse.
  while (!freeNumbers.empty() && (freeNumbers[1] < 1 || freeNumbers[1] > nodes.Count())) {
    PopFree();
  }
  int32_t k;
  if (!freeNumbers.empty()) {
    k = PopFree();
    XmlNode& node = nodes[k];
    node.name = Text();
    node.text = Text();
    node.parent = parent;
    node.attributes.Clear();
    node.children.Clear();
  } else {
    k = nodes.Count() + 1;
    XmlNode node;
    node.parent = parent;
    node.number = k;
    nodes.Append(std::move(node));
  }
  nodes[parent].children.Append(k);
  return k;
}

void XmlDocument::SetNode(int32_t number, std::optional<Text> name, std::optional<Text> text,
                          std::optional<Array<XmlAttribute>> attributes) {
  const int32_t index = LiveIndex(number);
  if (index == 0) return;
  XmlNode& node = nodes[index];
  if (name) node.name = std::move(*name);
  if (text) node.text = std::move(*text);
  if (attributes) node.attributes = std::move(*attributes);
}

int32_t XmlDocument::DeleteNode(int32_t number) {
  const int32_t status = CheckNode(number);
  if (status <= 0) return status;
  // A node without a parent (a second top-level element, or a child of an element that never
  // ended) sits in no children list, so there is nothing to unlink.
  const int32_t parent = nodes[number].parent;
  if (parent >= 1 && parent <= nodes.Count()) {
    Array<int32_t>& siblings = nodes[parent].children;
    for (int32_t i = 1; i <= siblings.Count(); ++i) {
      if (siblings[i] == number) {
        siblings.RemoveAt(i);
        break;
      }
    }
  }
  ReleaseNode(number);
  return 1;
}

void XmlDocument::ReleaseNode(int32_t number) {
  // Pre-order with an explicit stack: the node, then each child followed by its descendants.
  // A number that is no longer live is skipped, so a cyclic imported table cannot loop and no
  // number enters the free list twice.
  std::vector<int32_t> pending{number};
  while (!pending.empty()) {
    const int32_t n = pending.back();
    pending.pop_back();
    if (CheckNode(n) < 0) continue;
    PushFree(n);
    const Array<int32_t>& children = nodes[n].children;
    for (int32_t i = children.Count(); i >= 1; --i)
      pending.push_back(children[i]);
  }
}

void XmlDocument::ExportNodes(Array<XmlNode>& nodesOut, Array<int32_t>& freeNumbersOut,
                              int32_t& rootOut) const {
  nodesOut = nodes;
  freeNumbersOut = freeNumbers;
  rootOut = root;
}

void XmlDocument::ImportNodes(const Array<XmlNode>& nodesIn, const Array<int32_t>& freeNumbersIn,
                              int32_t rootIn) {
  // Copied before Clear, in case the arguments are views of this very document.
  Array<XmlNode> nodesCopy = nodesIn;
  Array<int32_t> freeCopy = freeNumbersIn;
  Clear();
  nodes = std::move(nodesCopy);
  freeNumbers = std::move(freeCopy);
  for (int32_t number : freeNumbers)
    ++freeCount[number];
  root = rootIn;
}

}  // namespace quorvane
