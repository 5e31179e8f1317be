#include "query/text_extraction.h"

#include "text/text_ops.h"

namespace quorvane {

namespace {

// Markers are written with "#引号" where a double quote would end the literal of the language
// the markers were first written in; the page itself holds plain double quotes.
Text WithQuotesRestored(const Text& marker) {
  static const Text kQuoteName = Local("#引号");
  static const Text kQuote = Local("\"");
  return ReplaceAllText(marker, kQuoteName, kQuote);
}

}  // namespace

Text TextBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                 int32_t startPosition, bool ignoreCase) {
  const Text left = WithQuotesRestored(leftMarker);
  const Text right = WithQuotesRestored(rightMarker);

  int32_t afterLeft = FindText(source, left, startPosition, ignoreCase);
  if (afterLeft == -1) return {};
  afterLeft += TextLength(left);

  // The right marker is searched from the end of the left one, so an occurrence that begins
  // inside the left marker is never taken.
  const int32_t rightAt = FindText(source, right, afterLeft, ignoreCase);
  if (rightAt == -1) return {};
  return TextMid(source, afterLeft, rightAt - afterLeft);
}

Text TextAfterLast(const Text& source, const Text& marker, bool ignoreCase) {
  const int32_t at = FindTextBackward(source, marker, ignoreCase);
  if (at == -1) return {};
  const int32_t after = TextLength(source) - TextLength(marker) - at + 1;
  return TextRight(source, after);
}

}  // namespace quorvane
