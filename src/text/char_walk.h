// The character structure of code-page-936 text, shared by the operations that walk a text
// character by character: the text library's own, and the XML loader, which searches raw bytes
// the way FindText searches a text.
#pragma once

#include <cstddef>
#include <string_view>

#include "text/ascii_case.h"

namespace quorvane::text_detail {

// A byte 0x80–0xFF begins a two-byte character; the byte after it belongs to that character
// whatever its value.
inline bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// Position of the character start after the one at `at`. It may lie one past the end when a
// lead byte is the last byte, which ends the walk just as reaching the end does.
inline size_t NextCharStart(std::string_view text, size_t at) {
  return at + (IsLeadByte(text[at]) ? 2 : 1);
}

// First position p >= walkFrom where `sought` begins and the walk started at walkFrom steps on
// p, or npos. The fast substring search finds candidates; the walk only checks that a candidate
// is not the second byte of a two-byte character, so the whole call stays linear in the text.
inline size_t FindOnCharBoundary(std::string_view text, std::string_view sought, size_t walkFrom) {
  size_t walk = walkFrom;
  while (true) {
    size_t candidate = text.find(sought, walk);
    if (candidate == std::string_view::npos) return std::string_view::npos;
    while (walk < candidate)
      walk = NextCharStart(text, walk);
    if (walk == candidate) return candidate;
    // The candidate was a second byte; `walk` is now the character start right after it.
  }
}

// The same, with A-Z and a-z compared as equal when ignoreCase.
inline size_t FindOnCharBoundary(std::string_view text, std::string_view sought, size_t walkFrom,
                                 bool ignoreCase) {
  if (!ignoreCase) return FindOnCharBoundary(text, sought, walkFrom);
  for (size_t at = walkFrom; at < text.size() && text.size() - at >= sought.size();
       at = NextCharStart(text, at)) {
    if (EqualsIgnoringAsciiCase(text.substr(at, sought.size()), sought)) return at;
  }
  return std::string_view::npos;
}

}  // namespace quorvane::text_detail
