// Editing the table in place. A node keeps its number for life; released numbers go to
// freeNumbers and AddNode hands them out again in the order of release.
#include <vector>

#include "xml/xml_document.h"

namespace quorvane {

void XmlDocument::ResetEditing(bool trusted) {
  removedChildren.clear();
  trustedTree = trusted;
  slotOf.clear();
}

const XmlDocument::RemovedEntries* XmlDocument::RemovedOf(int32_t index) const {
  if (removedChildren.empty()) return nullptr;
  const auto it = removedChildren.find(index);
  return it == removedChildren.end() ? nullptr : &it->second;
}

Array<int32_t> XmlDocument::VisibleChildren(int32_t index) const {
  const Array<int32_t>& children = nodes[index].children;
  const RemovedEntries* removed = RemovedOf(index);
  if (removed == nullptr) return children;
  Array<int32_t> visible;
  visible.Reserve(children.Count() - removed->count);
  for (int32_t i = 1; i <= children.Count(); ++i) {
    if (!IsRemoved(removed, i)) visible.Append(children[i]);
  }
  return visible;
}

int32_t XmlDocument::ChildPosition(int32_t parent, int32_t number) {
  if (trustedTree) {
    if (slotOf.empty()) {
      // Built once, on the first deletion: a load need not pay for it.
      slotOf.assign(static_cast<size_t>(nodes.Count()) + 1, 0);
      for (int32_t p = 1; p <= nodes.Count(); ++p) {
        const Array<int32_t>& children = nodes[p].children;
        const RemovedEntries* removed = RemovedOf(p);
        for (int32_t i = 1; i <= children.Count(); ++i) {
          const int32_t c = children[i];
          if (c < 1 || c > nodes.Count() || nodes[c].parent != p || IsRemoved(removed, i)) continue;
          if (slotOf[static_cast<size_t>(c)] == 0) slotOf[static_cast<size_t>(c)] = i;
        }
      }
    }
    return static_cast<size_t>(number) < slotOf.size() ? slotOf[static_cast<size_t>(number)] : 0;
  }
  const Array<int32_t>& children = nodes[parent].children;
  const RemovedEntries* removed = RemovedOf(parent);
  for (int32_t i = 1; i <= children.Count(); ++i) {
    if (children[i] == number && !IsRemoved(removed, i)) return i;
  }
  return 0;
}

void XmlDocument::RemoveChildAt(int32_t parent, int32_t position) {
  Array<int32_t>& children = nodes[parent].children;
  RemovedEntries& removed = removedChildren[parent];
  if (removed.at.size() < static_cast<size_t>(children.Count())) {
    removed.at.resize(static_cast<size_t>(children.Count()), false);
  }
  removed.at[static_cast<size_t>(position - 1)] = true;
  ++removed.count;
  if (removed.count * 2 <= children.Count()) return;
  // Half the list is marked: compacting it now costs no more than the deletions so far did.
  Array<int32_t> kept = VisibleChildren(parent);
  removedChildren.erase(parent);
  children = std::move(kept);
  if (!slotOf.empty()) {
    for (int32_t i = 1; i <= children.Count(); ++i) {
      const int32_t c = children[i];
      if (c >= 1 && c <= nodes.Count() && nodes[c].parent == parent) {
        slotOf[static_cast<size_t>(c)] = i;
      }
    }
  }
}

int32_t XmlDocument::AddNode(int32_t parent) {
  if (parent == 0) parent = root;
  if (CheckNode(parent) < 0) return -1;

  // An imported free list may hold numbers outside the table; they name no entry to reuse.
  while (!freeNumbers.empty() && (freeNumbers.front() < 1 || freeNumbers.front() > nodes.Count())) {
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
    removedChildren.erase(k);
  } else {
    k = nodes.Count() + 1;
    XmlNode node;
    node.parent = parent;
    node.number = k;
    nodes.Append(std::move(node));
  }
  Array<int32_t>& siblings = nodes[parent].children;
  siblings.Append(k);
  if (!slotOf.empty()) {
    if (slotOf.size() <= static_cast<size_t>(k)) slotOf.resize(static_cast<size_t>(k) + 1, 0);
    slotOf[static_cast<size_t>(k)] = siblings.Count();
  }
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
    const int32_t position = ChildPosition(parent, number);
    if (position > 0) RemoveChildAt(parent, position);
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
    const RemovedEntries* removed = RemovedOf(n);
    for (int32_t i = children.Count(); i >= 1; --i) {
      if (!IsRemoved(removed, i)) pending.push_back(children[i]);
    }
  }
}

void XmlDocument::ExportNodes(Array<XmlNode>& nodesOut, Array<int32_t>& freeNumbersOut,
                              int32_t& rootOut) const {
  nodesOut = nodes;
  for (const auto& [index, removed] : removedChildren)
    nodesOut[index].children = VisibleChildren(index);
  Array<int32_t> freeOut;
  freeOut.Reserve(static_cast<int32_t>(freeNumbers.size()));
  for (int32_t number : freeNumbers)
    freeOut.Append(number);
  freeNumbersOut = std::move(freeOut);
  rootOut = root;
}

void XmlDocument::ImportNodes(const Array<XmlNode>& nodesIn, const Array<int32_t>& freeNumbersIn,
                              int32_t rootIn) {
  // Copied before Clear, in case the arguments are views of this very document.
  Array<XmlNode> nodesCopy = nodesIn;
  std::deque<int32_t> freeCopy(freeNumbersIn.begin(), freeNumbersIn.end());
  Clear();
  nodes = std::move(nodesCopy);
  freeNumbers = std::move(freeCopy);
  for (int32_t number : freeNumbers)
    ++freeCount[number];
  root = rootIn;
  ResetEditing(false);
}

}  // namespace quorvane
