#include "LinkResolution.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <tuple>

namespace {

// As many links as the kernel itself follows before it gives up.
constexpr int kMaxLinks = 40;

// The folder part and the last name of a path; "" for the name of a path
// that ends in a slash, which names a folder.
std::pair<std::string, std::string> Split(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

TFileHandle OpenFolder(int base, const std::string& folder) {
  return TFileHandle(::openat(base, folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// The kernel's rule for a link met at the end of a path (may_follow_link).
bool MayFollow(const struct stat& folder, const struct stat& link) {
  if (link.st_uid == ::geteuid()) return true;
  constexpr mode_t kShared = S_ISVTX | S_IWOTH;
  if ((folder.st_mode & kShared) != kShared) return true;
  return link.st_uid == folder.st_uid;
}

// The target of the link open as `link`; empty when it cannot be read.
std::string LinkTarget(int link, const struct stat& entry) {
  std::string target(entry.st_size > 0 ? static_cast<std::size_t>(entry.st_size) + 1 : 256, '\0');
  ssize_t length;
  while ((length = ::readlinkat(link, "", &target[0], target.size())) ==
         static_cast<ssize_t>(target.size()))
    target.resize(target.size() * 2);
  target.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return target;
}

}  // namespace

std::optional<TResolvedName> ResolveLinks(const std::string& path) {
  auto [folderPart, name] = Split(path);
  TFileHandle folder = OpenFolder(AT_FDCWD, folderPart);
  for (int links = 0; folder && !name.empty(); ++links) {
    TFileHandle entry(::openat(folder.Get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat entryStat {}, folderStat {};
    // Whatever keeps the name from being looked at (it is missing, say)
    // meets the caller again when it opens or creates the name itself.
    if (!entry || ::fstat(entry.Get(), &entryStat) != 0 || !S_ISLNK(entryStat.st_mode))
      return TResolvedName{std::move(folder), name};
    if (links == kMaxLinks || ::fstat(folder.Get(), &folderStat) != 0 ||
        !MayFollow(folderStat, entryStat))
      return std::nullopt;
    const std::string target = LinkTarget(entry.Get(), entryStat);
    if (target.empty()) return std::nullopt;
    std::tie(folderPart, name) = Split(target);
    folder = OpenFolder(target[0] == '/' ? AT_FDCWD : folder.Get(), folderPart);
  }
  return std::nullopt;
}

TFileHandle OpenPlainFileForReading(const std::string& path) {
  const std::optional<TResolvedName> resolved = ResolveLinks(path);
  if (!resolved) return {};
  // No following here: a link put in place since it was looked at is refused.
  TFileHandle file(::openat(resolved->folder.Get(), resolved->name.c_str(),
                            O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
  struct stat entry {};
  if (!file || ::fstat(file.Get(), &entry) != 0 || !S_ISREG(entry.st_mode)) return {};
  return file;
}
