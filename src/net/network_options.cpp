#include "net/network_options.h"

#include <mutex>

#include "net/net_settings.h"

namespace quorvane {
namespace {

struct TestingOptions {
  std::mutex mutex;
  std::string trustedPem;
  std::chrono::milliseconds connect{0};
  std::chrono::milliseconds idle{0};
  std::chrono::milliseconds total{0};
  std::chrono::milliseconds lowSpeedWindow{0};
};

TestingOptions& Options() {
  static TestingOptions options;
  return options;
}

}  // namespace

void TrustOnlyCertificateForTesting(std::string pem) {
  std::lock_guard lock(Options().mutex);
  Options().trustedPem = std::move(pem);
}

void SetTimeoutsForTesting(std::chrono::milliseconds connect, std::chrono::milliseconds idle,
                           std::chrono::milliseconds total,
                           std::chrono::milliseconds lowSpeedWindow) {
  std::lock_guard lock(Options().mutex);
  Options().connect = connect;
  Options().idle = idle;
  Options().total = total;
  Options().lowSpeedWindow = lowSpeedWindow;
}

namespace net {

Limits EffectiveLimits(Limits routineDefaults) {
  std::lock_guard lock(Options().mutex);
  if (Options().connect.count() > 0) routineDefaults.connect = Options().connect;
  if (Options().idle.count() > 0) routineDefaults.idle = Options().idle;
  if (Options().total.count() > 0) routineDefaults.total = Options().total;
  if (Options().lowSpeedWindow.count() > 0) {
    routineDefaults.lowSpeedWindow = Options().lowSpeedWindow;
  }
  return routineDefaults;
}

std::string TrustedCertificate() {
  std::lock_guard lock(Options().mutex);
  return Options().trustedPem;
}

}  // namespace net
}  // namespace quorvane
