// Loads arbitrary bytes as the play-address answer is loaded, writes the result back, and
// checks the two invariants that every successful load must keep.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "xml/xml_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using quorvane::Bytes;
  using quorvane::XmlDocument;
  if (size == 0) return 0;
  // The first byte picks the options, the rest is the document.
  const int32_t utf8ByDefault = data[0] & 1;
  const int32_t quoteAware = (data[0] >> 1) & 1;
  XmlDocument doc;
  const int32_t loaded = doc.LoadData(Bytes(data + 1, size - 1), utf8ByDefault, quoteAware);
  const quorvane::Text written = doc.ToXmlText();
  if (loaded == 0 && (doc.GetNodeCount() != 0 || !written.empty())) std::abort();
  // Children always carry smaller numbers than their parent after a load.
  for (int32_t k = 1; k <= doc.GetNodeCount(); ++k) {
    quorvane::XmlNode node;
    if (doc.GetNode(k, node) != 1 || node.number != k) std::abort();
    for (int32_t child : node.children) {
      if (child < 1 || child >= k) std::abort();
    }
  }
  XmlDocument copy(doc);
  if (copy.ToXmlText() != written) std::abort();
  return 0;
}
