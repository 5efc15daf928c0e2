#include "ProcessFigures.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// The value of a "Name:\t123 kB" line of a status file.
int64_t StatusField(const std::string& path, const std::string& name) {
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);)
    if (line.rfind(name + ":", 0) == 0) return std::stoll(line.substr(name.size() + 1));
  return 0;
}

int64_t FirstNumber(const std::string& path) {
  std::ifstream file(path);
  int64_t value = 0;
  file >> value;
  return value;
}

// utime and stime, fields 14 and 15; the command name before them may hold
// blanks, so counting starts after its closing parenthesis.
int64_t StatTicks(const std::string& path) {
  std::ifstream file(path);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::size_t end = text.rfind(')');
  if (end == std::string::npos) return 0;
  std::istringstream fields(text.substr(end + 2));
  std::string field;
  for (int i = 3; i < 14 && fields >> field; ++i) {}
  int64_t user = 0, system = 0;
  fields >> user >> system;
  return user + system;
}

}  // namespace

TProcessFigures ReadProcessFigures(pid_t pid) {
  TProcessFigures figures;
  const std::string dir = "/proc/" + std::to_string(pid);
  std::error_code gone;
  for (const auto& task : std::filesystem::directory_iterator(dir + "/task", gone)) {
    const std::string path = task.path().string();
    figures.cpuNs += FirstNumber(path + "/schedstat");
    figures.contextSwitches += StatusField(path + "/status", "voluntary_ctxt_switches") +
                               StatusField(path + "/status", "nonvoluntary_ctxt_switches");
    ++figures.threads;
  }
  figures.cpuTicks = StatTicks(dir + "/stat");
  figures.peakResidentKb = StatusField(dir + "/status", "VmHWM");
  return figures;
}

int64_t NsPerClockTick() { return 1000000000 / ::sysconf(_SC_CLK_TCK); }
