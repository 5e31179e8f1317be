#include "isolated_network.h"

#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace quorvane::fuzzing {
namespace {

bool WriteFile(const char* path, const std::string& content) {
  int fd = open(path, O_WRONLY);
  if (fd < 0) return false;
  bool ok = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  close(fd);
  return ok;
}

// Without root, a user namespace makes us root inside it, mapped to our own ids.
bool EnterUserAndNetworkNamespace() {
  const uid_t uid = getuid();
  const gid_t gid = getgid();
  if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) return false;
  WriteFile("/proc/self/setgroups", "deny");
  return WriteFile("/proc/self/uid_map", std::to_string(0) + " " + std::to_string(uid) + " 1") &&
         WriteFile("/proc/self/gid_map", std::to_string(0) + " " + std::to_string(gid) + " 1");
}

bool BringLoopbackUp() {
  int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  bool ok = ioctl(fd, SIOCGIFFLAGS, &request) == 0;
  request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
  ok = ok && ioctl(fd, SIOCSIFFLAGS, &request) == 0;
  close(fd);
  return ok;
}

}  // namespace

bool IsolateNetwork() {
  if (unshare(CLONE_NEWNET) != 0 && !EnterUserAndNetworkNamespace()) {
    std::fprintf(stderr, "cannot enter a network namespace of our own: %s\n", std::strerror(errno));
    return false;
  }
  if (!BringLoopbackUp()) {
    std::fprintf(stderr, "cannot bring up loopback in the new namespace\n");
    return false;
  }
  return true;
}

}  // namespace quorvane::fuzzing
