// Path lookup: "/"-separated steps, each a name, "<#n" (a node number) or "<@k" (a child
// position).
#include "text/text_ops.h"
#include "xml/xml_document.h"

namespace quorvane {

using namespace std::string_view_literals;

int32_t XmlDocument::FindPath(const Text& path) const {
  int32_t current = -1;
  for (const Text& step : SplitText(path, Text("/"sv))) {
    current = FindChild(current, step);
    if (current == -1) return -1;
  }
  return current;
}

int32_t XmlDocument::FindChild(int32_t parent, const Text& step) const {
  const XmlNode* from = nullptr;
  int32_t fromIndex = 0;
  if (parent >= 0) {
    fromIndex = LiveIndex(parent);
    if (fromIndex == 0) return -1;
    from = &nodes[fromIndex];
  }
  const RemovedEntries* removed = from == nullptr ? nullptr : RemovedOf(fromIndex);

  const std::string_view s = step.view();
  if (!s.empty() && s[0] == '<') {
    if (s.size() < 2) return -1;
    const int32_t k = TextToInteger(TextMid(step, 3, step.Length()));
    if (s[1] == '#') {
      if (k == 0 && s != "<#0") return -1;
      // A number is taken on trust, but a negative one names nothing and would otherwise be
      // read by the next step as "no node reached yet".
      return k < 0 ? -1 : k;
    }
    if (s[1] == '@') {
      if (from == nullptr) return k == 1 ? 0 : -1;
      if (removed == nullptr) return k >= 1 && k <= from->children.Count() ? from->children[k] : -1;
      const Array<int32_t> children = VisibleChildren(fromIndex);
      return k >= 1 && k <= children.Count() ? children[k] : -1;
    }
    return -1;
  }

  if (from == nullptr) {
    const int32_t rootIndex = LiveIndex(0);
    return rootIndex != 0 && nodes[rootIndex].name == step ? 0 : -1;
  }
  for (int32_t i = 1; i <= from->children.Count(); ++i) {
    if (IsRemoved(removed, i)) continue;
    const int32_t index = LiveIndex(from->children[i]);
    if (index != 0 && nodes[index].name == step) return nodes[index].number;
  }
  return -1;
}

}  // namespace quorvane
