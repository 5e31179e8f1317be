// Splitting the data into pieces and stripping whitespace.
#include "xml/xml_document.h"
#include "xml/xml_pieces.h"

namespace quorvane {

void XmlDocument::SplitOutsideQuotes(const Bytes& data, const Bytes& delimiter,
                                     Array<Bytes>& pieces) {
  pieces.Clear();
  if (delimiter.empty()) {
    // No byte can equal an empty delimiter, so everything is the one last piece.
    pieces.Append(data);
    return;
  }
  xml_detail::ForEachPiece(data.view(), delimiter.view().front(), true, [&](std::string_view p) {
    pieces.Append(Bytes(p));
    return true;
  });
}

Bytes XmlDocument::StripWhitespace(const Bytes& bytes) {
  std::string kept;
  kept.reserve(bytes.size());
  for (char c : bytes.view()) {
    if (!xml_detail::IsXmlSpace(c)) kept.push_back(c);
  }
  return Bytes(std::move(kept));
}

}  // namespace quorvane
