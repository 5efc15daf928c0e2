#include "InSandbox.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The source of the mount that is topmost at mountPoint, from mountinfo.
std::string MountSource(const std::string& mountPoint) {
  std::ifstream info("/proc/self/mountinfo");
  std::string line, source;
  while (std::getline(info, line)) {
    std::istringstream fields(line);
    std::string id, parent, devno, root, point, word;
    fields >> id >> parent >> devno >> root >> point;
    if (point != mountPoint) continue;
    while (fields >> word && word != "-") {}
    std::string type;
    fields >> type >> source;
  }
  return source;
}

}  // namespace

bool InSandbox() {
  char lockDir[PATH_MAX];
  if (::realpath("/var/lock", lockDir) == nullptr) return false;
  const char* flag = std::getenv("KORVA_IN_SANDBOX");
  return flag != nullptr && std::string(flag) == "1" && MountSource("/dev") == "korva-dev" &&
         MountSource(lockDir) == "korva-lock";
}
