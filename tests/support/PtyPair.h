// A pseudo-terminal standing in for a serial device: the program under test
// opens the slave (through a /dev entry the test makes), the test keeps the
// master and reads what arrives.
#pragma once

#include <cstddef>
#include <string>

class PtyPair {
 public:
  PtyPair();
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool Ok() const { return master_ >= 0; }
  const std::string& SlavePath() const { return slave_; }
  // For a reader of its own, such as a thread blocked in read(2).
  int Master() const { return master_; }
  // Bytes that arrive within timeoutMs of each other, up to want of them.
  std::string Read(size_t want, int timeoutMs);
  void Write(const std::string& bytes);
  void CloseMaster();

 private:
  int master_ = -1;
  std::string slave_;
};
