#include "FileTesting.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace testing_support {

namespace {

std::string WorkingDirectory() {
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
  return text;
}

bool WriteAll(int fd, const std::string& text) {
  return ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

}  // namespace

FreshFolder::FreshFolder(const std::string& name) : previous_(WorkingDirectory()) {
  const char* home = std::getenv("KORVA_SANDBOX_HOME");
  path_ = std::string(home ? home : previous_) + "/" + name;
  std::filesystem::create_directories(path_);
  EmptyFolder(path_);
  ::chmod(path_.c_str(), 0777);
  if (::chdir(path_.c_str()) != 0) ADD_FAILURE() << "cannot enter " << path_;
}

FreshFolder::~FreshFolder() {
  if (::chdir(previous_.c_str()) != 0) ADD_FAILURE() << "cannot go back to " << previous_;
}

std::string CurrentTestName() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

std::string ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return "<missing>";
  std::string text = ReadAll(fd);
  ::close(fd);
  return text;
}

void WriteFile(const std::string& path, const std::string& content, mode_t mode) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  ASSERT_GE(fd, 0) << "cannot create " << path;
  const bool written = WriteAll(fd, content);
  ::close(fd);
  ASSERT_TRUE(written) << path;
  ASSERT_EQ(0, ::chmod(path.c_str(), mode)) << path;
}

struct stat LStat(const std::string& path) {
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) entry = {};
  return entry;
}

void EmptyFolder(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    std::filesystem::remove_all(entry.path());
}

std::vector<std::string> FolderEntries(const std::string& path) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(path, error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::string RunInChild(const std::function<std::string()>& body) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    ::_exit(WriteAll(pipeEnds[1], body()) ? 0 : 3);
  }
  ::close(pipeEnds[1]);
  std::string answer = ReadAll(pipeEnds[0]);
  ::close(pipeEnds[0]);
  ::waitpid(child, nullptr, 0);
  return answer;
}

std::string AsNobody(const std::function<std::string()>& body, const std::vector<gid_t>& groups) {
  return RunInChild([&] {
    const bool dropped = ::setgroups(groups.size(), groups.data()) == 0 &&
                         ::setgid(kNogroup) == 0 && ::setuid(kNobody) == 0 && ::geteuid() == kNobody;
    return dropped ? body() : std::string("cannot drop privileges");
  });
}

}  // namespace testing_support
