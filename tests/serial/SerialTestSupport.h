// Helpers for the serial tests: a pseudo-terminal standing in for the tracker's
// port, forked children, and small file utilities. All of it runs inside the
// test sandbox, whose /dev and /var/lock belong to the test.
#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

extern const char kTrackerPath[];  // "/dev/ttyUSB0", a link to the pty's slave
extern const char kTrackerLock[];  // its lock file

// The far end of the line: the test keeps the master and reads what arrives.
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

// Runs body in a forked child and returns the text it produced.
std::string RunInChild(const std::function<std::string()>& body);

// Forks n children that run body at the same moment; each keeps whatever it
// took until all have answered, so nobody's release lets a later one in.
std::vector<std::string> RunRacing(int n, const std::function<std::string()>& body);

// The id of a process that has ended and been reaped.
pid_t DeadPid();

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
struct stat LStat(const std::string& path);  // st_ino 0 when missing
void RemoveEntry(const std::string& path);   // file, link, fifo or empty directory
