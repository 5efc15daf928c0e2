// The general error handler: its dialog, and how each answer ends.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "WindowTesting.h"

using namespace testing_support;

namespace {

// An exception leaving a handler, as the event loop hands it on.
void RaiseFromHandler(const std::string& message) {
  try {
    throw std::runtime_error(message);
  } catch (...) {
    Glib::exception_handlers_invoke();
  }
}

using Answer = void (*)(Gtk::MessageDialog&);

// Answers the error dialog, once it shows.
void AnswerDialog(Answer answer) {
  Glib::signal_timeout().connect_once(
      [answer] {
        auto dialogs = OpenMessageDialogs();
        ASSERT_EQ(dialogs.size(), 1u);
        answer(*dialogs.back());
      },
      300);
}

void PressKey(Gtk::MessageDialog& d, const char* key) {
  PointAt(d);
  Xdotool({"key", key});
}

TEST(ErrorMessage, IsMadeValidAndEndsInOneFullStop) {
  struct Case {
    std::string raw, shown;
  };
  const Case cases[] = {
      {"\"abc\" is an invalid integer", "\"abc\" is an invalid integer."},
      {"already ends.", "already ends."},
      {"", ""},
      {"bad \xff byte", "bad \xef\xbf\xbd byte."},
  };
  for (const Case& c : cases) EXPECT_EQ(TApplication::PrepareMessage(c.raw), c.shown) << c.raw;
}

class ErrorDialogTest : public ::testing::Test {
 protected:
  ShownForm form;
};

TEST_F(ErrorDialogTest, ShowsTitleIconTextAndOkCancelAndOkGoesOn) {
  DialogSeen seen;
  LookAtDialogThenPress("Return", seen);  // Return presses the default button
  RaiseFromHandler("\"abc\" is an invalid integer");
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.title, "ZAZU - VED");
  EXPECT_EQ(seen.type, Gtk::MESSAGE_ERROR);
  EXPECT_EQ(seen.text,
            "\"abc\" is an invalid integer.\n\n"
            "Press OK to ignore and risk data corruption.\n"
            "Press Cancel to kill the program.");
  EXPECT_EQ(seen.buttons, 2);
  EXPECT_TRUE(seen.hasCancel);
  EXPECT_TRUE(seen.okIsDefault);
  // OK: back in the event loop, the window still there and working.
  Settle();
  EXPECT_TRUE(OpenMessageDialogs().empty());
  EXPECT_TRUE(form->Window().is_visible());
}

TEST_F(ErrorDialogTest, MessageEndingInAFullStopGetsNoSecond) {
  std::string text;
  Glib::signal_timeout().connect_once(
      [&text] {
        Gtk::MessageDialog& d = *OpenMessageDialogs().back();
        gchar* t = nullptr;
        g_object_get(d.gobj(), "text", &t, nullptr);
        text = t;
        g_free(t);
        d.response(Gtk::RESPONSE_OK);
      },
      200);
  RaiseFromHandler("Disk full.");
  EXPECT_EQ(text.substr(0, 12), "Disk full.\n\n");
}

using ErrorDialogDeathTest = ErrorDialogTest;

TEST_F(ErrorDialogDeathTest, CancelEscapeAndClosingEndTheProgramWithStatusZero) {
  struct Case {
    const char* how;
    Answer answer;
  };
  const Case cases[] = {
      {"Escape", [](Gtk::MessageDialog& d) { PressKey(d, "Escape"); }},
      {"Cancel's mnemonic", [](Gtk::MessageDialog& d) { PressKey(d, "alt+c"); }},
      {"Cancel clicked",
       [](Gtk::MessageDialog& d) {
         PointAt(*Glib::wrap(gtk_dialog_get_widget_for_response(GTK_DIALOG(d.gobj()), GTK_RESPONSE_CANCEL)));
         Xdotool({"click", "1"});
       }},
      {"the window manager's close", [](Gtk::MessageDialog& d) { SendCloseRequest(d); }},
  };
  for (const Case& c : cases) {
    EXPECT_EXIT(
        {
          AnswerDialog(c.answer);
          RaiseFromHandler("boom");
          std::exit(3);  // the handler returned: the program went on
        },
        ::testing::ExitedWithCode(0), "")
        << c.how;
  }
}

// Whoever started the program learns that it failed, and why.
TEST_F(ErrorDialogDeathTest, AnErrorWhileTheDialogIsOpenEndsTheProgramAtOnceAsFailed) {
  EXPECT_EXIT(
      {
        alarm(10);  // a second dialog would wait for ever
        Glib::signal_timeout().connect_once([] { RaiseFromHandler("second trouble"); }, 300);
        RaiseFromHandler("first trouble");
        std::exit(0);  // the handler returned: the program went on
      },
      [](int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; },
      "second trouble");
}

TEST_F(ErrorDialogDeathTest, AfterTheCloseRequestTheMessageGoesToStandardOutput) {
  EXPECT_EXIT(
      {
        alarm(10);  // a dialog would wait for ever
        dup2(2, 1);  // let the death test see standard output
        SendCloseRequest(form->Window());
        Settle();
        if (!App().Terminated()) std::exit(4);
        RaiseFromHandler("late trouble");
        std::exit(OpenMessageDialogs().empty() ? 0 : 5);
      },
      ::testing::ExitedWithCode(0), "late trouble");
}

}  // namespace
