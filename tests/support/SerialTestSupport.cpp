#include "SerialTestSupport.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

const char kTrackerPath[] = "/dev/ttyUSB0";
const char kTrackerLock[] = "/var/lock/LCK..ttyUSB0";

namespace {

std::string ReadAll(int fd) {
  std::string text;
  char buf[256];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) text.append(buf, static_cast<size_t>(n));
  }
  return text;
}

void WriteAllOrDie(int fd, const std::string& text) {
  if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) ::_exit(3);
}

}  // namespace

std::vector<std::string> RunRacing(int n, const std::function<std::string()>& body) {
  int start[2], hold[2];
  if (::pipe(start) != 0 || ::pipe(hold) != 0) return {};
  std::vector<pid_t> kids;
  std::vector<int> answers;
  for (int i = 0; i < n; ++i) {
    int out[2];
    if (::pipe(out) != 0) break;
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(start[1]);
      ::close(hold[1]);
      ::close(out[0]);
      char c;
      while (::read(start[0], &c, 1) < 0 && errno == EINTR) {}
      WriteAllOrDie(out[1], body());
      ::close(out[1]);
      while (::read(hold[0], &c, 1) < 0 && errno == EINTR) {}
      ::_exit(0);
    }
    ::close(out[1]);
    kids.push_back(pid);
    answers.push_back(out[0]);
  }
  ::close(start[0]);
  ::close(hold[0]);
  ::close(start[1]);  // all children go at once
  std::vector<std::string> results;
  for (int fd : answers) {
    results.push_back(ReadAll(fd));
    ::close(fd);
  }
  ::close(hold[1]);
  for (pid_t pid : kids) ::waitpid(pid, nullptr, 0);
  return results;
}

pid_t DeadPid() {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

LiveProcess::LiveProcess() : pid_(::fork()) {
  if (pid_ == 0)
    for (;;) ::pause();
}

LiveProcess::~LiveProcess() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

termios SlaveAttributes(const std::string& device) {
  termios attrs{};
  int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return attrs;
  if (::tcgetattr(fd, &attrs) != 0) attrs = termios{};
  ::close(fd);
  return attrs;
}

void RemoveEntry(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno == EISDIR) ::rmdir(path.c_str());
}

void ClearLockDir() { EmptyFolder("/var/lock"); }

}  // namespace testing_support
