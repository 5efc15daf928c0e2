#include "SerialPorts.h"

#include <cstring>
#include <dirent.h>

std::string ListSerialPorts() {
  std::string names;
  DIR* dir = ::opendir("/dev");
  if (dir == nullptr) return names;
  // readdir reports links and other entries as they are, never followed.
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strncmp(entry->d_name, "ttyS", 4) == 0) {
      names += ' ';
      names += entry->d_name;
    }
  }
  ::closedir(dir);
  return names;
}
