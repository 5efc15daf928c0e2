#include "SerialLock.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor on every way out of a function.
class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser() { ::close(fd_); }
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;

 private:
  int fd_;
};

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// A real lock is 11 bytes; anything that fills this buffer is not one of ours.
std::string ReadShort(int fd) {
  char buf[64];
  size_t got = 0;
  while (got < sizeof buf) {
    ssize_t n = ::read(fd, buf + got, sizeof buf - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  if (got == sizeof buf) return std::string();
  return std::string(buf, got);
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string FormatLockContent(pid_t pid) {
  char text[32];
  int n = std::snprintf(text, sizeof text, "%10ld\n", static_cast<long>(pid));
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

bool ParseLockPid(const std::string& text, pid_t* pid) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  long value = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return false;
  }
  while (i < text.size() && (IsBlank(text[i]) || text[i] == '\n' || text[i] == '\r')) ++i;
  if (digits == 0 || i != text.size() || value <= 0) return false;
  *pid = static_cast<pid_t>(value);
  return true;
}

LockCreate CreateLockFile(const std::string& path, pid_t pid, LockFileId* id) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                  0666);
  if (fd < 0) return (errno == EEXIST || errno == ELOOP) ? LockCreate::Exists : LockCreate::Failed;
  // The umask must not keep other users' programs from reading or replacing
  // the lock; fchmod on our own descriptor needs no path and no shell.
  ::fchmod(fd, 0666);
  struct stat st {};
  bool ok = WriteAll(fd, FormatLockContent(pid)) && ::fstat(fd, &st) == 0;
  if (::close(fd) != 0 && errno != EINTR) ok = false;
  if (!ok) {
    // An empty or cut lock would read as owned forever; it is ours, so it goes.
    ::unlink(path.c_str());
    return LockCreate::Failed;
  }
  *id = LockFileId{st.st_dev, st.st_ino, true};
  return LockCreate::Created;
}

// Two programs may find the same stale lock at once. Each must not delete a
// lock the other has just made in its place. So a breaker holds flock() on the
// stale file itself (non-blocking: whoever does not get it counts the device as
// owned), checks under that lock that the path still names the very inode it
// opened (its open descriptor keeps that inode number from being reused), and
// only then unlinks. A second breaker that gets the flock later finds the path
// gone or naming a new file and leaves it alone. The caller then retries its
// exclusive create once, and whoever loses that create counts as owned.
bool RemoveStaleLock(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT;  // the owner has just let go
  FdCloser closer(fd);
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
  struct stat current {};
  if (::lstat(path.c_str(), &current) != 0) return errno == ENOENT;
  if (!SameFile(opened, current)) return false;
  pid_t pid = 0;
  if (!ParseLockPid(ReadShort(fd), &pid)) return false;
  // EPERM means alive under another user: still owned.
  if (::kill(pid, 0) == 0 || errno != ESRCH) return false;
  return ::unlink(path.c_str()) == 0;
}

void RemoveOwnLock(const std::string& path, const LockFileId& id) {
  if (!id.Valid) return;
  struct stat current {};
  if (::lstat(path.c_str(), &current) != 0) return;
  if (current.st_dev == id.Device && current.st_ino == id.Inode) ::unlink(path.c_str());
}
