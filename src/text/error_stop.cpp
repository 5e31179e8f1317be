// The program's only fatal path, and the hook that routes memory exhaustion into it.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>

#include "text/services.h"

namespace quorvane {
namespace {

std::function<void(std::string_view)>& Reporter() {
  static std::function<void(std::string_view)> reporter;
  return reporter;
}

// Kept aside while memory is plentiful and given back when it runs out, so that the reporter
// (an error box) still has room to show itself.
std::unique_ptr<char[]>& MemoryReserve() {
  static std::unique_ptr<char[]> reserve;
  return reserve;
}

void StopOnOutOfMemory() {
  MemoryReserve().reset();
  StopWithError("out of memory");
}

}  // namespace

void WriteStopLine(std::string_view description) {
  std::fprintf(stderr, "Quorvane stopped on an error: %.*s\n", static_cast<int>(description.size()),
               description.data());
  std::fflush(stderr);
}

void SetErrorReporter(std::function<void(std::string_view description)> reporter) {
  Reporter() = std::move(reporter);
}

void InstallOutOfMemoryStop() {
  if (!MemoryReserve()) MemoryReserve().reset(new (std::nothrow) char[64 * 1024]);
  std::set_new_handler(StopOnOutOfMemory);
}

void StopWithError(std::string_view description) {
  // A fault inside the reporter (memory again, say) must not loop back into it.
  static std::atomic<bool> stopping{false};
  if (!stopping.exchange(true) && Reporter()) {
    Reporter()(description);
  } else {
    WriteStopLine(description);
  }
  // No destructors or exit handlers: the program state is not trusted any more.
  std::_Exit(-1);
}

}  // namespace quorvane
