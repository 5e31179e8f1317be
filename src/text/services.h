// Process-wide services: dispatching waiting window messages, the pseudo-random generator and
// the error stop. The window layer installs how messages are dispatched and how the error is
// shown, so this library stays free of any toolkit.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "text/text.h"

namespace quorvane {

// Dispatches every window message already waiting, as the main loop would, and returns when
// the queue is empty. Does nothing until a dispatcher is installed.
void ProcessPendingEvents();
void SetPendingEventsDispatcher(std::function<void()> dispatcher);

// Seeds the generator from the millisecond clock; two seedings in one millisecond still differ.
void SeedRandom();
// lo…hi inclusive; negative bounds are raised to 0, and the bounds swapped when lo > hi.
int32_t RandomInRange(int32_t lo, int32_t hi);

// StopWithError (declared in text.h) shows the description through the installed reporter
// (a modal error box in the window program, standard error otherwise), then ends the process
// with exit code -1.
// An empty reporter restores the standard-error line.
void SetErrorReporter(std::function<void(std::string_view description)> reporter);
// The standard-error line of a stop, "Quorvane stopped on an error: <description>", flushed at
// once. A reporter that shows the error elsewhere may write it too.
void WriteStopLine(std::string_view description);

// Makes a failed memory request end in StopWithError("out of memory") instead of an exception.
// The program's main calls it once at start-up, before the window exists.
void InstallOutOfMemoryStop();

}  // namespace quorvane
