// Splitting of a WebRequest URL: its scheme, host, port and path. The authority is what lies
// between the scheme prefix (if any) and the first "/" after it, or the end.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace quorvane {

namespace net {

enum class UrlScheme { kNone, kHttp, kHttps };

// "http://" or "https://" at the start, letter case ignored; kNone for any other start.
UrlScheme SchemeOfUrl(const Text& url);

}  // namespace net

// The authority up to its first ":", with A-Z lowered; empty when the authority is.
Text HostFromUrl(const Text& url);
// The number after the authority's first ":", cut towards zero and clamped to 32 bits (0 when
// none can be read); without a ":", 443 for https and 80 otherwise.
int32_t PortFromUrl(const Text& url);
// From the first "/" after the scheme prefix to the end; "/" when there is none.
Text PathFromUrl(const Text& url);

}  // namespace quorvane
