// The node table itself: clearing, liveness and the read operations.
#include "xml/xml_document.h"

namespace quorvane {

void XmlDocument::Clear() {
  cdataSections.Clear();
  nodes.Clear();
  freeNumbers.clear();
  freeCount.clear();
  ResetEditing(true);
  rawData = Bytes();
  cdataMarker = Bytes();
  root = 0;
}

int32_t XmlDocument::CheckNode(int32_t number) const {
  if (number < 1 || number > nodes.Count()) return -1;
  // The count map mirrors freeNumbers exactly, so this is the list's membership test.
  if (!freeCount.empty() && freeCount.contains(number)) return -1;
  if (number == root) return 0;
  return 1;
}

int32_t XmlDocument::LiveIndex(int32_t number) const {
  if (number == 0) number = root;
  return CheckNode(number) < 0 ? 0 : number;
}

int32_t XmlDocument::GetNode(int32_t number, XmlNode& record) const {
  const int32_t index = LiveIndex(number);
  if (index == 0) return 0;
  record = nodes[index];
  if (RemovedOf(index) != nullptr) record.children = VisibleChildren(index);
  return 1;
}

Text XmlDocument::GetNodeName(int32_t number) const {
  if (root == 0) return Text();
  const int32_t index = LiveIndex(number);
  if (index == 0) return Text();
  return nodes[index].name;
}

Bytes XmlDocument::GetRawData() const { return rawData; }

int32_t XmlDocument::GetNodeCount() const { return nodes.Count(); }

void XmlDocument::PushFree(int32_t number) {
  freeNumbers.push_back(number);
  ++freeCount[number];
}

int32_t XmlDocument::PopFree() {
  const int32_t number = freeNumbers.front();
  freeNumbers.pop_front();
  if (auto it = freeCount.find(number); it != freeCount.end() && --it->second == 0) {
    freeCount.erase(it);
  }
  return number;
}

}  // namespace quorvane
