#pragma once
// The peak resident memory of a process (VmHWM), to tell a reading that
// keeps little from one that holds a whole huge file.

#include <fstream>
#include <string>

// In KiB; "self" for the calling process. -1 when it cannot be read.
inline long PeakMemoryKiB(const std::string& pid = "self") {
  std::ifstream status("/proc/" + pid + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Starts the calling process's peak afresh from what it holds now; a forked
// child otherwise inherits its parent's.
inline void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }
