// Drives one easy handle to its end from our own loop (libcurl's multi interface), so that
// work between the steps (dispatching window messages) never runs inside a libcurl callback.
#pragma once

#include <chrono>
#include <functional>

#include "net/curl_handles.h"
#include "net/net_settings.h"

namespace quorvane::net {

// What is left of one call's total time; the requests of the call (redirects) share it.
using CallTime = std::chrono::steady_clock::duration;

// Runs the transfer on a multi handle of its own, calling `betweenSteps` (when given) after
// every step while it is still running. The transfer is abandoned with CURLE_OPERATION_TIMEDOUT
// once the loop has waited `limits.idle` in total without a byte going out or coming in, once
// `callTimeLeft` is used up, or when a connected transfer moves fewer than
// kLowSpeedBytesPerSecond on average over `limits.lowSpeedWindow`. Time spent in `betweenSteps`
// counts towards none of these: the window is not held then. The time the loop took is taken
// off `callTimeLeft`. Installs its own progress callback on the handle. The result of the
// transfer, or CURLE_FAILED_INIT / CURLE_OUT_OF_MEMORY when the loop itself cannot be set up.
CURLcode RunTransfer(CURL* easy, const Limits& limits, CallTime& callTimeLeft,
                     const std::function<void()>& betweenSteps);

}  // namespace quorvane::net
