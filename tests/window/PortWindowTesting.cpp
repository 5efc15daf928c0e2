#include "PortWindowTesting.h"

#include <dirent.h>

namespace testing_support {

const char* const kPortEntries[6] = {"/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS1",
                                     "/dev/ttyS2",   "/dev/ttyS3", "/dev/ttyS4"};

std::string LockOf(const std::string& device) { return "/var/lock/LCK.." + device.substr(5); }

std::set<std::string> LockFiles() {
  std::set<std::string> names;
  DIR* dir = ::opendir("/var/lock");
  if (dir == nullptr) return names;
  while (const dirent* entry = ::readdir(dir))
    if (entry->d_name[0] != '.') names.insert(std::string("/var/lock/") + entry->d_name);
  ::closedir(dir);
  return names;
}

}  // namespace testing_support
