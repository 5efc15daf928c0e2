// The harness itself when the program does not come up: it names the
// failing call and its error, or how the program ended and what it said, so
// that a failed start never reads as a bare "false".

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BlackBox.h"
#include "ChildProcess.h"
#include "RootPowers.h"

using namespace blackbox;

namespace {

// A fresh folder of `mode` in the sandbox's home.
std::string MakeFolder(const std::string& name, mode_t mode) {
  std::string path = std::string(std::getenv("KORVA_SANDBOX_HOME")) + "/" + name + ".XXXXXX";
  if (::mkdtemp(path.data()) == nullptr || ::chmod(path.c_str(), mode) != 0)
    throw std::runtime_error("cannot make " + path);
  return path;
}

std::string MakeFile(const std::string& folder, const std::string& text, mode_t mode) {
  const std::string path = folder + "/korva";
  std::ofstream(path) << text;
  if (::chmod(path.c_str(), mode) != 0) throw std::runtime_error("cannot chmod " + path);
  return path;
}

std::string StartError(TKorvaProcess& korva) {
  try {
    korva.Start();
  } catch (const std::exception& error) {
    return error.what();
  }
  return "started";
}

// The harness's runs go below `folder` while this lives.
class TRunsBelow {
 public:
  explicit TRunsBelow(const std::string& folder) : before_(std::getenv("KORVA_SANDBOX_HOME")) {
    ::setenv("KORVA_SANDBOX_HOME", folder.c_str(), 1);
  }
  ~TRunsBelow() { ::setenv("KORVA_SANDBOX_HOME", before_.c_str(), 1); }

 private:
  std::string before_;
};

TEST(StartFailure, NamesTheExecAndItsError) {
  TKorvaOptions options;
  options.program = MakeFile(MakeFolder("plain", 0755), "#!/bin/sh\n", 0644);
  TKorvaProcess korva(options);
  EXPECT_EQ(StartError(korva), "exec " + options.program + ": Permission denied");
}

// What a build below a home of mode 0700 meant to the unprivileged user.
TEST(StartFailure, NamesTheExecOfAProgramTheUserCannotReach) {
  SKIP_WITHOUT_ROOT_POWERS();
  const std::string program = MakeFile(MakeFolder("locked", 0700), "#!/bin/sh\n", 0755);
  TSpawnSetup setup;
  setup.user = 65534;
  try {
    const pid_t pid = SpawnChild({program}, EnvironmentForDisplay(""), setup);
    WaitForChild(pid, TMillis(10000));
    ADD_FAILURE() << "uid 65534 ran " << program;
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "exec " + program + " as uid 65534: Permission denied");
  }
}

TEST(StartFailure, NamesAWorkingDirectoryTheUserCannotEnter) {
  SKIP_WITHOUT_ROOT_POWERS();
  const TRunsBelow runs(MakeFolder("locked", 0700));
  TKorvaOptions options;
  options.unprivileged = true;
  TKorvaProcess korva(options);
  EXPECT_EQ(StartError(korva),
            "chdir " + korva.WorkDir() + " as uid 65534: Permission denied");
}

// Without root's powers, as in a user namespace that maps only its owner.
TEST(StartFailure, RefusesAnUnprivilegedRunWithoutRootPowersAndSaysSo) {
  int ends[2];
  ASSERT_EQ(0, ::pipe(ends));
  const pid_t child = ::fork();
  if (child == 0) {
    std::string what = "constructed";
    if (::unshare(CLONE_NEWUSER) != 0) {
      what = std::string("unshare: ") + std::strerror(errno);
    } else {
      try {
        TKorvaOptions options;
        options.unprivileged = true;
        TKorvaProcess korva(options);
      } catch (const std::exception& error) {
        what = error.what();
      }
    }
    const bool written = ::write(ends[1], what.data(), what.size()) == static_cast<ssize_t>(what.size());
    ::_exit(written ? 0 : 1);
  }
  ::close(ends[1]);
  std::string what;
  char buffer[512];
  for (ssize_t got; (got = ::read(ends[0], buffer, sizeof buffer)) > 0;) what.append(buffer, got);
  ::close(ends[0]);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(what, std::string("korva as uid 65534: ") + kNeedsRootPowers +
                      "; start such a test with SKIP_WITHOUT_ROOT_POWERS()");
}

struct TNoWindowCase {
  const char* script;
  TMillis timeout;
  const char* why;
};

TEST(StartFailure, SaysWhyNoWindowShowed) {
  const TNoWindowCase cases[] = {
      {"#!/bin/sh\necho 'cannot open display' >&2\nexit 3\n", TMillis(10000),
       "korva ended before its window showed: exited with status 3; its error stream:\n"
       "cannot open display\n"},
      {"#!/bin/sh\nkill -SEGV $$\n", TMillis(10000),
       "korva ended before its window showed: killed by signal 11 (Segmentation fault); "
       "its error stream is empty"},
      {"#!/bin/sh\nexec sleep 60\n", TMillis(300),
       "korva still runs but showed no KORVA window within 300 ms; its error stream is empty"},
  };
  for (const TNoWindowCase& test : cases) {
    TKorvaOptions options;
    options.program = MakeFile(MakeFolder("script", 0755), test.script, 0755);
    TKorvaProcess korva(options);
    korva.Start();
    const testing::AssertionResult shown = korva.WaitForWindow(test.timeout);
    EXPECT_FALSE(shown) << test.script;
    EXPECT_EQ(std::string(shown.message()), test.why) << test.script;
  }
}

}  // namespace
