// The token walk over a tag's content (the tag without its last ">"), shared by the code that
// builds a node from a tag and the code that only needs to know whether the tag is valid and
// what its name is.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "xml/xml_pieces.h"

namespace quorvane::xml_detail {

// Calls onName(first raw token) once, then onAttribute(name, value) for every attribute token
// in order; false (and no further calls) when an attribute token has no "=". Only a space
// outside double quotes separates tokens; the first raw token is the name even when it is
// empty, and the first kept token is never read as an attribute.
template <typename OnName, typename OnAttribute>
bool WalkTag(std::string_view content, OnName&& onName, OnAttribute&& onAttribute) {
  // Most tags are a bare name; they need no token walk. (find_first_of would call memchr once
  // per byte of the tag.)
  if (std::none_of(content.begin(), content.end(), [](char c) { return c == ' ' || c == '"'; })) {
    onName(content);
    return true;
  }
  bool first = true;
  bool firstKept = true;
  bool ok = true;
  std::string form;  // at most two bytes, so it never allocates
  ForEachPiece(content, ' ', true, [&](std::string_view token) {
    if (first) {
      onName(token);
      first = false;
    }
    // Dropped when StripWhitespace leaves nothing or a lone "/" (as in "<a /\t>").
    StripWhitespaceInto(token, form, 2);
    if (form.empty() || form == "/") return true;
    if (firstKept) {
      firstKept = false;
      return true;
    }
    const size_t eq = token.find('=');
    if (eq == std::string_view::npos) {
      ok = false;
      return false;
    }
    onAttribute(token.substr(0, eq), token.substr(eq + 1));
    return true;
  });
  return ok;
}

// GetClosingName itself, before the cut at a zero byte: StripWhitespace of the piece, then
// without any "/" or ">".
inline void ClosingNameInto(std::string_view piece, std::string& out) {
  StripWhitespaceInto(piece, out);
  std::erase_if(out, [](char c) { return c == '/' || c == '>'; });
}

// The bytes a Text made from bytes keeps: those before the first zero byte. A plain loop,
// since names are a few bytes long and a memchr call would cost more than the walk.
inline std::string_view UpToZero(std::string_view bytes) {
  size_t n = 0;
  while (n < bytes.size() && bytes[n] != '\0')
    ++n;
  return bytes.substr(0, n);
}

}  // namespace quorvane::xml_detail
