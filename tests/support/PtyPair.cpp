#include "PtyPair.h"

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

PtyPair::PtyPair() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    CloseMaster();
    return;
  }
  slave_ = ::ptsname(master_);
}

PtyPair::~PtyPair() { CloseMaster(); }

std::string PtyPair::Read(size_t want, int timeoutMs) {
  std::string got;
  pollfd pfd{master_, POLLIN, 0};
  while (got.size() < want && ::poll(&pfd, 1, timeoutMs) > 0 && (pfd.revents & POLLIN)) {
    char buf[256];
    ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) break;
    got.append(buf, static_cast<size_t>(n));
  }
  return got;
}

void PtyPair::Write(const std::string& bytes) {
  if (::write(master_, bytes.data(), bytes.size()) < 0) std::abort();
}

void PtyPair::CloseMaster() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}
