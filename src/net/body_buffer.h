// Keeping the buffers the routines hand back no larger than what they hold.
#pragma once

#include <string>

namespace quorvane::net {

// Gives back the capacity of `bytes` when it is well beyond its size (growth by doubling, or a
// reservation the answer did not fill), so what the caller keeps costs about what it holds.
inline void DropSlack(std::string& bytes) {
  constexpr size_t kSmallSlack = 4096;
  if (bytes.capacity() - bytes.size() > bytes.size() / 8 + kSmallSlack) bytes.shrink_to_fit();
}

}  // namespace quorvane::net
