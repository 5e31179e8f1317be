// The targets that talk HTTP run in a network namespace of their own, which holds nothing but
// the loopback interface. Fuzzed answers can name any host (redirects, cover addresses), and no
// input may make the target reach past this machine.
#pragma once

namespace quorvane::fuzzing {

// Moves the process into a fresh network namespace with loopback up. False when the system
// allows neither a plain nor a user-owned network namespace.
bool IsolateNetwork();

// Exit status of a target that cannot isolate itself; the replay test counts it as skipped.
// Not 77, which libFuzzer uses for a found fault.
inline constexpr int kCannotIsolateStatus = 75;

}  // namespace quorvane::fuzzing
