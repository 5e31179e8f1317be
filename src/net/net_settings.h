// What the testing options of network_options.h changed, read by both routines per call.
#pragma once

#include <chrono>
#include <string>

namespace quorvane::net {

struct Limits {
  std::chrono::milliseconds connect;
  std::chrono::milliseconds idle;
};

// The given routine limits, unless a test replaced them.
Limits EffectiveLimits(Limits routineDefaults);
// The only certificate to trust, or "" for the system's store.
std::string TrustedCertificate();

}  // namespace quorvane::net
