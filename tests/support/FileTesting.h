#pragma once
// File-system helpers for tests that run inside the sandbox: a fresh folder
// to work in, whole-file reads and writes, and a child process that has
// given up root, since a permission check proves nothing as root.

#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// The folder `name` below the sandbox's home ($KORVA_SANDBOX_HOME, else the
// working directory at the time), emptied and made the working directory
// while this lives. The folder itself is kept, never replaced, so a forked or
// re-run copy of the test that empties it again still shares it.
class FreshFolder {
 public:
  explicit FreshFolder(const std::string& name);
  ~FreshFolder();
  FreshFolder(const FreshFolder&) = delete;
  FreshFolder& operator=(const FreshFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_, previous_;
};

// The running test's suite and name, fit to name a folder.
std::string CurrentTestName();

// The whole content; "<missing>" when it cannot be opened.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content, mode_t mode = 0644);
// The entry itself, not what a link names; st_ino 0 when there is none.
struct stat LStat(const std::string& path);
// Removes everything inside `folder`, keeping the folder.
void EmptyFolder(const std::string& folder);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> FolderEntries(const std::string& path);
// Splits at LF; a final LF ends the last line and starts none.
std::vector<std::string> Lines(const std::string& text);

// Runs body in a forked child and returns the text it produced.
std::string RunInChild(const std::function<std::string()>& body);

// The unprivileged user and group the tests switch to.
constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
// Runs `body` in a forked child that has become kNobody (with the extra
// groups given) and returns what it returns, or "cannot drop privileges".
std::string AsNobody(const std::function<std::string()>& body,
                     const std::vector<gid_t>& groups = {});

}  // namespace testing_support
