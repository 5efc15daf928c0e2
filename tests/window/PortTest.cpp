// The port box under real input: the rows it lists and the font it draws
// them in, the device a picked row opens (again when picked again), what
// the status line then says, an edit of its text, its one tab stop under a
// theme that shows the list as a list, the guard of the five commands, and
// the port let go when the window closes. Pseudo-terminals stand in for the
// /dev entries each test names.

#include <gtest/gtest.h>
#include <gtkmm/menu.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

#include "Indicators.h"
#include "PortWindowTesting.h"
#include "SerialLock.h"
#include "SerialPorts.h"
#include "SerialTestSupport.h"

using namespace testing_support;

namespace {

// The extent of what is drawn in a screen area: the bounding box of the
// pixels that differ from its top-left pixel, its background.
struct Ink {
  int width = 0, height = 0;
};

Ink InkIn(const ScreenArea& area) {
  const uint32_t background = area.At(area.Left(), area.Top());
  int left = area.Width(), right = -1, top = area.Height(), bottom = -1;
  for (int y = 0; y < area.Height(); ++y)
    for (int x = 0; x < area.Width(); ++x)
      if (area.At(area.Left() + x, area.Top() + y) != background) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  return right < 0 ? Ink{} : Ink{right - left + 1, bottom - top + 1};
}

// The inside of an entry's frame, where its text is.
ScreenArea TextArea(Gtk::Entry& entry) {
  constexpr int kFrame = 3;
  int x = 0, y = 0;
  ScreenOrigin(entry, x, y);
  const Gtk::Allocation box = entry.get_allocation();
  return ScreenArea(x + kFrame, y + kFrame, box.get_width() - 2 * kFrame,
                    box.get_height() - 2 * kFrame);
}

class PortTest : public PortWindowTest {
 protected:
  std::vector<std::string> Rows() {
    std::vector<std::string> texts;
    for (const Gtk::TreeRow& row : f().ComboBox1->get_model()->children()) {
      Glib::ustring text;
      row.get_value(0, text);
      texts.push_back(text);
    }
    return texts;
  }

  // Opens the box's list with a click on its arrow, as a pick does.
  Gtk::Menu& OpenRows() {
    Gtk::ComboBoxEntry& box = *f().ComboBox1;
    PointAt(box, box.get_allocation().get_width() / 2 - 8);
    Xdotool({"click", "1"});
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
      if (window->is_visible())
        if (auto* menu = dynamic_cast<Gtk::Menu*>(window->get_child())) return *menu;
    throw std::runtime_error("no list of rows");
  }

  // From "GPS-Simul.": Tab, Tab, Shift-Tab, Shift-Tab must land in the
  // box's text field, Edit4, the text field, "GPS-Simul.". The number of
  // the first step that lands elsewhere, 0 when none does.
  int FirstWrongTabStop() {
    Gtk::Widget* field = f().ComboBox1->get_entry();
    const std::pair<const char*, Gtk::Widget*> steps[] = {
        {"Tab", field}, {"Tab", f().Edit4}, {"shift+Tab", field}, {"shift+Tab", f().Button2}};
    f().Button2->grab_focus();
    Settle();
    int step = 0;
    for (const auto& [key, lands] : steps) {
      ++step;
      Xdotool({"key", key});
      if (!lands->has_focus()) return step;
    }
    return 0;
  }

