#pragma once
// Text lines from a file descriptor, read through a buffer, each kept only
// up to a longest length: the rest of a longer line is passed over, so no
// file, however large and however its lines end, takes more memory than
// the buffer and one line.

#include <cstddef>
#include <string>
#include <vector>

class TLineReader {
 public:
  TLineReader(int fd, std::size_t longest);

  // The next line without its end (LF, CR LF or a lone CR; the last line
  // may have none), cut to the longest length. Past the end of the file
  // every line is empty, which is no failure; a failed read is (false).
  bool Next(std::string& line);

 private:
  bool Fill();  // called with the buffer used up
  bool AtEnd() const { return start_ == end_; }

  int fd_;
  std::size_t longest_;
  std::vector<char> buffer_;
  std::size_t start_ = 0, end_ = 0;
};
