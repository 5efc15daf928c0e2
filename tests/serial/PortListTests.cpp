// The port listing: names of /dev entries beginning with "ttyS", any kind of
// entry, in directory order; the decoys differ by case or by a prefix.
#include <dirent.h>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "SerialTestSupport.h"
#include "TBlockSerial.h"

using namespace testing_support;

namespace {

const char* const kDecoys[] = {"ttys0", "xttyS1", "TTYS2", "ttyUSB0"};

// The wanted names in the order this directory hands them out.
std::string InDirectoryOrder(const std::set<std::string>& wanted) {
  std::string text;
  DIR* dir = ::opendir("/dev");
  while (const dirent* entry = ::readdir(dir))
    if (wanted.count(entry->d_name)) text += std::string(" ") + entry->d_name;
  ::closedir(dir);
  return text;
}

}  // namespace

TEST(PortList, NamesEachTtySEntryOfAnyKind) {
  for (const char* decoy : kDecoys) WriteFile(std::string("/dev/") + decoy, "");
  EXPECT_EQ("", ListSerialPorts());

  WriteFile("/dev/ttyS0", "");
  ASSERT_EQ(0, ::mkdir("/dev/ttyS1", 0755));
  ASSERT_EQ(0, ::symlink("/dev/nowhere", "/dev/ttyS2"));
  ASSERT_EQ(0, ::mkfifo("/dev/ttyS3", 0644));
  const std::string listed = ListSerialPorts();
  EXPECT_EQ(InDirectoryOrder({"ttyS0", "ttyS1", "ttyS2", "ttyS3"}), listed);
  EXPECT_EQ(24u, listed.size());

  for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyS3"}) RemoveEntry(std::string("/dev/") + name);
  for (const char* decoy : kDecoys) RemoveEntry(std::string("/dev/") + decoy);
}
