#pragma once
// The window with pseudo-terminals behind the /dev entries a test names:
// what the port box and the command tests share.

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Indicators.h"
#include "PtyPair.h"
#include "SandboxCheck.h"
#include "SerialTestSupport.h"
#include "WindowTesting.h"

namespace testing_support {

// The six devices the port list looks for.
extern const char* const kPortEntries[6];

std::string LockOf(const std::string& device);
// The files in /var/lock.
std::set<std::string> LockFiles();

class PortWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InSandbox()) << "these tests make /dev entries: run them through the sandbox";
    RemovePortEntries();
  }
  void TearDown() override { Reset(); }

  // No window, no port entries, no locks: the next case of a table starts afresh.
  void Reset() {
    form.reset();
    RemovePortEntries();
    ptys.clear();
  }

  static void RemovePortEntries() {
    for (const char* path : kPortEntries) RemoveEntry(path);
    ClearLockDir();
  }

  // `path` becomes a link to a fresh pseudo-terminal's slave.
  PtyPair& AddDevice(const std::string& path) {
    ptys.push_back(std::make_unique<PtyPair>());
    EXPECT_TRUE(ptys.back()->Ok());
    EXPECT_EQ(0, ::symlink(ptys.back()->SlavePath().c_str(), path.c_str())) << path;
    return *ptys.back();
  }

  void Show() { form.emplace(); }
  TForm1& f() { return **form; }

  void Pick(int row) { PickPortRow(f(), row); }

  void Click(Gtk::Widget& widget) {
    PointAt(widget);
    Xdotool({"click", "1"});
  }

  // The status line's text is white: its brightest pixels are white, and
  // none keeps the red cast of the colour it starts in.
  bool StatusLineIsWhite() {
    int x = 0, y = 0;
    ScreenOrigin(*f().Label4, x, y);
    const Gtk::Allocation box = f().Label4->get_allocation();
    bool white = false;
    for (int dy = 0; dy < box.get_height(); ++dy)
      for (int dx = 0; dx < box.get_width(); ++dx) {
        const TColor c = ScreenColour(x + dx, y + dy);
        if (RedOf(c) > BlueOf(c) + 0x30) return false;
        white = white || (RedOf(c) >= 0xF0 && GreenOf(c) >= 0xF0 && BlueOf(c) >= 0xF0);
      }
    return white;
  }

  uint32_t Lamp(int lampY) {
    int x = 0, y = 0;
    ScreenOrigin(*f().Shape1, x, y);
    return ScreenColour(x + kCommandLampX + 11, y + lampY + 11);
  }

  std::vector<std::unique_ptr<PtyPair>> ptys;
  std::optional<ShownForm> form;
};

}  // namespace testing_support
