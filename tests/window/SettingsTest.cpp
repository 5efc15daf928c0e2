// korva.ini seen from the window: what a close writes, what a start shows
// and which handlers it runs, and that ending from the error dialog writes
// nothing. Each test works in a fresh folder of its own; a "restart" is a
// new window made in the same folder.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>

#include "FileTesting.h"
#include "Indicators.h"
#include "WindowTesting.h"

using namespace testing_support;

namespace {

const std::string kStoredLayoutFile =
    "MYCALL-3\n5224.12N00823.12E\nMY TEXT max. 64 characters\n-\nAPRS,WIDE2-2\n50\n4\n0\n";

// Every "toggled" that reaches a bound handler, by control, and whether the
// window was still hidden for all of them. The layout's own checked state
// is set before any handler is bound, and is not counted.
struct ToggleLog {
  std::vector<std::string> names;
  bool allWhileHidden = true;
};

gboolean RecordToggle(GSignalInvocationHint* hint, guint, const GValue* values, gpointer data) {
  auto* log = static_cast<ToggleLog*>(data);
  auto* sender = static_cast<GtkWidget*>(g_value_get_object(&values[0]));
  const gchar* name = gtk_buildable_get_name(GTK_BUILDABLE(sender));
  if (!name || !g_signal_has_handler_pending(sender, hint->signal_id, 0, FALSE)) return TRUE;
  log->names.push_back(name);
  if (gtk_widget_get_visible(gtk_widget_get_toplevel(sender))) log->allWhileHidden = false;
  return TRUE;
}

// The class must exist before its signal can be looked up.
guint ToggledSignal() {
  static const gpointer kept = g_type_class_ref(GTK_TYPE_TOGGLE_BUTTON);
  static_cast<void>(kept);
  return g_signal_lookup("toggled", GTK_TYPE_TOGGLE_BUTTON);
}

class SettingsWindowTest : public ::testing::Test {
 protected:
  SettingsWindowTest()
      : toggled_(ToggledSignal()),
        hook_(g_signal_add_emission_hook(toggled_, 0, RecordToggle, &toggles, nullptr)) {}
  ~SettingsWindowTest() override { g_signal_remove_emission_hook(toggled_, hook_); }

  // A window made, read korva.ini and shown, as at start; the one before goes first.
  TForm1& Start() {
    form_.reset();
    toggles = {};
    form_.emplace();
    return **form_;
  }
  // What the window's close request runs, short of ending the event loop,
  // which in this process must go on for the next test.
  void Close() { (*form_)->FormClose(&(*form_)->Window()); }
  std::vector<std::string> StoredLines() { return Lines(ReadFile("korva.ini")); }
  uint32_t AnalogLamp() {
    int x = 0, y = 0;
    ScreenOrigin(*(*form_)->Shape2, x, y);
    return ScreenColour(x + 39 + 11, y + 72 + 11);
  }

  FreshFolder folder{CurrentTestName()};
  ToggleLog toggles;

 private:
  guint toggled_;
  gulong hook_;
  std::optional<ShownForm> form_;
};

TEST_F(SettingsWindowTest, EachIntervalIsStoredAsItsCodeAndCheckedAgainAtTheNextStart) {
  struct Case {
    Gtk::RadioButton* TForm1::*button;
    const char* code;
  };
  const Case cases[] = {{&TForm1::RadioButton3, "3"}, {&TForm1::RadioButton4, "4"},
                        {&TForm1::RadioButton5, "5"}, {&TForm1::RadioButton6, "6"},
                        {&TForm1::RadioButton7, "7"}, {&TForm1::RadioButton1, "1"}};
  for (const Case& c : cases) {
    (Start().*c.button)->set_active(true);
    Close();
    ASSERT_EQ(StoredLines().size(), 8u) << c.code;
    EXPECT_EQ(StoredLines()[6], c.code);
    TForm1& restarted = Start();
    EXPECT_TRUE((restarted.*c.button)->get_active()) << c.code;
  }
}

// The stored layout enables UpDown1 already; disabled by the test just
// before FormCreate reads the file, it can be enabled again only by
// CheckBox3Change, which a line 8 of "1" must run.
gboolean DisableUpDownBeforeFormCreate(GSignalInvocationHint*, guint, const GValue* values, gpointer) {
  auto* widget = static_cast<GtkWidget*>(g_value_get_object(&values[0]));
  if (Form1 && widget == GTK_WIDGET(Form1->Window().gobj()))
    gtk_widget_set_sensitive(GTK_WIDGET(Form1->UpDown1), FALSE);
  return TRUE;
}

// Emission hooks run before the handlers bound to the signal.
class UpDownDisabledBeforeFormCreate {
 public:
  UpDownDisabledBeforeFormCreate()
      : realize_(g_signal_lookup("realize", GTK_TYPE_WIDGET)),
        hook_(g_signal_add_emission_hook(realize_, 0, DisableUpDownBeforeFormCreate, nullptr,
                                         nullptr)) {}
  ~UpDownDisabledBeforeFormCreate() { g_signal_remove_emission_hook(realize_, hook_); }

