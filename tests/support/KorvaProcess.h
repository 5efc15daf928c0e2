#pragma once
// The real korva binary, started as a user starts it, on an X server of its
// own, in a fresh working directory, with recording ptys behind the /dev
// names the test asks for; driven by real input and read back from the
// screen.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingPty.h"
#include "WindowLayout.h"

namespace blackbox {

class TXvfbServer;
class TXScreen;
using TXWindow = unsigned long;

struct TKorvaOptions {
  // Recording ptys made before the start (the program lists its ports as it
  // starts), e.g. {"/dev/ttyUSB0", "/dev/ttyS2"}.
  std::vector<std::string> devices;
  // The bytes of korva.ini in the working directory; none: no such file.
  std::optional<std::string> settings;
  // The X server's resolution in dots per inch; 0 leaves Xvfb's default.
  int dpi = 96;
  // Run as uid and gid 65534 with no supplementary groups; the working
  // directory and the korva.ini written here become that user's, and the
  // program runs from a copy in the run's own folder, which that user can
  // reach wherever the build lies. Needs root's powers: the constructor
  // throws without them, so such a test starts with
  // SKIP_WITHOUT_ROOT_POWERS().
  bool unprivileged = false;
  // Another program to start the same way (a baseline to compare with);
  // empty: the korva binary of this build.
  std::string program;
};

// One test thread drives it (its X connection is not shared); that
// thread's timer slack becomes 1 ns, so waits for pixels end on time.
class TKorvaProcess {
 public:
  // Starts the X server and makes the working directory and the ptys; the
  // program itself starts with Start(), so a test can prepare more first.
  explicit TKorvaProcess(TKorvaOptions options = {});
  // Kills a program still running, then removes the ptys, the working
  // directory and the X server.
  ~TKorvaProcess();
  TKorvaProcess(const TKorvaProcess&) = delete;
  TKorvaProcess& operator=(const TKorvaProcess&) = delete;

  const std::string& WorkDir() const { return workDir_; }
  // The pty made for `devicePath` (one of the options' devices).
  TRecordingPty& Port(const std::string& devicePath);

  // The adapter at `devicePath` plugged in again: the old pty is pulled (if
  // the test has not done so) and kept, so what it recorded stays readable,
  // and a fresh recording pty appears behind the same /dev path, as another
  // /dev/pts device. Port(devicePath) is the new one from now on.
  TRecordingPty& Replug(const std::string& devicePath);

  // Forks and execs korva in the working directory; again after it has
  // ended, with the same X server, directory and ptys (a restart). Throws
  // when it cannot start, naming the failing call and its error.
  void Start();
  pid_t Pid() const { return pid_; }
  int64_t ExecNs() const { return execNs_; }  // MonotonicNs just before the fork
  // True once the "KORVA" window is on the screen and painted (its
  // Write Conf. lamp shows grey); FirstPaintNs() is when that was seen.
  // False when the program ends first or the timeout passes, with why:
  // its exit status or that it still runs, and its error stream.
  testing::AssertionResult WaitForWindow(TMillis timeout = TMillis(15000));
  int64_t FirstPaintNs() const { return firstPaintNs_; }
  // The program's wait status once it has ended within `timeout` (test it
  // with WIFEXITED and WEXITSTATUS), else nothing.
  std::optional<int> WaitForExit(TMillis timeout);
  // The window manager's close request (WM_DELETE_WINDOW) to the window.
  void SendCloseRequest();
  void Kill();  // SIGKILL to the program's process group, then reaped
  // What the latest start wrote to its standard output and error.
  std::string Stdout() const;
  std::string Stderr() const;

  // The window is the top-level titled "KORVA"; these throw while there is
  // none. The screen position of its inner (0, 0):
  TPoint Origin();
  // 0xBBGGRR of a window point.
  uint32_t Colour(TPoint point);
  // When the point first showed `colour` (MonotonicNs), read about every
  // 0.2 ms once the window is there; nothing if that did not happen within
  // `timeout` or the program ended.
  std::optional<int64_t> WaitForColour(TPoint point, uint32_t colour, TMillis timeout);
  // The window's pixels in `rect`, row by row, each 0xBBGGRR.
  std::vector<uint32_t> Pixels(TRect rect);
  // Saves the window as name.ppm in $KORVA_TEST_OUTPUT (else the harness's
  // folder) and returns the path.
  std::string SaveScreenshot(const std::string& name);

  // Real input, sent through xdotool; it returns once the X server has the
  // events, not when the program has handled them. A click leaves the
  // pointer outside the window, so no tooltip covers what a test reads.
  void Click(TPoint point);
  void ClickControl(const std::string& name);  // at the centre of ControlRect(name)
  // Holds the left mouse button down at a window point, the pointer left
  // there; ReleaseButton() lets it go wherever the pointer is then.
  void PressButton(TPoint point);
  void ReleaseButton();
  // Types into whichever control of the window holds the focus (a click
  // into an entry puts it there).
  void Type(const std::string& text);
  // xdotool key names, several separated by blanks: "Tab", "ctrl+a Delete".
  void PressKey(const std::string& keys);
  // Picks row `row` (0 to 6) of the port box as a user does: opens its list
  // with the arrow, goes to the first row with Home, down `row` rows, and
  // Return (the open list holds the keyboard). True once the list has
  // opened and closed again; the program handles the pick as it closes.
  bool PickPort(int row, TMillis timeout = TMillis(5000));
  // The topmost top-level window titled exactly `title` ("ERROR",
  // "ZAZU - VED", "KORVA") once it shows, nothing after `timeout`.
  std::optional<TXWindow> FindWindow(const std::string& title, TMillis timeout);
  // Gives `window` the keyboard and presses the keys there, e.g. "Return"
  // or "Escape" in a message box.
  void PressKeyIn(TXWindow window, const std::string& keys);
  // Takes the window off the screen and puts it back, as a desktop does
  // when it hides and restores it; each returns once the X server has done
  // it. Back on the screen, the window must be painted afresh.
  void UnmapWindow();
  void MapWindow();
  // The text of a message box, as a user can copy it: `keys` ("Tab" in a
  // GTK message box) move the keyboard onto its selectable text, which then
  // selects itself and is read from the PRIMARY selection. Nothing if no new
  // text is there within `timeout`.
  std::optional<std::string> MessageText(TXWindow box, const std::string& keys, TMillis timeout);
  // Puts `text` on the X server's CLIPBOARD, as another program's copy
  // does (xclip keeps offering it until the harness ends); true once the
  // clipboard gives it back.
  bool SetClipboard(const std::string& text, TMillis timeout = TMillis(10000));

 private:
  bool Ended();  // reaps the program once it has ended
  std::optional<TXWindow> FindMainWindow();
  TXWindow MainWindow();  // throws while there is none
  void Xdotool(const std::vector<std::string>& args);
  void SendKeys(const std::string& keys);
  std::optional<TXWindow> NewPopup(const std::vector<TXWindow>& before, TMillis timeout);

  TKorvaOptions options_;
  std::string baseDir_, workDir_, program_;
  std::unique_ptr<TXvfbServer> server_;
  std::unique_ptr<TXScreen> screen_;
  std::map<std::string, std::unique_ptr<TRecordingPty>> ports_;
  std::vector<std::unique_ptr<TRecordingPty>> pulled_;  // replaced by Replug
  pid_t pid_ = -1;
  std::optional<int> exitStatus_;
  int64_t execNs_ = 0, firstPaintNs_ = 0;
  TXWindow window_ = 0;
  pid_t clipboard_ = -1;
};

}  // namespace blackbox
