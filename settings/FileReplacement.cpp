#include "FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <random>

#include "LinkResolution.h"

namespace {

enum class TOutcome { Written, Refused, Failed };

// Opens an existing entry of the resolved folder, never through a link.
TFileHandle OpenEntry(const TResolvedName& file, int flags) {
  return TFileHandle(::openat(file.folder.Get(), file.name.c_str(),
                              flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteAllAt(int fd, const char* bytes, std::size_t size, off_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd, bytes + done, size - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Whether this process may write the file, asked the only exact way: by
// opening it for writing (no truncation, so nothing changes).
bool MayWrite(const TResolvedName& file) { return static_cast<bool>(OpenEntry(file, O_WRONLY)); }

// A pipe or a device takes the bytes as a stream. A pipe without a reader
// refuses rather than blocking the close.
bool WriteStream(const TResolvedName& file, const std::string& content) {
  TFileHandle fd = OpenEntry(file, O_WRONLY);
  if (!fd) return false;
  ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
  const bool written = WriteAll(fd.Get(), content.data(), content.size());
  ::fsync(fd.Get());  // pipes and devices cannot, and need not
  return fd.Close() && written;
}

// Room for the whole new content before anything changes: where the file
// system can reserve it, a full disk refuses here. Where it cannot, the
// bytes past the old end are written first, and cut off again if that
// fails; what is left overwrites blocks the file has already.
bool RewriteInPlace(const TResolvedName& file, const std::string& content) {
  TFileHandle fd = OpenEntry(file, O_WRONLY);
  struct stat old {};
  if (!fd || ::fstat(fd.Get(), &old) != 0 || !S_ISREG(old.st_mode)) return false;
  const off_t newSize = static_cast<off_t>(content.size());
  if (::fallocate(fd.Get(), FALLOC_FL_KEEP_SIZE, 0, newSize) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS)
    return false;
  const std::size_t kept = static_cast<std::size_t>(std::min(old.st_size, newSize));
  if (!WriteAllAt(fd.Get(), content.data() + kept, content.size() - kept, old.st_size)) {
    static_cast<void>(::ftruncate(fd.Get(), old.st_size));
    return false;
  }
  const bool written = WriteAllAt(fd.Get(), content.data(), kept, 0) &&
                       ::ftruncate(fd.Get(), newSize) == 0 && ::fsync(fd.Get()) == 0;
  return fd.Close() && written;
}

// The directory's answer when it will not have a file made or renamed in it.
bool IsRefusal(int error) {
  return error == EACCES || error == EPERM || error == EROFS || error == EBUSY || error == EXDEV;
}

// A name no file in the folder has, created at once; an empty handle and
// errno if none. O_EXCL and O_NOFOLLOW make any name safe, so the letters
// need only differ between tries and between processes.
TFileHandle CreateSibling(const TResolvedName& file, mode_t mode, std::string& created) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::minstd_rand letters(static_cast<std::minstd_rand::result_type>(
      ::getpid() ^ std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    created = "." + file.name + "-";
    for (int i = 0; i < 6; ++i) created += kLetters[letters() % (sizeof kLetters - 1)];
    TFileHandle fd(::openat(file.folder.Get(), created.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (fd || errno != EEXIST) return fd;
  }
  return {};
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

void SyncFolder(const TResolvedName& file) {
  const TFileHandle folder(::openat(file.folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder) ::fsync(folder.Get());
}

// `old` is the file being replaced, or null for a file made anew.
TOutcome ReplaceThroughSibling(const TResolvedName& file, const std::string& content,
                               const struct stat* old) {
  std::string sibling;
  TFileHandle fd = CreateSibling(file, old ? 0600 : 0666, sibling);
  if (!fd) return IsRefusal(errno) ? TOutcome::Refused : TOutcome::Failed;
  bool written = (!old || TakeOver(fd.Get(), *old)) &&
                 WriteAll(fd.Get(), content.data(), content.size()) && ::fsync(fd.Get()) == 0;
  written = fd.Close() && written;
  const int folder = file.folder.Get();
  if (!written) {
    ::unlinkat(folder, sibling.c_str(), 0);
    return TOutcome::Failed;
  }
  if (::renameat(folder, sibling.c_str(), folder, file.name.c_str()) != 0) {
    const int error = errno;
    ::unlinkat(folder, sibling.c_str(), 0);
    return IsRefusal(error) ? TOutcome::Refused : TOutcome::Failed;
  }
  SyncFolder(file);
  return TOutcome::Written;
}

}  // namespace

bool ReplaceFileContent(const std::string& path, const std::string& content) {
  const std::optional<TResolvedName> file = ResolveLinks(path);
  if (!file) return false;
  struct stat old {};
  if (::fstatat(file->folder.Get(), file->name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0)
    return errno == ENOENT && ReplaceThroughSibling(*file, content, nullptr) == TOutcome::Written;
  // A link there now was put there since it was looked at.
  if (S_ISDIR(old.st_mode) || S_ISLNK(old.st_mode)) return false;
  if (!S_ISREG(old.st_mode)) return WriteStream(*file, content);
  if (old.st_nlink > 1) return RewriteInPlace(*file, content);
  // A read-only file is how users pin their settings.
  if (!MayWrite(*file)) return false;
  switch (ReplaceThroughSibling(*file, content, &old)) {
    case TOutcome::Written: return true;
    case TOutcome::Refused: return RewriteInPlace(*file, content);
    case TOutcome::Failed: break;
  }
  return false;
}
