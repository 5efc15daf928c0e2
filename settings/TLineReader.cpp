#include "TLineReader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

TLineReader::TLineReader(int fd, std::size_t longest)
    : fd_(fd), longest_(longest), buffer_(kBufferSize) {}

bool TLineReader::Fill() {
  ssize_t n;
  while ((n = ::read(fd_, buffer_.data(), buffer_.size())) < 0 && errno == EINTR) {}
  start_ = 0;
  end_ = n > 0 ? static_cast<std::size_t>(n) : 0;
  return n >= 0;
}

bool TLineReader::Next(std::string& line) {
  line.clear();
  for (;;) {
    if (AtEnd() && !Fill()) return false;
    if (AtEnd()) return true;  // the end of the file ends the line too
    const char* begin = buffer_.data() + start_;
    const char* stop = buffer_.data() + end_;
    const char* lineEnd = std::find_if(begin, stop, IsLineEnd);
    const std::size_t room = longest_ - line.size();
    line.append(begin, std::min(static_cast<std::size_t>(lineEnd - begin), room));
    start_ = static_cast<std::size_t>(lineEnd - buffer_.data());
    if (lineEnd == stop) continue;
    ++start_;
    // A CR LF may be split between two reads.
    if (*lineEnd == '\r') {
      if (AtEnd() && !Fill()) return false;
      if (!AtEnd() && buffer_[start_] == '\n') ++start_;
    }
    return true;
  }
}
