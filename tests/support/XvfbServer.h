#pragma once
// An Xvfb of the harness's own: 1280 x 1024 x 24, no window manager, so
// window places, sizes and pixels are exactly what the program asks for.

#include <string>
#include <sys/types.h>

namespace blackbox {

class TXvfbServer {
 public:
  // dpi 0 leaves Xvfb's own default resolution. Throws when it does not
  // come up.
  explicit TXvfbServer(int dpi);
  ~TXvfbServer();
  TXvfbServer(const TXvfbServer&) = delete;
  TXvfbServer& operator=(const TXvfbServer&) = delete;

  // ":N", for DISPLAY.
  const std::string& Name() const { return name_; }

 private:
  void Stop();

  pid_t pid_ = -1;
  std::string name_;
};

}  // namespace blackbox