 private:
  guint realize_;
  gulong hook_;
};

TEST_F(SettingsWindowTest, ThreshSurvivesARestartAndRunsItsHandlerOnlyWhenOn) {
  struct Case {
    bool thresh;
    const char* line8;
    std::vector<std::string> handlers;
    uint32_t lamp;
  };
  const Case cases[] = {{true, "1", {"CheckBox3"}, kGreen}, {false, "0", {}, kGrey}};
  for (const Case& c : cases) {
    Start().CheckBox3->set_active(c.thresh);
    Close();
    EXPECT_EQ(StoredLines().at(7), c.line8);
    UpDownDisabledBeforeFormCreate disabled;
    TForm1& restarted = Start();
    EXPECT_EQ(restarted.CheckBox3->get_active(), c.thresh) << c.line8;
    EXPECT_EQ(toggles.names, c.handlers) << c.line8;
    EXPECT_EQ(gtk_widget_is_sensitive(GTK_WIDGET(restarted.UpDown1)), c.thresh) << c.line8;
    EXPECT_EQ(AnalogLamp(), c.lamp) << c.line8;
  }
}

// Handlers run for changes only, old button's first, all before the window
// shows; a line that is not exactly a code or "1" changes nothing.
TEST_F(SettingsWindowTest, IntervalAndThreshLinesCountOnlyWhenExact) {
  struct Case {
    const char *line7, *line8;
    Gtk::RadioButton* TForm1::*checked;
    bool thresh;
    std::vector<std::string> handlers;
  };
  const Case cases[] = {
      {"3", "0", &TForm1::RadioButton3, false, {"RadioButton4", "RadioButton3"}},
      {"1", "1", &TForm1::RadioButton1, true, {"RadioButton4", "RadioButton1", "CheckBox3"}},
      {"4", "0", &TForm1::RadioButton4, false, {}},
      {"3 ", "1 ", &TForm1::RadioButton4, false, {}},
      {"03", "on", &TForm1::RadioButton4, false, {}},
      {"2", "yes", &TForm1::RadioButton4, false, {}},
      {"", "", &TForm1::RadioButton4, false, {}},
  };
  for (const Case& c : cases) {
    WriteFile("korva.ini", std::string("A\nB\nC\nD\nE\nF\n") + c.line7 + "\n" + c.line8 + "\n");
    TForm1& f = Start();
    const std::string where = std::string("line 7 \"") + c.line7 + "\", line 8 \"" + c.line8 + "\"";
    EXPECT_TRUE((f.*c.checked)->get_active()) << where;
    EXPECT_EQ(f.CheckBox3->get_active(), c.thresh) << where;
    EXPECT_EQ(toggles.names, c.handlers) << where;
    EXPECT_TRUE(toggles.allWhileHidden) << where;
  }
}

TEST_F(SettingsWindowTest, EntriesShowTheirLinesCutOnlyToTheirMaximumLength) {
  struct Case {
    const char* what;
    std::string content;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"values longer than three entries take",
       "CALL\nPOS\nTEXT\nXYZ\nAPRS,WIDE1-1,WIDE2-2\n1234\n4\n0\n",
       {"CALL", "POS", "TEXT", "X", "APRS,WIDE1-1,WID", "123"}},
      {"an empty file", "", {"", "", "", "", "", ""}},
      {"three lines", "A\nB\nC\n", {"A", "B", "C", "", "", ""}},
  };
  for (const Case& c : cases) {
    WriteFile("korva.ini", c.content);
    TForm1& f = Start();
    const std::vector<std::string> shown = {f.Edit1->get_text(), f.Edit2->get_text(),
                                            f.Edit3->get_text(), f.Edit4->get_text(),
                                            f.Edit5->get_text(), f.Edit6->get_text()};
    EXPECT_EQ(shown, c.shown) << c.what;
    EXPECT_TRUE(f.RadioButton4->get_active()) << c.what;
    EXPECT_FALSE(f.CheckBox3->get_active()) << c.what;
  }
}

TEST_F(SettingsWindowTest, BlanksAtBothEndsSurviveACloseAndARestart) {
  const std::string content = "  AB1CD-9 \n 5224.12N \n  MY TEXT  \n \n APRS,WIDE1 \n 2 \n5\n1\n";
  WriteFile("korva.ini", content);
  Start();
  Close();
  EXPECT_EQ(ReadFile("korva.ini"), content);
  TForm1& f = Start();
  EXPECT_EQ(f.Edit1->get_text(), "  AB1CD-9 ");
  EXPECT_EQ(f.Edit6->get_text(), " 2 ");
}

