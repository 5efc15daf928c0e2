// The main of every test binary that makes /dev entries, lock files, mounts
// or a program of its own: it refuses to run outside the sandbox before any
// test starts.
#include <gtest/gtest.h>

#include "SandboxCheck.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  RequireSandbox(argv[0]);
  return RUN_ALL_TESTS();
}
