// The process-wide network state: libcurl's global set-up and the one cookie store that every
// request of both routines shares for the life of the process.
#pragma once

#include "net/curl_handles.h"
#include "net/net_settings.h"

namespace quorvane::net {

// The user agent of both routines.
inline constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// How many redirects one call follows before it gives up.
inline constexpr long kMaxRedirects = 20;

// A handle with the options both routines share: the cookie store, the user agent, http and
// https only, certificates verified (against the testing certificate when one is set), the
// connect limit, no signals. Empty when the process-wide state or the handle cannot be made;
// a later call tries again.
EasyHandle NewEasyHandle(const Limits& limits);

}  // namespace quorvane::net
