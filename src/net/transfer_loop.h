// Drives one easy handle to its end from our own loop (libcurl's multi interface), so that
// work between the steps (dispatching window messages) never runs inside a libcurl callback.
#pragma once

#include <chrono>
#include <functional>

#include "net/curl_handles.h"

namespace quorvane::net {

// Runs the transfer on a multi handle of its own, calling `betweenSteps` (when given) after
// every step while it is still running. The transfer is abandoned with CURLE_OPERATION_TIMEDOUT
// once the loop has waited `idle` in total without a byte going out or coming in; time spent in
// `betweenSteps` does not count as waiting. Installs its own progress callback on the handle.
// The result of the transfer, or CURLE_FAILED_INIT / CURLE_OUT_OF_MEMORY when the loop itself
// cannot be set up.
CURLcode RunTransfer(CURL* easy, std::chrono::milliseconds idle,
                     const std::function<void()>& betweenSteps);

}  // namespace quorvane::net
