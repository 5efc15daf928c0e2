// Lock files that guard a serial device between processes (the UUCP convention:
// a plain file in /var/lock holding the owner's process id).
#pragma once

#include <string>
#include <sys/types.h>

// Names one file on disk, so a lock is removed only while it is still ours.
struct LockFileId {
  dev_t Device = 0;
  ino_t Inode = 0;
  bool Valid = false;
};

enum class LockCreate {
  Created,  // the file is new and holds our process id
  Exists,   // something already stands at that path
  Failed    // no lock could be written; the caller goes on without one
};

// The 11 bytes of a lock file: the id right-aligned in 10 columns, then a line feed.
std::string FormatLockContent(pid_t pid);

// Accepts what FormatLockContent writes (blanks, digits, trailing white space);
// anything else, and any value that is not a positive process id, is refused.
bool ParseLockPid(const std::string& text, pid_t* pid);

// One exclusive create: a file, link or anything else already present is never
// followed, opened for writing or replaced. The mode is 0666 whatever the umask.
LockCreate CreateLockFile(const std::string& path, pid_t pid, LockFileId* id);

// Removes the lock at path only when it is a plain file naming a process that no
// longer exists. True when the path is free now, so one more create may be tried.
bool RemoveStaleLock(const std::string& path);

// Unlinks path only while it still names the file described by id.
void RemoveOwnLock(const std::string& path, const LockFileId& id);