  // Clicks into the box's text field and presses `key` there.
  void TypeIntoBox(const std::string& key) {
    PointAt(*f().ComboBox1->get_entry());
    Xdotool({"click", "1", "key", key});
  }
};

TEST_F(PortTest, TheListShowsTheDevicesPresentAndOpensNone) {
  struct Case {
    const char* what;
    std::vector<std::string> devices, danglingLinks;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"no device", {}, {}, {" ", "---", "", "", "", "", ""}},
      {"ttyS0 and ttyS2",
       {"/dev/ttyS0", "/dev/ttyS2"},
       {},
       {" ", "---", "COM1", "", "COM3", "", ""}},
      {"a dangling ttyUSB0 link", {}, {"/dev/ttyUSB0"}, {" ", "USB0", "", "", "", "", ""}},
      {"all six",
       {kPortEntries, kPortEntries + 6},
       {},
       {" ", "USB0", "COM1", "COM2", "COM3", "COM4", "COM5"}},
  };
  for (const Case& c : cases) {
    for (const std::string& device : c.devices) AddDevice(device);
    for (const std::string& link : c.danglingLinks)
      ASSERT_EQ(0, ::symlink("/dev/nothing", link.c_str()));
    Show();
    EXPECT_EQ(Rows(), c.rows) << c.what;
    EXPECT_EQ(f().ComboBox1->get_active_row_number(), -1) << c.what;
    EXPECT_TRUE(LockFiles().empty()) << c.what;
    EXPECT_FALSE(f().PortState.IsOpen()) << c.what;
    Reset();
  }
}

TEST_F(PortTest, APickedRowOpensItsDeviceAndTheStatusLineSaysWhichInWhite) {
  struct Case {
    const char* what;
    int row;
    const char* opened;  // nullptr: the open fails
    const char* status;
  };
  const Case cases[] = {
      {"COM3", 4, "/dev/ttyS2", "/dev/ttyS2"},
      {"USB0", 1, "/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"row 0", 0, "/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"the empty row of ttyS4", 6, nullptr, "/dev/ttyS4: no such device"},
  };
  for (const Case& c : cases) {
    for (const char* device : {"/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS2"}) AddDevice(device);
    Show();
    int changes = 0;
    f().ComboBox1->signal_changed().connect([&changes] { ++changes; });
    const std::string rowText = Rows()[c.row];
    Pick(c.row);
    // The box lets go of the row after the pick, unheard; the text stays.
    EXPECT_EQ(changes, 1) << c.what;
    EXPECT_EQ(f().ComboBox1->get_active_row_number(), -1) << c.what;
    EXPECT_EQ(f().ComboBox1->get_entry()->get_text(), rowText) << c.what;
    EXPECT_TRUE(OpenMessageDialogs().empty()) << c.what;
    EXPECT_EQ(f().Label4->get_text(), c.status) << c.what;
    EXPECT_TRUE(StatusLineIsWhite()) << c.what;
    EXPECT_EQ(Rows()[0], "") << c.what;
    EXPECT_EQ(f().PortState.IsOpen(), c.opened != nullptr) << c.what;
    const std::set<std::string> locks =
        c.opened ? std::set<std::string>{LockOf(c.opened)} : std::set<std::string>{};
    EXPECT_EQ(LockFiles(), locks) << c.what;
    if (c.opened) {
      EXPECT_EQ(ReadFile(LockOf(c.opened)), FormatLockContent(::getpid())) << c.what;
    }
    int x = 0, y = 0;
    f().Window().get_window()->get_origin(x, y);
    std::cout << "screenshot: "
              << SaveScreenshot("port-picked-row-" + std::to_string(c.row), x, y, 387, 368) << "\n";
    Reset();
  }
}

// Our own lock names a live process, us: row 0 opens the device row 1 has
// open only because the first lock went before the second open.
TEST_F(PortTest, ASecondPickReleasesTheFirstLockBeforeItsOpen) {
  AddDevice("/dev/ttyUSB0");
  AddDevice("/dev/ttyS2");
  Show();
  Pick(4);
  ASSERT_EQ(LockFiles(), std::set<std::string>{LockOf("/dev/ttyS2")});
  Pick(1);
  EXPECT_EQ(LockFiles(), std::set<std::string>{LockOf("/dev/ttyUSB0")});
  Pick(0);
  EXPECT_EQ(f().Label4->get_text(), "/dev/ttyUSB0");
  EXPECT_TRUE(f().PortState.IsOpen());
  EXPECT_EQ(LockFiles(), std::set<std::string>{LockOf("/dev/ttyUSB0")});
}

