#pragma once
// One open file descriptor, closed when the handle goes.

#include <unistd.h>

#include <utility>

class TFileHandle {
 public:
  TFileHandle() = default;
  explicit TFileHandle(int fd) : fd_(fd) {}
  TFileHandle(TFileHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  TFileHandle& operator=(TFileHandle&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  ~TFileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }

  int Get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  // True when the descriptor closed without error; a failed write may show
  // only here (on NFS, for one).
  bool Close() { return fd_ >= 0 && ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_ = -1;
};
