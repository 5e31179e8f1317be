// The two conversions between code page 936 and Unicode. Utf8ToGbk is the border for what the
// site sends; GbkToUtf8 and the Utf8ToGbk of what the user typed serve the control layer.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace quorvane {

// UTF-8 bytes to code-page-936 text. Each invalid UTF-8 sequence becomes U+FFFD and so "?";
// a character code page 936 cannot hold becomes "?"; a leading byte-order mark is converted,
// not stripped; the result is cut at the first zero byte. Empty input gives the empty text.
Text Utf8ToGbk(const Bytes& utf8);

// Code-page-936 bytes to UTF-8, for display. A lead byte without a valid trail byte, or a pair
// the code page does not define, becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// Both conversions rest on the C library's code-page-936 converter. Where it is missing this
// stops the program with an error that names it, instead of letting every Chinese text read as
// "?". Called once at start-up, after the error reporter is installed.
void RequireCodePageConverter();

}  // namespace quorvane