// The toolkit reports no change for the row that is active. Picking the
// row picked before closes the line and opens the device now behind its
// name all the same: one plugged in after a failed open, or one pulled out
// and plugged in again after a good open (another pty behind the name).
TEST_F(PortTest, PickingTheSameRowAgainOpensTheDeviceNowBehindIt) {
  struct Case {
    const char* what;
    bool presentAtFirst;
    const char* firstStatus;
  };
  const Case cases[] = {{"after a failed open", false, "/dev/ttyUSB0: no such device"},
                        {"after a good open", true, "/dev/ttyUSB0"}};
  for (const Case& c : cases) {
    if (c.presentAtFirst) AddDevice("/dev/ttyUSB0");
    Show();
    Pick(1);
    ASSERT_EQ(f().PortState.IsOpen(), c.presentAtFirst) << c.what;
    EXPECT_EQ(f().Label4->get_text(), c.firstStatus) << c.what;

    RemoveEntry("/dev/ttyUSB0");
    PtyPair& now = AddDevice("/dev/ttyUSB0");
    int changes = 0;
    f().ComboBox1->signal_changed().connect([&changes] { ++changes; });
    Pick(1);
    EXPECT_EQ(changes, 1) << c.what;
    EXPECT_TRUE(OpenMessageDialogs().empty()) << c.what;
    EXPECT_TRUE(f().PortState.IsOpen()) << c.what;
    EXPECT_EQ(f().Label4->get_text(), "/dev/ttyUSB0") << c.what;
    EXPECT_EQ(LockFiles(), std::set<std::string>{LockOf("/dev/ttyUSB0")}) << c.what;
    Click(*f().Button6);
    EXPECT_EQ(now.Read(2, 2000), "\x1b\x03") << c.what << ": TX did not reach the device";
    Reset();
  }
}

// The same text, "USB0", in the text field after its pick and in its row of
// the list, takes the same room when the two are drawn in the same font;
// the theme's font is another size.
TEST_F(PortTest, TheListsRowsAreDrawnInTheFontOfTheTextField) {
  AddDevice("/dev/ttyUSB0");
  Show();
  Pick(1);
  ASSERT_EQ(f().ComboBox1->get_entry()->get_text(), "USB0");
  const Ink field = InkIn(TextArea(*f().ComboBox1->get_entry()));
  Gtk::Menu& rows = OpenRows();
  const std::vector<Gtk::Widget*> items = rows.get_children();
  ASSERT_EQ(items.size(), 7u);
  Gtk::Widget& row = *items[1];
  const Ink listed = InkIn(AreaOf(*dynamic_cast<Gtk::Bin&>(row).get_child()));
  int x = 0, y = 0;
  ScreenOrigin(row, x, y);
  std::cout << "screenshot: " << SaveScreenshot("port-rows", x - 4, y - 60, 100, 200) << "\n";
  Xdotool({"key", "Escape"});
  ASSERT_GT(field.width, 0) << "no text in the field";
  EXPECT_NEAR(listed.width, field.width, 1);
  EXPECT_NEAR(listed.height, field.height, 1);
}

TEST_F(PortTest, ALiveForeignLockIsNamedAndTheGuardThenRefusesACommand) {
  PtyPair& line = AddDevice("/dev/ttyUSB0");
  LiveProcess owner;
  const std::string foreign = FormatLockContent(owner.Pid());
  WriteFile(LockOf("/dev/ttyUSB0"), foreign);
  Show();
  Pick(1);
  EXPECT_EQ(f().Label4->get_text(), "/dev/ttyUSB0: in use by another program");
  EXPECT_TRUE(StatusLineIsWhite());
  EXPECT_FALSE(f().PortState.IsOpen());
  EXPECT_EQ(ReadFile(LockOf("/dev/ttyUSB0")), foreign);

  DialogSeen box;
  LookAtDialogThenPress("Return", box);
  Click(*f().Button6);
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(box.text, "Select a COM-Port.");
  EXPECT_EQ(line.Read(1, 100), "");
  EXPECT_EQ(ReadFile(LockOf("/dev/ttyUSB0")), foreign);
}

