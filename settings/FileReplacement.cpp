#include "FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>

namespace {

// As many links as the kernel itself follows before it gives up.
constexpr int kMaxLinks = 40;

enum class TOutcome { Written, Refused, Failed };

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The entry a write through `path` lands on: symbolic links followed until
// an entry that is none, or none at all. False for a loop.
bool FollowLinks(std::string& path) {
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) return true;
    std::string target(entry.st_size > 0 ? static_cast<std::size_t>(entry.st_size) + 1 : 256, '\0');
    ssize_t length;
    while ((length = ::readlink(path.c_str(), &target[0], target.size())) ==
           static_cast<ssize_t>(target.size()))
      target.resize(target.size() * 2);
    if (length <= 0) return true;
    target.resize(static_cast<std::size_t>(length));
    path = target[0] == '/' ? target : DirectoryOf(path) + "/" + target;
  }
  return false;
}

bool WriteAll(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Whether this process may write the file, asked the only exact way: by
// opening it for writing (no truncation, so nothing changes).
bool MayWrite(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// Cut to nothing and written again, as a plain truncating write does. A
// pipe without a reader refuses rather than blocking the close.
bool WriteInPlace(const std::string& path, const std::string& content) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  bool written = WriteAll(fd, content);
  ::fsync(fd);  // pipes and devices cannot, and need not
  written = ::close(fd) == 0 && written;
  return written;
}

// The directory's answer when it will not have a file made or renamed in it.
bool IsRefusal(int error) {
  return error == EACCES || error == EPERM || error == EROFS || error == EBUSY || error == EXDEV;
}

// A name no file in `directory` has, created at once; -1 and errno if none.
// O_EXCL and O_NOFOLLOW make any name safe, so the letters need only differ
// between tries and between processes.
int CreateSibling(const std::string& directory, const std::string& name, mode_t mode,
                  std::string& created) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::minstd_rand letters(static_cast<std::minstd_rand::result_type>(
      ::getpid() ^ std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    created = directory + "/." + name + "-";
    for (int i = 0; i < 6; ++i) created += kLetters[letters() % (sizeof kLetters - 1)];
    const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Owner and group first: changing them clears the set-id bits that the
// mode then puts back. Only root keeps the owner, a member of the group the
// group; failing both, the new file is simply ours.
bool TakeOver(int fd, const struct stat& old) {
  const bool ownerKept = ::fchown(fd, old.st_uid, old.st_gid) == 0;
  const bool groupKept = ownerKept || ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
  static_cast<void>(groupKept);
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

void SyncDirectory(const std::string& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// `old` is the file being replaced, or null for a file made anew.
TOutcome ReplaceThroughSibling(const std::string& path, const std::string& content,
                               const struct stat* old) {
  const std::string directory = DirectoryOf(path);
  std::string sibling;
  const int fd = CreateSibling(directory, NameOf(path), old ? 0600 : 0666, sibling);
  if (fd < 0) return IsRefusal(errno) ? TOutcome::Refused : TOutcome::Failed;
  bool written = (!old || TakeOver(fd, *old)) && WriteAll(fd, content) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written) {
    ::unlink(sibling.c_str());
    return TOutcome::Failed;
  }
  if (::rename(sibling.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(sibling.c_str());
    return IsRefusal(error) ? TOutcome::Refused : TOutcome::Failed;
  }
  SyncDirectory(directory);
  return TOutcome::Written;
}

}  // namespace

bool ReplaceFileContent(const std::string& path, const std::string& content) {
  std::string target = path;
  if (!FollowLinks(target)) return false;
  struct stat old {};
  if (::lstat(target.c_str(), &old) != 0)
    return errno == ENOENT && ReplaceThroughSibling(target, content, nullptr) == TOutcome::Written;
  if (S_ISDIR(old.st_mode)) return false;
  if (!S_ISREG(old.st_mode) || old.st_nlink > 1) return WriteInPlace(target, content);
  // A read-only file is how users pin their settings.
  if (!MayWrite(target)) return false;
  switch (ReplaceThroughSibling(target, content, &old)) {
    case TOutcome::Written: return true;
    case TOutcome::Refused: return WriteInPlace(target, content);
    case TOutcome::Failed: break;
  }
  return false;
}
