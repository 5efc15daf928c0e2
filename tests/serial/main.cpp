// The serial tests create device entries in /dev and lock files in /var/lock;
// they refuse to run anywhere but the test sandbox.
#include <gtest/gtest.h>

#include "SandboxCheck.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  RequireSandbox(argv[0]);
  return RUN_ALL_TESTS();
}
