// Cutting fields out of a page between fixed markers, instead of parsing its HTML.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace quorvane {

// The text between the first leftMarker at or after startPosition and the first rightMarker
// after it; empty when either is missing. "#引号" in a marker stands for one double quote.
Text TextBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                 int32_t startPosition = 0, bool ignoreCase = false);
// The text after the last occurrence of marker; empty when there is none.
Text TextAfterLast(const Text& source, const Text& marker, bool ignoreCase = false);

}  // namespace quorvane
