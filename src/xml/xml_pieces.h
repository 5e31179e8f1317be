// Helpers shared by the parser's passes: whitespace tests and the split of the data at "<",
// produced piece by piece as views so that a large page is never copied piece by piece.
#pragma once

#include <cstring>
#include <string_view>

namespace quorvane::xml_detail {

inline bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// True when stripping space, tab, CR and LF would leave nothing (also for an empty view).
inline bool IsBlank(std::string_view bytes) {
  for (char c : bytes) {
    if (!IsXmlSpace(c)) return false;
  }
  return true;
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
