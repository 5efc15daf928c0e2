#pragma once
// What the window tests share: one toolkit start per test process, the main
// window built and shown as the program shows it, the screen's pixels read
// back, and real input through xdotool while the event loop runs.

#include <gtkmm/messagedialog.h>
#include <gtkmm/window.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TApplication.h"
#include "TForm1.h"

namespace testing_support {

// The one toolkit start of this test process (made by the tests' main).
TApplication& App();

// Processes window events for at least `ms` milliseconds.
void Pump(int ms);
// Processes events until the display has nothing more to draw for us.
void Settle();

// The X screen's resolution in whole dots per inch, from its size in pixels
// and millimetres.
long ScreenDotsPerInch();

// The colour of a screen pixel, 0xBBGGRR like the layout's colours.
uint32_t ScreenColour(int x, int y);
// The colours of a screen area, read back in one go; x and y are screen
// coordinates inside the area.
class ScreenArea {
 public:
  ScreenArea(int x, int y, int width, int height);
  uint32_t At(int x, int y) const;
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int left_, top_, width_, height_;
  std::vector<uint32_t> colours_;
};
// The screen area a widget is allocated.
ScreenArea AreaOf(Gtk::Widget& widget);
// The screen position of a widget's top-left corner.
void ScreenOrigin(Gtk::Widget& widget, int& x, int& y);
// Saves the given screen area as a PNG in the test output folder
// ($KORVA_TEST_OUTPUT, else the working directory), the screen's resolution
// in its name, as the tests run at more than one; returns the path.
std::string SaveScreenshot(const std::string& name, int x, int y, int width, int height);

// What the window asks the window manager to offer (_MOTIF_WM_HINTS).
bool MotifHints(Gtk::Window& window, unsigned long& functions, unsigned long& decorations);

// The window manager's close request (WM_DELETE_WINDOW) to an X window.
void SendCloseRequest(unsigned long xWindow);
void SendCloseRequest(Gtk::Window& window);
// The visible toplevel message dialogs, newest last.
std::vector<Gtk::MessageDialog*> OpenMessageDialogs();

// What a message dialog showed.
struct DialogSeen {
  bool shown = false;
  std::string title, text;
  Gtk::MessageType type = Gtk::MESSAGE_OTHER;
  int buttons = 0;
  bool okIsDefault = false, hasCancel = false;
};

// Once a message dialog shows (it is looked for every 50 ms for up to 10 s),
// records what it shows and presses `key` on it with xdotool.
void LookAtDialogThenPress(const std::string& key, DialogSeen& seen);

// Runs xdotool with `args` and keeps the event loop going until it ends.
void Xdotool(const std::vector<std::string>& args);
// Moves the pointer to the widget's centre (plus an offset).
void PointAt(Gtk::Widget& widget, int dx = 0, int dy = 0);

// Picks row `row` of the port box as a user does: a click on the box's arrow
// pops its menu of rows up, a click on the row picks it.
void PickPortRow(TForm1& form, int row);

// The main window, created and shown as start-up does, destroyed after.
class ShownForm {
 public:
  ShownForm();
  ~ShownForm();
  TForm1& operator*() { return *form_; }
  TForm1* operator->() { return form_.get(); }

 private:
  std::unique_ptr<TForm1> form_;
};

}  // namespace testing_support
