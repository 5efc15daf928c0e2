// Lock files that guard a serial device between processes (the UUCP convention:
// a plain file in /var/lock holding the owner's process id).
#pragma once

#include <string>
#include <sys/types.h>

inline constexpr char kLockDirectory[] = "/var/lock";

// kLockDirectory, "/LCK.." and the device path less everything up to and including
// its first "/dev/" (the whole path when it holds none). Every lock path is
// formed here.
std::string LockFilePathFor(const std::string& devicePath);

// A lock file this process holds. Its descriptor keeps an exclusive flock()
// on the file for as long as the device is held: that is how a lock naming
// this very process tells "held by one of our objects" from "left behind by
// one of them" (a taken-over lock that could not be unlinked at release).
struct LockHold {
  int Fd = -1;
  dev_t Device = 0;
  ino_t Inode = 0;
  bool Held() const { return Fd >= 0; }
};

enum class LockCreate {
  Created,  // the file is new, holds our process id, and is held
  Exists,   // something already stands at that path
  Failed    // no lock could be written; the caller goes on without one
};

enum class BreakOutcome {
  Gone,       // the path is free now: one more create may be tried
  TakenOver,  // rewritten in place with our process id, and held
  Owned,      // someone holds it, or it is not a lock we may judge
  Stuck       // left behind, but can be neither removed nor rewritten
};

// The 11 bytes of a lock file: the id right-aligned in 10 columns, then a line feed.
std::string FormatLockContent(pid_t pid);

// Accepts what FormatLockContent writes (blanks, digits, trailing white space);
// anything else, and any value that is not a positive process id, is refused.
bool ParseLockPid(const std::string& text, pid_t* pid);

// One exclusive create: a file, link or anything else already present is never
// followed, opened for writing or replaced. The mode is 0666 whatever the umask.
LockCreate CreateLockFile(const std::string& path, pid_t self, LockHold* hold);

// Judges the lock at path. A plain file naming a process that no longer
// exists, or naming `self` while no object of ours holds it, is left behind:
// it is removed, or, where the directory does not let us remove it (the
// sticky lock directory and another user's file), rewritten in place with
// `self` and held.
BreakOutcome BreakStaleLock(const std::string& path, pid_t self, LockHold* hold);

// Lets go of a held lock: unlinks path while it still names the held file
// (a failure is ignored), then closes the descriptor, which ends the flock.
void ReleaseLockFile(const std::string& path, LockHold* hold);
