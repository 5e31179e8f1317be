// Hooks the toolkit into the process services of the text library: how waiting window
// messages are dispatched during a long call, and how the fatal error is shown.
#pragma once

namespace quorvane {

// Installs the pending-events dispatcher (the waiting events of the GUI thread are processed),
// the error reporter (a modal error box naming the fault when a window system is there,
// standard error otherwise) and the out-of-memory stop. Only the first call installs; later
// calls do nothing, so a test that put its own hooks in place after it keeps them.
void InstallWindowServices();

}  // namespace quorvane