TEST_F(PortTest, TypingIntoTheBoxClosesThePortReportsAnErrorAndTheGuardThenRefusesTx) {
  AddDevice("/dev/ttyUSB0");
  Show();
  Pick(1);
  ASSERT_TRUE(f().PortState.IsOpen());

  DialogSeen error;
  LookAtDialogThenPress("Return", error);
  TypeIntoBox("x");
  ASSERT_TRUE(error.shown);
  EXPECT_EQ(error.title, "ZAZU - VED");
  EXPECT_NE(error.text.find("Pick a row"), std::string::npos) << error.text;
  EXPECT_FALSE(f().PortState.IsOpen());
  EXPECT_TRUE(LockFiles().empty());
  EXPECT_EQ(f().Label4->get_text(), "/dev/ttyUSB0") << "the status line keeps its text";

  DialogSeen box;
  LookAtDialogThenPress("Return", box);
  Click(*f().Button6);
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(box.title, "ERROR");
  EXPECT_EQ(box.text, "Select a COM-Port.");

  Pick(1);
  EXPECT_TRUE(f().PortState.IsOpen()) << "a pick opens the port again";
  EXPECT_EQ(LockFiles(), std::set<std::string>{LockOf("/dev/ttyUSB0")});
}

TEST_F(PortTest, BeforeAnyPickEveryCommandShowsTheBoxAndSendsNothing) {
  PtyPair& line = AddDevice("/dev/ttyUSB0");
  AddDevice("/dev/ttyS0");
  struct Case {
    Gtk::Button* TForm1::*button;
    int lampY;
    bool listsPorts;
  };
  const Case cases[] = {
      {&TForm1::Button1, kWriteConfLampY, true}, {&TForm1::Button2, kGpsSimulLampY, false},
      {&TForm1::Button4, kToneLampY, false},     {&TForm1::Button5, kToneLampY, false},
      {&TForm1::Button6, kTxLampY, false},
  };
  for (const Case& c : cases) {
    Show();
    Gtk::Button& button = *(f().*c.button);
    const std::string before = f().Label4->get_text();
    DialogSeen box;
    LookAtDialogThenPress("Return", box);
    Click(button);
    const std::string name = button.get_label();
    ASSERT_TRUE(box.shown) << name;
    EXPECT_EQ(box.title, "ERROR") << name;
    EXPECT_EQ(box.text, "Select a COM-Port.") << name;
    EXPECT_EQ(box.buttons, 1) << name;
    EXPECT_FALSE(box.hasCancel) << name;
    EXPECT_TRUE(OpenMessageDialogs().empty()) << name;
    EXPECT_EQ(f().Label4->get_text(),
              c.listsPorts ? "Verfügbare Ports: " + ListSerialPorts() : before)
        << name;
    EXPECT_EQ(Lamp(c.lampY), kGrey) << name;
    EXPECT_EQ(line.Read(1, 50), "") << name;
    EXPECT_TRUE(LockFiles().empty()) << name;
    form.reset();
  }
  EXPECT_EQ(ListSerialPorts(), " ttyS0");
}

using PortDeathTest = PortTest;

// A theme may show the list as a list rather than a menu; the box then
// makes its arrow anew when its style is set. Tab and Shift-Tab between
// "GPS-Simul." and Edit4 stop in the box's text field once all the same.
// In a process of its own: the theme setting stays for the process's life.
TEST_F(PortDeathTest, OneTabStopAlsoWhenTheThemeShowsTheListAsAList) {
  EXPECT_EXIT(
      {
        alarm(20);
        gtk_rc_parse_string(
            "style \"list-look\" { GtkComboBox::appears-as-list = 1 }\n"
            "class \"GtkComboBox\" style \"list-look\"\n");
        Show();
        std::exit(FirstWrongTabStop());
      },
      ::testing::ExitedWithCode(0), "");
}

// In a process of its own: the close request ends this process's loop.
TEST_F(PortDeathTest, ClosingTheWindowAfterAGoodOpenRemovesTheLockFile) {
  AddDevice("/dev/ttyUSB0");
  Show();
  EXPECT_EXIT(
      {
        alarm(20);
        Pick(1);
        if (LockFiles() != std::set<std::string>{LockOf("/dev/ttyUSB0")}) std::exit(2);
        SendCloseRequest(f().Window());
        Settle();
        if (!App().Terminated()) std::exit(3);
        std::exit(LockFiles().empty() ? 0 : 4);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
