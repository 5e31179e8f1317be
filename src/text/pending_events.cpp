// Lets a long-running call on the GUI thread keep the window alive without this library
// knowing anything about the toolkit.
#include "text/services.h"

#include <utility>

namespace quorvane {
namespace {

std::function<void()>& Dispatcher() {
  static std::function<void()> dispatcher;
  return dispatcher;
}

}  // namespace

void ProcessPendingEvents() {
  // Called through a copy: a handler run by the dispatcher may install another dispatcher,
  // which must not destroy the one still executing.
  if (const std::function<void()> dispatcher = Dispatcher()) dispatcher();
}

void SetPendingEventsDispatcher(std::function<void()> dispatcher) {
  Dispatcher() = std::move(dispatcher);
}

}  // namespace quorvane
