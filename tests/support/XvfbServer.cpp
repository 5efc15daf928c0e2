#include "XvfbServer.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "ChildProcess.h"

namespace blackbox {

namespace {

// Xvfb writes its display number to the descriptor once it takes clients.
std::string ReadDisplayNumber(int fd, pid_t pid) {
  std::string number;
  for (int waited = 0; waited < 20000; waited += 50) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 50) > 0) {
      char buf[32];
      ssize_t n = ::read(fd, buf, sizeof buf);
      if (n <= 0) break;
      number.append(buf, static_cast<size_t>(n));
      if (number.find('\n') != std::string::npos) return number.substr(0, number.find('\n'));
    }
    if (::waitpid(pid, nullptr, WNOHANG) == pid) break;
  }
  return "";
}

}  // namespace

TXvfbServer::TXvfbServer(int dpi) {
  int numberPipe[2];
  if (::pipe2(numberPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe for Xvfb failed");
  std::vector<std::string> argv{"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24",
                                "-nolisten", "tcp", "-noreset"};
  if (dpi > 0) argv.insert(argv.end(), {"-dpi", std::to_string(dpi)});
  TSpawnSetup files;
  files.keep = {{numberPipe[1], 3}};
  files.stdoutPath = files.stderrPath = "/dev/null";
  pid_ = SpawnChild(argv, EnvironmentForDisplay(""), files);
  ::close(numberPipe[1]);
  const std::string number = ReadDisplayNumber(numberPipe[0], pid_);
  ::close(numberPipe[0]);
  if (number.empty()) {
    Stop();
    throw std::runtime_error("Xvfb did not start");
  }
  name_ = ":" + number;
}

TXvfbServer::~TXvfbServer() { Stop(); }

void TXvfbServer::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace blackbox
