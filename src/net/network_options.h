// Options of the network layer that only tests and the demo set. The shipped program sets none
// of them and trusts the system's certificate store alone.
#pragma once

#include <chrono>
#include <string>

namespace quorvane {

// From now on, both FetchUrl and WebRequest trust exactly this PEM certificate (the stand-in
// site's) instead of the system's store. An empty text goes back to the system's store.
void TrustOnlyCertificateForTesting(std::string pem);

// From now on, both routines give up connecting after `connect`, abandon a transfer after `idle`
// without a byte sent or received, end a whole call after `total`, and abandon a transfer that
// moves less than 1 KiB/s on average over `lowSpeedWindow`, instead of their own limits
// (connect and idle: FetchUrl 30 s / 30 s, WebRequest 18 s / 18 s; both: 60 s in all, 1 KiB/s
// over 20 s). Lets tests against servers that stall or trickle finish in seconds. A zero or
// negative value puts that limit back to the routines' own.
void SetTimeoutsForTesting(std::chrono::milliseconds connect, std::chrono::milliseconds idle,
                           std::chrono::milliseconds total = {},
                           std::chrono::milliseconds lowSpeedWindow = {});

}  // namespace quorvane
