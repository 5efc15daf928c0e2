// These tests make files, links and mounts; they refuse to run anywhere but
// the test sandbox, a private mount namespace with a temporary home.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const char* inSandbox = std::getenv("KORVA_IN_SANDBOX");
  if (!inSandbox || std::string(inSandbox) != "1" || !std::getenv("KORVA_SANDBOX_HOME")) {
    std::fprintf(stderr, "settings_tests: run me through tests/support/sandbox\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
