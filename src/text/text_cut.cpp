// Measuring, cutting and comparing texts, and turning texts and byte buffers into each other.
// These count bytes only; the character-aware operations live in text_search.cpp.
#include <algorithm>

#include "text/ascii_case.h"
#include "text/char_walk.h"
#include "text/text_ops.h"

namespace quorvane {

int32_t TextLength(const Text& text) { return text.Length(); }

Text TextLeft(const Text& text, int32_t n) {
  if (n <= 0) return {};
  return Text(text.view().substr(0, static_cast<size_t>(n)));
}

Text TextRight(const Text& text, int32_t n) {
  if (n <= 0) return {};
  const size_t keep = std::min(static_cast<size_t>(n), text.view().size());
  return Text(text.view().substr(text.view().size() - keep));
}

Text TextMid(const Text& text, int32_t start, int32_t n) {
  if (start < 1 || start > text.Length() || n <= 0) return {};
  return Text(text.view().substr(static_cast<size_t>(start - 1), static_cast<size_t>(n)));
}

Text ReplaceTextRange(const Text& text, int32_t start, int32_t n, const Text& replacement) {
  const std::string_view bytes = text.view();
  // Widened so that start - 1 cannot overflow for INT32_MIN.
  const int64_t cut = std::clamp<int64_t>(int64_t{start} - 1, 0, text.Length());
  const size_t before = static_cast<size_t>(cut);
  const size_t removed = n > 0 ? std::min(static_cast<size_t>(n), bytes.size() - before) : 0;
  std::string result;
  result.reserve(bytes.size() - removed + replacement.view().size());
  result.append(bytes.substr(0, before));
  result.append(replacement.view());
  result.append(bytes.substr(before + removed));
  return Text(std::move(result));
}

Text ToUpper(const Text& text) {
  std::string result(text.view());
  for (size_t at = 0; at < result.size(); at = text_detail::NextCharStart(result, at))
    result[at] = UpperAscii(result[at]);
  return Text(std::move(result));
}

Text ToLower(const Text& text) {
  std::string result(text.view());
  for (size_t at = 0; at < result.size(); at = text_detail::NextCharStart(result, at))
    result[at] = LowerAscii(result[at]);
  return Text(std::move(result));
}

Text TrimSpaces(const Text& text) {
  const std::string_view bytes = text.view();
  auto spaceLengthAt = [&](size_t at) -> size_t {
    if (bytes[at] == ' ') return 1;
    if (at + 1 < bytes.size() && bytes[at] == '\xA1' && bytes[at + 1] == '\xA1') return 2;
    return 0;
  };
  size_t begin = 0;
  while (begin < bytes.size()) {
    const size_t space = spaceLengthAt(begin);
    if (space == 0) break;
    begin += space;
  }
  // The trailing run has to be found walking forward: seen from the end, 0xA1 0xA1 may be the
  // second byte of one character followed by half of another.
  size_t end = begin;
  for (size_t at = begin; at < bytes.size();) {
    const size_t space = spaceLengthAt(at);
    if (space != 0) {
      at += space;
    } else {
      at = std::min(text_detail::NextCharStart(bytes, at), bytes.size());
      end = at;
    }
  }
  return Text(bytes.substr(begin, end - begin));
}

bool TextEquals(const Text& left, const Text& right) { return left.view() == right.view(); }

bool TextEqualsNoCase(const Text& left, const Text& right) {
  return EqualsIgnoringAsciiCase(left.view(), right.view());
}

Bytes TextToBytes(const Text& text) { return Bytes(text.view()); }

Text BytesToText(const Bytes& bytes) { return Text(bytes.view()); }

}  // namespace quorvane
