// The serial tests create device entries in /dev and lock files in /var/lock;
// they refuse to run anywhere but the test sandbox.
#include <cstdio>
#include <gtest/gtest.h>

#include "InSandbox.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!InSandbox()) {
    std::fprintf(stderr, "serial_tests: run me through tests/support/sandbox\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
