#include "ChildProcess.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace blackbox {

namespace {

std::string FindProgram(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (size_t start = 0; start <= dirs.size();) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  throw std::runtime_error(name + " is not installed");
}

std::vector<char*> Pointers(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (const std::string& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

void RedirectOrDie(const std::string& path, int target) {
  if (path.empty()) return;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::dup2(fd, target) < 0) ::_exit(126);
  ::close(fd);
}

// Raw system calls: they change this (the only) thread of the child, with
// none of the library's bookkeeping for the threads it no longer has.
void BecomeOrDie(uid_t id) {
  if (::syscall(SYS_setgroups, 0, nullptr) != 0 || ::syscall(SYS_setresgid, id, id, id) != 0 ||
      ::syscall(SYS_setresuid, id, id, id) != 0)
    ::_exit(126);
}

}  // namespace

pid_t SpawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const TSpawnSetup& setup) {
  const std::string program = FindProgram(argv.at(0));
  std::vector<char*> args = Pointers(argv), envp = Pointers(env);
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid > 0) return pid;
  if (setup.ownProcessGroup) ::setpgid(0, 0);
  // Two steps, so that one kept descriptor cannot land on another before
  // that one has been moved.
  std::vector<int> copies;
  for (const auto& [fd, target] : setup.keep) copies.push_back(::fcntl(fd, F_DUPFD_CLOEXEC, 100));
  for (size_t i = 0; i < copies.size(); ++i)
    if (copies[i] < 0 || ::dup2(copies[i], setup.keep[i].second) < 0) ::_exit(126);
  RedirectOrDie(setup.stdoutPath, STDOUT_FILENO);
  RedirectOrDie(setup.stderrPath, STDERR_FILENO);
  if (!setup.workDir.empty() && ::chdir(setup.workDir.c_str()) != 0) ::_exit(126);
  if (setup.user) BecomeOrDie(*setup.user);
  ::execve(program.c_str(), args.data(), envp.data());
  ::_exit(127);
}

std::vector<std::string> EnvironmentForDisplay(const std::string& display) {
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (text.rfind("DISPLAY=", 0) != 0 && text.rfind("XAUTHORITY=", 0) != 0) env.push_back(text);
  }
  if (!display.empty()) env.push_back("DISPLAY=" + display);
  return env;
}

std::optional<int> WaitForChild(pid_t pid, std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return status;
    if (done < 0 && errno != EINTR) return std::nullopt;
    if (std::chrono::steady_clock::now() >= until) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace blackbox
