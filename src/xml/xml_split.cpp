// Splitting the data into pieces and stripping whitespace.
#include "xml/xml_document.h"
#include "xml/xml_pieces.h"

namespace quorvane {

void XmlDocument::SplitOutsideQuotes(const Bytes& data, const Bytes& delimiter,
                                     Array<Bytes>& pieces) {
  // Built aside and stored last: data may be one of the pieces being replaced.
  Array<Bytes> result;
  if (delimiter.empty()) {
    // No byte can equal an empty delimiter, so everything is the one last piece.
    result.Append(data);
  } else {
    xml_detail::ForEachPiece(data.view(), delimiter.view().front(), true, [&](std::string_view p) {
      result.Append(Bytes(p));
      return true;
    });
  }
  pieces = std::move(result);
}

Bytes XmlDocument::StripWhitespace(const Bytes& bytes) {
  std::string kept;
  kept.reserve(bytes.size());
  xml_detail::StripWhitespaceInto(bytes.view(), kept);
  return Bytes(std::move(kept));
}

}  // namespace quorvane
