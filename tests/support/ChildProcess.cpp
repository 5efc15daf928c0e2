#include "ChildProcess.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

// What the child failed at, sent to the parent before it ends; the texts
// are made before the fork, the child sends only their index and errno.
struct TFailure {
  int step;
  int error;
};

enum TStep { kKeep, kStdout, kStderr, kUser, kWorkDir, kExec, kStepCount };

// The child's last words: which step failed and why, then the end.
[[noreturn]] void Fail(int report, int step) {
  const TFailure failure{step, errno};
  while (::write(report, &failure, sizeof failure) < 0 && errno == EINTR) {}
  ::_exit(127);
}

void RedirectOrFail(const std::string& path, int target, int report, int step) {
  if (path.empty()) return;
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::dup2(fd, target) < 0) Fail(report, step);
  ::close(fd);
}

// Raw system calls: they change this (the only) thread of the child, with
// none of the library's bookkeeping for the threads it no longer has.
void BecomeOrFail(uid_t id, int report) {
  if (::syscall(SYS_setgroups, 0, nullptr) != 0 || ::syscall(SYS_setresgid, id, id, id) != 0 ||
      ::syscall(SYS_setresuid, id, id, id) != 0)
    Fail(report, kUser);
}

std::vector<std::string> StepTexts(const std::string& program, const TSpawnSetup& setup) {
  const std::string as = setup.user ? " as uid " + std::to_string(*setup.user) : "";
  std::vector<std::string> texts(kStepCount);
  texts[kKeep] = "dup2 of a kept descriptor for " + program;
  texts[kStdout] = "open " + setup.stdoutPath + " for the standard output of " + program;
  texts[kStderr] = "open " + setup.stderrPath + " for the standard error of " + program;
  texts[kUser] = "setresuid/setresgid to " + (setup.user ? std::to_string(*setup.user) : "") +
                 " for " + program;
  texts[kWorkDir] = "chdir " + setup.workDir + as;
  texts[kExec] = "exec " + program + as;
  return texts;
}

// Waits for the child's exec: a close-on-exec pipe shows end of file when it
// succeeds, or carries the child's failure, which becomes the exception.
void AwaitExec(pid_t pid, int report, const std::vector<std::string>& texts) {
  TFailure failure{};
  ssize_t got;
  while ((got = ::read(report, &failure, sizeof failure)) < 0 && errno == EINTR) {}
  ::close(report);
  if (got != static_cast<ssize_t>(sizeof failure)) return;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  const bool known = failure.step >= 0 && failure.step < kStepCount;
  throw std::runtime_error((known ? texts[failure.step] : std::string("starting a child")) +
                           ": " + std::strerror(failure.error));
}

}  // namespace

pid_t SpawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                 const TSpawnSetup& setup) {
  const std::string program = FindProgram(argv.at(0));
  const std::vector<std::string> texts = StepTexts(program, setup);
  std::vector<char*> args = Pointers(argv), envp = Pointers(env);
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  // High above the numbers the child's kept descriptors move to.
  const int report = ::fcntl(ends[1], F_DUPFD_CLOEXEC, 200);
  ::close(ends[1]);
  const pid_t pid = report < 0 ? -1 : ::fork();
  if (pid < 0) {
    ::close(ends[0]);
    if (report >= 0) ::close(report);
    throw std::runtime_error("fork failed");
  }
  if (pid > 0) {
    ::close(report);
    AwaitExec(pid, ends[0], texts);
    return pid;
  }
  if (setup.ownProcessGroup) ::setpgid(0, 0);
  // Two steps, so that one kept descriptor cannot land on another before
  // that one has been moved.
  std::vector<int> copies;
  for (const auto& [fd, target] : setup.keep) copies.push_back(::fcntl(fd, F_DUPFD_CLOEXEC, 100));
  for (size_t i = 0; i < copies.size(); ++i)
    if (copies[i] < 0 || ::dup2(copies[i], setup.keep[i].second) < 0) Fail(report, kKeep);
  RedirectOrFail(setup.stdoutPath, STDOUT_FILENO, report, kStdout);
  RedirectOrFail(setup.stderrPath, STDERR_FILENO, report, kStderr);
  // The user first: the working directory must be one that user can enter,
  // as it is for a user who starts the program from a shell.
  if (setup.user) BecomeOrFail(*setup.user, report);
  if (!setup.workDir.empty() && ::chdir(setup.workDir.c_str()) != 0) Fail(report, kWorkDir);
  ::execve(program.c_str(), args.data(), envp.data());
  Fail(report, kExec);
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
