// The serial tests create device entries in /dev and lock files in /var/lock;
// they refuse to run anywhere but the test sandbox, whose /dev and lock
// directory are private tmpfs mounts.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <sys/vfs.h>

namespace {

bool OnPrivateTmpfs(const char* path) {
  struct statfs fs {};
  return ::statfs(path, &fs) == 0 && fs.f_type == TMPFS_MAGIC;
}

bool InSandbox() {
  const char* flag = std::getenv("KORVA_IN_SANDBOX");
  return flag != nullptr && std::strcmp(flag, "1") == 0 && OnPrivateTmpfs("/dev") &&
         OnPrivateTmpfs("/var/lock");
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!InSandbox()) {
    std::fprintf(stderr, "serial_tests: run me through tests/support/sandbox\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
