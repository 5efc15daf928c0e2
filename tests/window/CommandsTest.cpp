// The command buttons seen from inside the window: what the status line says
// after a whole block and after a device refused a byte, the error dialog's
// words for an entry the block cannot be made of, the lamps as a handler
// leaves them, and a close request waiting at a command's event step.

#include <glibmm/spawn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "Indicators.h"
#include "PortWindowTesting.h"

using namespace testing_support;

namespace {

constexpr int kCommandLamps[] = {kWriteConfLampY, kGpsSimulLampY, kToneLampY, kTxLampY};

class CommandWindowTest : public PortWindowTest {
 protected:
  // The window up with /dev/ttyUSB0 picked and open.
  void OpenTracker() {
    line = &AddDevice("/dev/ttyUSB0");
    Show();
    Pick(1);
    ASSERT_TRUE(f().PortState.IsOpen());
  }

  // Lamps a command has no business painting show whether it did.
  void PaintCommandLamps(TColor colour) {
    for (int y : kCommandLamps) DrawCommandIndicator(kCommandLampX, y, colour);
  }

  PtyPair* line = nullptr;
};

// Runs `look` whenever a message dialog is made, before it is on the screen.
gulong WhenADialogIsMade(std::function<void()> look) {
  auto* held = new std::function<void()>(std::move(look));
  return g_signal_add_emission_hook(
      g_signal_lookup("realize", GTK_TYPE_WIDGET), 0,
      [](GSignalInvocationHint*, guint, const GValue* params, gpointer data) -> gboolean {
        if (GTK_IS_MESSAGE_DIALOG(g_value_get_object(&params[0])))
          (*static_cast<std::function<void()>*>(data))();
        return TRUE;
      },
      held, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

void StopWatchingDialogs(gulong hook) {
  g_signal_remove_emission_hook(g_signal_lookup("realize", GTK_TYPE_WIDGET), hook);
}

TEST_F(CommandWindowTest, AWholeBlockEndsWithFourGreyLampsAndTheWebAddress) {
  OpenTracker();
  f().Edit3->set_text("");
  PaintCommandLamps(kGreen);
  Click(*f().Button1);
  EXPECT_TRUE(OpenMessageDialogs().empty());
  EXPECT_EQ(f().Label4->get_text(), "http://www.aprs.org/");
  EXPECT_TRUE(StatusLineIsWhite());
  for (int y : kCommandLamps) EXPECT_EQ(Lamp(y), kGrey) << "lamp at y " << y;
  EXPECT_EQ(f().Edit3->get_text(), " ") << "an empty beacon text goes out as one blank";
  EXPECT_TRUE(f().PortState.IsOpen());
}

// The error leaves the handler with nothing sent and the lamp grey again;
// the dialog quotes what could not be read. The lamp is read as the dialog
// is made: once shown, it covers the lamp.
TEST_F(CommandWindowTest, AnEntryTheBlockCannotBeMadeOfSendsNothingAndReachesTheErrorDialog) {
  struct Case {
    const char* what;
    const char *callSign, *path, *txDelay;
    const char* message;
  };
  const Case cases[] = {
      {"a call sign ending in -", "MYCALL-", "APRS,WIDE2-2", "50", "\"\" is an invalid integer."},
      {"a third path element", "MYCALL-3", "APRS,WIDE1-1,WI", "50",
       "PATH: \"APRS,WIDE1-1,WI\" has more than the 2 calls the tracker sends, such as "
       "APRS,WIDE2-2."},
      {"an empty TX delay", "MYCALL-3", "APRS,WIDE2-2", "", "\"\" is an invalid integer."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenTracker();
    f().Edit1->set_text(c.callSign);
    f().Edit5->set_text(c.path);
    f().Edit6->set_text(c.txDelay);
    f().Edit3->set_text("");
    TColor lampAtError = kBlack;
    const gulong spy = WhenADialogIsMade([&] { lampAtError = Lamp(kWriteConfLampY); });
    DialogSeen error;
    LookAtDialogThenPress("Return", error);
    Click(*f().Button1);
    StopWatchingDialogs(spy);
    ASSERT_TRUE(error.shown);
    EXPECT_EQ(error.title, "ZAZU - VED");
    EXPECT_EQ(error.text.substr(0, error.text.find('\n')), c.message);
    EXPECT_EQ(lampAtError, kGrey) << "before the dialog covered it";
    EXPECT_EQ(line->Read(1, 50), "");
    EXPECT_EQ(f().Edit3->get_text(), " ");
    EXPECT_EQ(f().Label4->get_text(), "/dev/ttyUSB0") << "the status line keeps its text";
    EXPECT_TRUE(f().PortState.IsOpen());
    Reset();
  }
}

// The adapter is pulled: the command stops, the status line says why, the
// port is let go, the guard answers the next command, and once the adapter
// is back a pick of the same row opens it.
TEST_F(CommandWindowTest, ADeviceThatRefusesAByteIsNamedAndLetGo) {
  struct Case {
    const char* what;
    Gtk::Button* TForm1::*button;
    std::vector<int> greyLamps;
  };
  const Case cases[] = {
      {"TX", &TForm1::Button6, {kTxLampY}},
      {"Write Conf.", &TForm1::Button1, {kWriteConfLampY, kGpsSimulLampY, kToneLampY, kTxLampY}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenTracker();
    PaintCommandLamps(kGreen);
    line->CloseMaster();
    Click(*(f().*c.button));
    EXPECT_TRUE(OpenMessageDialogs().empty());
    EXPECT_EQ(f().Label4->get_text(), "/dev/ttyUSB0: input/output error");
    EXPECT_TRUE(StatusLineIsWhite());
    EXPECT_FALSE(f().PortState.IsOpen());
    EXPECT_TRUE(LockFiles().empty());
    for (int y : kCommandLamps) {
      const bool grey = std::find(c.greyLamps.begin(), c.greyLamps.end(), y) != c.greyLamps.end();
      EXPECT_EQ(Lamp(y), grey ? kGrey : kGreen) << "lamp at y " << y;
    }

    DialogSeen box;
    LookAtDialogThenPress("Return", box);
    Click(*f().Button4);
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text, "Select a COM-Port.");

    RemoveEntry("/dev/ttyUSB0");
    AddDevice("/dev/ttyUSB0");
    Pick(1);
    EXPECT_TRUE(f().PortState.IsOpen());
    EXPECT_EQ(f().Label4->get_text(), "/dev/ttyUSB0");
    Reset();
  }
}

using CommandWindowDeathTest = CommandWindowTest;

// The close request is already waiting when "TX" reaches its event step: the
// window closes in there, and the rest of the command meets a closed port
// and puts its lamp out without a word.
TEST_F(CommandWindowDeathTest, ACloseRequestAtTheEventStepClosesThePortUnderTheCommand) {
  OpenTracker();
  EXPECT_EXIT(
      {
        alarm(20);
        int clicks = 0;
        f().Button6->signal_clicked().connect([&clicks] { ++clicks; });
        PointAt(*f().Button6);
        // The click and then the close request reach the queue before the
        // window looks at either.
        Glib::spawn_sync("", std::vector<std::string>{"xdotool", "click", "1"},
                         Glib::SPAWN_SEARCH_PATH);
        SendCloseRequest(f().Window());
        Settle();
        if (!App().Terminated() || clicks != 1) std::exit(2);
        if (!LockFiles().empty()) std::exit(3);
        if (line->Read(1, 50) != "") std::exit(4);
        if (f().Label4->get_text() != "/dev/ttyUSB0") std::exit(5);
        if (Lamp(kTxLampY) != kGrey) std::exit(6);
        std::exit(OpenMessageDialogs().empty() ? 0 : 7);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
