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
  ~FdCloser() {
    if (fd_ >= 0) ::close(fd_);
  }
  // Keeps the descriptor open past the end of the function.
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
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

std::string LockFilePathFor(const std::string& devicePath) {
  const std::string marker = "/dev/";
  const std::string::size_type at = devicePath.find(marker);
  const std::string name =
      at == std::string::npos ? devicePath : devicePath.substr(at + marker.size());
  return std::string(kLockDirectory) + "/LCK.." + name;
}

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

LockCreate CreateLockFile(const std::string& path, pid_t self, LockHold* hold) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                  0666);
  if (fd < 0) return (errno == EEXIST || errno == ELOOP) ? LockCreate::Exists : LockCreate::Failed;
  // Blocking: a breaker may be looking at the new file, but it finds it empty
  // or naming a live process, and lets go at once.
  int locked;
  do {
    locked = ::flock(fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  // The umask must not keep other users' programs from reading or replacing
  // the lock; fchmod on our own descriptor needs no path and no shell.
  ::fchmod(fd, 0666);
  struct stat st {};
  const bool ok = locked == 0 && WriteAll(fd, FormatLockContent(self)) && ::fstat(fd, &st) == 0;
  if (!ok) {
    // An empty or cut lock would read as owned forever; it is ours, so it goes.
    ::unlink(path.c_str());
    ::close(fd);
    return LockCreate::Failed;
  }
  *hold = LockHold{fd, st.st_dev, st.st_ino};
  return LockCreate::Created;
}

namespace {

// Read-write when the file lets us (the convention makes every lock writable
// for all), so a lock we may not remove can still be rewritten; else read-only.
int OpenForJudging(const std::string& path, bool* writable) {
  const int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = ::open(path.c_str(), O_RDWR | flags);
  *writable = fd >= 0;
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
    fd = ::open(path.c_str(), O_RDONLY | flags);
  return fd;
}

bool RewriteInPlace(int fd, const std::string& text) {
  // Written over the old text first and cut after, so the file is never
  // empty: an empty lock reads as owned by someone unknown.
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return ::ftruncate(fd, static_cast<off_t>(text.size())) == 0;
}

bool IsLeftBehind(pid_t owner, pid_t self) {
  // Naming ourselves: we hold its flock now, so none of our objects does.
  if (owner == self) return true;
  // EPERM means alive under another user: still owned.
  return ::kill(owner, 0) != 0 && errno == ESRCH;
}

}  // namespace

// Two programs may find the same stale lock at once. Neither may remove or
// rewrite a lock the other has just made its own. So a breaker holds flock()
// on the stale file itself (non-blocking: whoever does not get it counts the
// device as owned), checks under that lock that the path still names the very
// inode it opened (its open descriptor keeps that inode number from being
// reused), and only then unlinks or rewrites. A breaker that rewrites keeps
// the flock for as long as it holds the device, so a later one never gets
// it; after an unlink, a later one finds the path gone or naming a new file
// and leaves it alone, and of two that then retry the exclusive create, one
// loses and counts the device as owned.
BreakOutcome BreakStaleLock(const std::string& path, pid_t self, LockHold* hold) {
  using B = BreakOutcome;
  struct stat seen {};
  if (::lstat(path.c_str(), &seen) != 0) return errno == ENOENT ? B::Gone : B::Owned;
  if (!S_ISREG(seen.st_mode)) return B::Owned;  // never opened: a FIFO could be drained
  bool writable = false;
  int fd = OpenForJudging(path, &writable);
  if (fd < 0) return errno == ENOENT ? B::Gone : B::Owned;  // the owner has just let go
  FdCloser closer(fd);
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) return B::Owned;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return B::Owned;
  struct stat current {};
  if (::lstat(path.c_str(), &current) != 0) return errno == ENOENT ? B::Gone : B::Owned;
  if (!SameFile(opened, current)) return B::Owned;
  pid_t owner = 0;
  if (!ParseLockPid(ReadShort(fd), &owner) || !IsLeftBehind(owner, self)) return B::Owned;
  if (::unlink(path.c_str()) == 0) return B::Gone;
  // The sticky lock directory keeps another user's file from being removed;
  // cu and its kin rewrite such a lock in place, and so do we.
  if (!writable || !RewriteInPlace(fd, FormatLockContent(self))) return B::Stuck;
  *hold = LockHold{closer.Release(), opened.st_dev, opened.st_ino};
  return B::TakenOver;
}

// A lock taken over in the sticky lock directory belongs to another user and
// cannot be unlinked: it stays, naming us. Once its flock is let go it counts
// as left behind for this process and as stale for everyone once we end.
void ReleaseLockFile(const std::string& path, LockHold* hold) {
  if (!hold->Held()) return;
  struct stat current {};
  if (::lstat(path.c_str(), &current) == 0 && current.st_dev == hold->Device &&
      current.st_ino == hold->Inode)
    ::unlink(path.c_str());
  ::close(hold->Fd);
  *hold = LockHold{};
}
