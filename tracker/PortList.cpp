#include "PortList.h"

#include <stdexcept>
#include <sys/stat.h>

namespace {

struct TPortRow {
  const char* device;
  const char* present;
  const char* absent;
};

// Row 0 tests nothing: it shows its blank either way.
const TPortRow kRows[kPortRowCount] = {
    {"/dev/ttyUSB0", " ", " "},
    {"/dev/ttyUSB0", "USB0", "---"},
    {"/dev/ttyS0", "COM1", ""},
    {"/dev/ttyS1", "COM2", ""},
    {"/dev/ttyS2", "COM3", ""},
    {"/dev/ttyS3", "COM4", ""},
    {"/dev/ttyS4", "COM5", ""},
};

// lstat: the last link of the path is not followed.
bool DeviceEntryExists(const std::string& path) {
  struct stat entry {};
  return ::lstat(path.c_str(), &entry) == 0;
}

}  // namespace

std::vector<std::string> PortListTexts() {
  std::vector<std::string> texts{kRows[0].present};
  for (int row = 1; row < kPortRowCount; ++row) {
    const TPortRow& r = kRows[row];
    texts.push_back(DeviceEntryExists(r.device) ? r.present : r.absent);
  }
  return texts;
}

std::string PortRowDevice(int row) {
  if (row < 0 || row >= kPortRowCount)
    throw std::out_of_range("the port list has no row " + std::to_string(row));
  return kRows[row].device;
}
