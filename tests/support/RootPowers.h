#pragma once
// Some tests act as other users (drop to another uid, give a file away with
// chown). That takes root's powers over every uid, which CI has and an
// ordinary user running the tests has not: inside `unshare -r` the process is
// root only over its own uid. Such a test skips, naming why, without them.

#include <gtest/gtest.h>

// True when this process may become, and give files to, any user: its
// effective uid is 0 and its user namespace maps the whole uid range.
bool HaveRootPowers();

// Why a test that needs them was skipped.
extern const char kNeedsRootPowers[];

// The first statement of a test that acts as another user.
#define SKIP_WITHOUT_ROOT_POWERS() \
  do {                                                       \
    if (!HaveRootPowers()) GTEST_SKIP() << kNeedsRootPowers; \
  } while (false)
