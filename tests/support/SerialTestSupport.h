// Helpers for tests of the serial line and the port: a pseudo-terminal standing
// in for the tracker's port, forked children, and small file utilities. All of
// it runs inside the test sandbox, whose /dev and /var/lock belong to the test.
#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <termios.h>
#include <vector>

#include "FileTesting.h"
#include "PtyPair.h"

namespace testing_support {

extern const char kTrackerPath[];  // "/dev/ttyUSB0", a link to the pty's slave
extern const char kTrackerLock[];  // its lock file

// Forks n children that run body at the same moment; each keeps whatever it
// took until all have answered, so nobody's release lets a later one in.
std::vector<std::string> RunRacing(int n, const std::function<std::string()>& body);

// The id of a process that has ended and been reaped.
pid_t DeadPid();

// A process other than ours that stays alive until this object goes, for a
// lock file that must count as held by someone else.
class LiveProcess {
 public:
  LiveProcess();
  ~LiveProcess();
  LiveProcess(const LiveProcess&) = delete;
  LiveProcess& operator=(const LiveProcess&) = delete;
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_;
};

// A device's attributes as any other program on it sees them; all zero when
// it cannot be opened.
termios SlaveAttributes(const std::string& device);

void RemoveEntry(const std::string& path);   // file, link, fifo or empty directory
// Empties /var/lock.
void ClearLockDir();

}  // namespace testing_support
