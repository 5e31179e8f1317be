// Case rules for the ASCII letters A–Z and a–z alone. Every other byte, a byte of a two-byte
// character included, stays as it is, so these serve code-page-936 texts and wire bytes alike.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

constexpr char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
constexpr char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// Every byte lowered on its own, without regard to two-byte characters.
inline std::string LowerAscii(std::string_view bytes) {
  std::string lowered(bytes);
  for (char& c : lowered)
    c = LowerAscii(c);
  return lowered;
}

// Same length and the same bytes once A–Z are lowered; byte by byte.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace quorvane
