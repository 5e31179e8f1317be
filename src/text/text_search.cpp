// The operations that walk a text character by character: searching, replacing all
// occurrences and splitting. None of them lets a match begin on the second byte of a
// two-byte character.
#include "text/char_walk.h"
#include "text/text_ops.h"

namespace quorvane {
namespace {

using text_detail::FindOnCharBoundary;
using text_detail::NextCharStart;

constexpr size_t kNone = std::string_view::npos;

int32_t ToPosition(size_t index) { return index == kNone ? -1 : static_cast<int32_t>(index + 1); }

}  // namespace

int32_t FindText(const Text& text, const Text& sought, int32_t start, bool ignoreCase) {
  if (sought.empty()) return -1;
  const size_t from = start <= 1 ? 0 : static_cast<size_t>(start - 1);
  if (from >= text.view().size()) return -1;
  return ToPosition(FindOnCharBoundary(text.view(), sought.view(), from, ignoreCase));
}

int32_t FindTextBackward(const Text& text, const Text& sought, bool ignoreCase) {
  if (sought.empty()) return -1;
  const std::string_view bytes = text.view();
  // Matches may overlap here (the last one wins), so the walk resumes one character after
  // each match rather than after the matched bytes.
  size_t last = kNone;
  for (size_t at = FindOnCharBoundary(bytes, sought.view(), 0, ignoreCase); at != kNone;
       at = FindOnCharBoundary(bytes, sought.view(), NextCharStart(bytes, at), ignoreCase)) {
    last = at;
  }
  return ToPosition(last);
}

Text ReplaceAllText(const Text& text, const Text& sought, const Text& replacement) {
  if (text.empty() || sought.empty()) return text;
  const std::string_view bytes = text.view();
  std::string result;
  result.reserve(bytes.size());
  size_t copied = 0;
  for (size_t at = FindOnCharBoundary(bytes, sought.view(), 0); at != kNone;
       at = FindOnCharBoundary(bytes, sought.view(), copied)) {
    result.append(bytes.substr(copied, at - copied));
    result.append(replacement.view());
    copied = at + sought.view().size();
  }
  result.append(bytes.substr(copied));
  return Text(std::move(result));
}

Array<Text> SplitText(const Text& text, const Text& separator) {
  Array<Text> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.Append(text);
    return pieces;
  }
  const std::string_view bytes = text.view();
  size_t pieceStart = 0;
  for (size_t at = FindOnCharBoundary(bytes, separator.view(), 0); at != kNone;
       at = FindOnCharBoundary(bytes, separator.view(), pieceStart)) {
    pieces.Append(Text(bytes.substr(pieceStart, at - pieceStart)));
    pieceStart = at + separator.view().size();
  }
  if (pieceStart < bytes.size()) pieces.Append(Text(bytes.substr(pieceStart)));
  return pieces;
}

}  // namespace quorvane
