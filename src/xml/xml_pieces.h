// Helpers shared by the parser's passes: whitespace tests and the split of the data at "<",
// produced piece by piece as views so that a large page is never copied piece by piece.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace quorvane::xml_detail {

inline bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// StripWhitespace itself: the bytes of `bytes` that are not space, tab, CR or LF, into out
// (emptied first). It stops once out holds `limit` bytes, so that a caller asking only whether
// the stripped form is empty, or is one given byte, reads no further than it needs to.
inline void StripWhitespaceInto(std::string_view bytes, std::string& out,
                                size_t limit = std::string_view::npos) {
  out.clear();
  if (limit == 0) return;
  for (char c : bytes) {
    if (IsXmlSpace(c)) continue;
    out.push_back(c);
    if (out.size() == limit) return;
  }
}

// StripWhitespace of bytes is empty (also for an empty view).
inline bool StripsToNothing(std::string_view bytes, std::string& scratch) {
  StripWhitespaceInto(bytes, scratch, 1);
  return scratch.empty();
}

// Calls visit(piece) for every piece of data between delimiters, in order, and stops early when
// visit returns false (the result is then false). With quoteAware a double quote flips
// "outside" and only delimiters outside quotes split; the last piece is then always visited.
// The plain split visits no piece for empty data and drops an empty last piece.
template <typename Visit>
bool ForEachPiece(std::string_view data, char delimiter, bool quoteAware, Visit&& visit) {
  size_t start = 0;
  if (!quoteAware) {
    if (data.empty()) return true;
    while (true) {
      const void* hit = std::memchr(data.data() + start, delimiter, data.size() - start);
      if (hit == nullptr) break;
      const size_t at = static_cast<size_t>(static_cast<const char*>(hit) - data.data());
      if (!visit(data.substr(start, at - start))) return false;
      start = at + 1;
    }
    if (start < data.size()) return visit(data.substr(start));
    return true;
  }
  bool outside = true;
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '"') outside = !outside;
    if (data[i] == delimiter && outside) {
      if (!visit(data.substr(start, i - start))) return false;
      start = i + 1;
    }
  }
  return visit(data.substr(start));
}

}  // namespace quorvane::xml_detail
