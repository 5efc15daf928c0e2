#pragma once
// Starting the harness's children (Xvfb, xdotool, korva) with fork and
// exec. The harness has threads of its own (the pty readers), so the child
// does only what is safe between fork and exec: everything is prepared
// before the fork.

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace blackbox {

struct TSpawnSetup {
  std::vector<std::pair<int, int>> keep;  // descriptor, number it gets in the child
  std::string stdoutPath, stderrPath;     // created or truncated; empty: inherited
  std::string workDir;                    // empty: the harness's own; entered as `user`
  bool ownProcessGroup = false;           // so a kill reaches what it starts too
  std::optional<uid_t> user;              // uid and gid, with no supplementary groups
};

// The child's pid once it has exec'd the program. Throws when the program
// cannot be found, fork fails, or the child fails before the exec; then the
// message names the failing call, its path and user, and the error, e.g.
// "exec /tmp/x/korva as uid 65534: Permission denied".
// A program name without "/" is looked up in PATH.
pid_t SpawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const TSpawnSetup& setup);

// The harness's environment, with DISPLAY set to `display` (none when
// empty) and no XAUTHORITY (our X servers take no cookies).
std::vector<std::string> EnvironmentForDisplay(const std::string& display);

// The wait status once the child has ended within `timeout`, else nothing.
std::optional<int> WaitForChild(pid_t pid, std::chrono::milliseconds timeout);

}  // namespace blackbox
