#include "RootPowers.h"

#include <unistd.h>

#include <fstream>

const char kNeedsRootPowers[] =
    "acts as another user, which needs root's powers; it runs when the tests run as root";

namespace {

// The uids this namespace maps, from /proc/self/uid_map ("inside outside
// count" a line); the tests use uids up to 65534.
bool MapsEveryTestUid() {
  std::ifstream map("/proc/self/uid_map");
  unsigned long inside = 0, outside = 0, count = 0;
  while (map >> inside >> outside >> count)
    if (inside == 0 && count > 65534) return true;
  return false;
}

}  // namespace

bool HaveRootPowers() { return ::geteuid() == 0 && MapsEveryTestUid(); }
