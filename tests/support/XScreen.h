#pragma once
// The harness's own connection to the program's X server: pixels from the
// root window, top-level windows by title, and the window manager's
// messages. Only the test's thread uses it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

typedef struct _XDisplay Display;

namespace blackbox {

using TXWindow = unsigned long;

class TXScreen {
 public:
  explicit TXScreen(const std::string& displayName);  // throws when it cannot connect
  ~TXScreen();
  TXScreen(const TXScreen&) = delete;
  TXScreen& operator=(const TXScreen&) = delete;

  // 0xBBGGRR of the screen pixel (x, y).
  uint32_t Pixel(int x, int y);
  // w x h pixels from (x, y), row by row, each 0xBBGGRR.
  std::vector<uint32_t> Pixels(int x, int y, int width, int height);
  // Viewable top-level windows, bottom to top of the stacking order.
  std::vector<TXWindow> ViewableTopLevels();
  // The topmost viewable top-level whose title is exactly `title`.
  std::optional<TXWindow> TopLevelTitled(const std::string& title);
  bool IsOverrideRedirect(TXWindow window);
  // The screen position of the window's (0, 0).
  void Origin(TXWindow window, int& x, int& y);
  void SendCloseRequest(TXWindow window);
  // Keyboard input goes to `window` from now on.
  void Focus(TXWindow window);
  // The text the owner of `selection` ("PRIMARY", "CLIPBOARD") hands over
  // as UTF-8; nothing without an owner or an answer within `timeoutMs`.
  std::optional<std::string> SelectionText(const std::string& selection, int timeoutMs);

 private:
  std::string Title(TXWindow window);

  Display* display_ = nullptr;
};

}  // namespace blackbox