// However text comes into an entry, it stops at its first line break: the
// file keeps one value a line, and the other seven values stay where they
// are. (The layout's truncate-multiline covers pasting and dropping; the
// window covers the rest.)
TEST_F(SettingsWindowTest, NoEntryHoldsALineBreakHoweverTheTextComesIn) {
  using TEntry = Gtk::Entry* TForm1::*;
  struct Entry {
    TEntry entry;
    const char* text;
    std::string holds;
  };
  // Edit4 holds one character: only a break in front can reach it.
  const Entry entries[] = {{&TForm1::Edit1, "AB\nCD", "AB"}, {&TForm1::Edit2, "AB\nCD", "AB"},
                           {&TForm1::Edit3, "AB\nCD", "AB"}, {&TForm1::Edit4, "\nCD", ""},
                           {&TForm1::Edit5, "AB\nCD", "AB"}, {&TForm1::Edit6, "AB\nCD", "AB"}};
  struct Route {
    const char* what;
    void (*enter)(Gtk::Entry&, const char*);
  };
  const Route routes[] = {
      {"set by the program", [](Gtk::Entry& e, const char* text) { e.set_text(text); }},
      {"an input method's commit",
       [](Gtk::Entry& e, const char* text) {
         g_signal_emit_by_name(GTK_ENTRY(e.gobj())->im_context, "commit", text);
       }},
      {"pasted from the clipboard",
       [](Gtk::Entry& e, const char* text) {
         gtk_clipboard_set_text(gtk_widget_get_clipboard(GTK_WIDGET(e.gobj()), GDK_SELECTION_CLIPBOARD),
                                text, -1);
         g_signal_emit_by_name(e.gobj(), "paste-clipboard");
         Pump(100);
         Settle();
       }},
      {"inserted, then CR LF and a lone CR after it",
       [](Gtk::Entry& e, const char* text) {
         int position = 0;
         for (const char* more : {text, "\r\nEF", "\rGH"})
           gtk_editable_insert_text(GTK_EDITABLE(e.gobj()), more, -1, &position);
       }},
  };
  const std::vector<std::string> before = {"CALL-1", "POS", "TEXT", "/", "PATH", "25", "5", "1"};
  std::string file;
  for (const std::string& line : before) file += line + "\n";
  for (std::size_t index = 0; index < 6; ++index) {
    for (const Route& route : routes) {
      WriteFile("korva.ini", file);
      Gtk::Entry& entry = *(Start().*entries[index].entry);
      entry.set_text("");
      route.enter(entry, entries[index].text);
      const std::string where = "Edit" + std::to_string(index + 1) + ", " + route.what;
      EXPECT_EQ(entry.get_text(), entries[index].holds) << where;
      Close();
      std::vector<std::string> after = before;
      after[index] = entries[index].holds;
      EXPECT_EQ(StoredLines(), after) << where;
    }
  }
}

// What the toolkit writes to the standard error while `run` runs: its
// warnings, whichever way they are logged.
std::string StandardErrorDuring(const std::function<void()>& run) {
  std::fflush(stderr);
  const int kept = ::dup(2);
  const int capture = ::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ::dup2(capture, 2);
  run();
  std::fflush(stderr);
  ::dup2(kept, 2);
  ::close(kept);
  ::close(capture);
  const std::string written = ReadFile("stderr.txt");
  ::unlink("stderr.txt");
  return written;
}

TEST_F(SettingsWindowTest, BytesThatAreNotUtf8AndNulShowAsReplacementCharacters) {
  const std::string fffd = "\xEF\xBF\xBD";
  const char raw[] = "A\xFF" "B\0C\nPOS\n\xE2\x82 end\n\xFF\n";
  WriteFile("korva.ini", std::string(raw, sizeof raw - 1));
  TForm1* f = nullptr;
  EXPECT_EQ(StandardErrorDuring([&] { f = &Start(); }), "") << "the toolkit complained";
  EXPECT_EQ(f->Edit1->get_text(), "A" + fffd + "B" + fffd + "C");
  EXPECT_EQ(f->Edit2->get_text(), "POS");
  EXPECT_EQ(f->Edit3->get_text(), fffd + fffd + " end");
  EXPECT_EQ(f->Edit4->get_text(), fffd);
}

using SettingsWindowDeathTest = SettingsWindowTest;

// The real close request, in a process of its own: after it the event loop
// stays ended.
TEST_F(SettingsWindowDeathTest, TheCloseRequestWithNoFileWritesTheStoredLayoutsSeventySixBytes) {
  EXPECT_EXIT(
      {
        alarm(10);
        SendCloseRequest(Start().Window());
        Settle();
        std::exit(App().Terminated() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadFile("korva.ini"), kStoredLayoutFile);
}

TEST_F(SettingsWindowDeathTest, EndingFromTheErrorDialogWritesNothing) {
  const std::string before = "KEPT\nPOS\nTEXT\n/\nPATH\n9\n5\n0\n";
  for (const std::string& content : {before, std::string("<missing>")}) {
    if (content == "<missing>") ::unlink("korva.ini");
    else WriteFile("korva.ini", content);
    EXPECT_EXIT(
        {
          alarm(10);
          Start().Edit1->set_text("CHANGED");
          Glib::signal_timeout().connect_once(
              [] { OpenMessageDialogs().back()->response(Gtk::RESPONSE_CANCEL); }, 200);
          try {
            throw std::runtime_error("\"abc\" is an invalid integer");
          } catch (...) {
            Glib::exception_handlers_invoke();
          }
          std::exit(3);  // Cancel did not end the program
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile("korva.ini"), content);
  }
}

}  // namespace
