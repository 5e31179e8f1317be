// The request header block of WebRequest: the caller's lines completed with the default lines
// and, for a POST with a body, the content lines; and its conversion into libcurl's list.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "net/curl_handles.h"
#include "text/text.h"

namespace quorvane::net {

// The caller's block with "Accept: ", "Referer: " and "Accept-Language: " lines appended where a
// case-ignoring search of the whole block does not find the name. Plain concatenation: a
// caller's last line must already end in CR LF.
Text WithDefaultLines(const Text& headers, const Text& url);

// The block with "Content-Type: application/x-www-form-urlencoded" and "Content-Length: "
// + bodyLength appended, without looking for lines the caller already wrote.
Text WithContentLines(const Text& block, size_t bodyLength);

// The block without the lines whose header name is one of `names` (letter case ignored).
Text WithoutLines(const Text& block, std::initializer_list<std::string_view> names);

// One list entry per CR LF line of the block, empty lines skipped. Nothing when a line holds a
// lone CR, a lone LF or another control byte (a tab is allowed), so no caller's text can start
// a header or a request of its own; nothing also when memory runs out.
std::optional<HeaderList> HeaderListFromBlock(const Text& block);

}  // namespace quorvane::net
