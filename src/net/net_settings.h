// The limits of both routines, and what the testing options of network_options.h changed, read
// by both routines per call.
#pragma once

#include <chrono>
#include <string>

namespace quorvane::net {

struct Limits {
  std::chrono::milliseconds connect;
  std::chrono::milliseconds idle;
  // No call holds the window longer than this in all, redirects included, however the server
  // paces its bytes.
  std::chrono::milliseconds total{std::chrono::seconds(60)};
  // A connected transfer that moves fewer than kLowSpeedBytesPerSecond on average over this
  // long is abandoned: a server that trickles must not sit out the total limit every time.
  std::chrono::milliseconds lowSpeedWindow{std::chrono::seconds(20)};
};

inline constexpr long long kLowSpeedBytesPerSecond = 1024;

// The most body bytes either routine keeps of one answer: no answer may make the process
// allocate without bound. What came before the cap is kept.
inline constexpr size_t kMaxBody = size_t{256} << 20;

// The given routine limits, unless a test replaced them.
Limits EffectiveLimits(Limits routineDefaults);
// The only certificate to trust, or "" for the system's store.
std::string TrustedCertificate();

}  // namespace quorvane::net
