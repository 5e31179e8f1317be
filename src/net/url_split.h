// Which scheme a WebRequest URL names, for the splitting routines and the request itself.
#pragma once

#include "text/text.h"

namespace quorvane::net {

enum class UrlScheme { kNone, kHttp, kHttps };

// "http://" or "https://" at the start, letter case ignored; kNone for any other start.
UrlScheme SchemeOfUrl(const Text& url);

}  // namespace quorvane::net
