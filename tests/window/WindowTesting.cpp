#include "WindowTesting.h"

#include <gtest/gtest.h>
// After gtest: X11's macros (None, Success, ...) would clash with it.
#include <gdk/gdkx.h>
#include <gdkmm/pixbuf.h>
#include <gtkmm/menu.h>
#include <glibmm/spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdlib>

#include "CloseRequest.h"

namespace testing_support {

namespace {
TApplication* application = nullptr;
}

TApplication& App() { return *application; }

void Pump(int ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < until) {
    while (Gtk::Main::events_pending()) Gtk::Main::iteration(false);
    g_usleep(2000);
  }
}

void Settle() {
  for (int round = 0; round < 5; ++round) {
    gdk_flush();
    XSync(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), False);
    Pump(20);
  }
}

long ScreenDotsPerInch() {
  Glib::RefPtr<Gdk::Screen> screen = Gdk::Screen::get_default();
  return std::lround(screen->get_height() * 25.4 / screen->get_height_mm());
}

uint32_t ScreenColour(int x, int y) {
  Glib::RefPtr<Gdk::Pixbuf> pixel = Gdk::Pixbuf::create(
      Glib::RefPtr<Gdk::Drawable>(Gdk::Window::get_default_root_window()),
      Gdk::Colormap::get_system(), x, y, 0, 0, 1, 1);
  const guint8* rgb = pixel->get_pixels();
  return rgb[0] | (rgb[1] << 8) | (rgb[2] << 16);
}

ScreenArea::ScreenArea(int x, int y, int width, int height)
    : left_(x), top_(y), width_(width), height_(height), colours_(width * height) {
  Glib::RefPtr<Gdk::Pixbuf> pixels = Gdk::Pixbuf::create(
      Glib::RefPtr<Gdk::Drawable>(Gdk::Window::get_default_root_window()),
      Gdk::Colormap::get_system(), x, y, 0, 0, width, height);
  const int stride = pixels->get_rowstride(), channels = pixels->get_n_channels();
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width; ++column) {
      const guint8* rgb = pixels->get_pixels() + row * stride + column * channels;
      colours_[row * width + column] = rgb[0] | (rgb[1] << 8) | (rgb[2] << 16);
    }
}

uint32_t ScreenArea::At(int x, int y) const {
  return colours_.at((y - top_) * width_ + (x - left_));
}

ScreenArea AreaOf(Gtk::Widget& widget) {
  int x = 0, y = 0;
  ScreenOrigin(widget, x, y);
  const Gtk::Allocation box = widget.get_allocation();
  return ScreenArea(x, y, box.get_width(), box.get_height());
}

void ScreenOrigin(Gtk::Widget& widget, int& x, int& y) {
  Gtk::Widget* top = widget.get_toplevel();
  int wx = 0, wy = 0;
  widget.translate_coordinates(*top, 0, 0, wx, wy);
  top->get_window()->get_origin(x, y);
  x += wx;
  y += wy;
}

std::string SaveScreenshot(const std::string& name, int x, int y, int width, int height) {
  const char* folder = std::getenv("KORVA_TEST_OUTPUT");
  const std::string path = std::string(folder ? folder : ".") + "/" + name + "-" +
                           std::to_string(ScreenDotsPerInch()) + "dpi.png";
  Gdk::Pixbuf::create(Glib::RefPtr<Gdk::Drawable>(Gdk::Window::get_default_root_window()),
                      Gdk::Colormap::get_system(), x, y, 0, 0, width, height)
      ->save(path, "png");
  return path;
}

bool MotifHints(Gtk::Window& window, unsigned long& functions, unsigned long& decorations) {
  Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
  Atom hints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  Atom type;
  int format;
  unsigned long count = 0, rest = 0;
  unsigned char* data = nullptr;
  // flags, functions, decorations, input mode, status
  if (XGetWindowProperty(display, GDK_WINDOW_XID(window.get_window()->gobj()), hints, 0, 5, False,
                         AnyPropertyType, &type, &format, &count, &rest, &data) != Success ||
      count < 3) {
    if (data) XFree(data);
    return false;
  }
  const auto* words = reinterpret_cast<unsigned long*>(data);
  functions = words[1];
  decorations = words[2];
  XFree(data);
  return true;
}

void SendCloseRequest(unsigned long xWindow) {
  ::SendCloseRequest(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), xWindow);
}

void SendCloseRequest(Gtk::Window& window) {
  SendCloseRequest(GDK_WINDOW_XID(window.get_window()->gobj()));
}

std::vector<Gtk::MessageDialog*> OpenMessageDialogs() {
  std::vector<Gtk::MessageDialog*> dialogs;
  for (Gtk::Window* window : Gtk::Window::list_toplevels())
    if (auto* dialog = dynamic_cast<Gtk::MessageDialog*>(window))
      if (dialog->is_visible()) dialogs.push_back(dialog);
  return dialogs;
}

namespace {

void Record(Gtk::MessageDialog& d, DialogSeen& seen) {
  seen.shown = true;
  seen.title = d.get_title();
  gchar* text = nullptr;
  GtkMessageType type;
  g_object_get(d.gobj(), "text", &text, "message-type", &type, nullptr);
  seen.text = text ? text : "";
  g_free(text);
  seen.type = static_cast<Gtk::MessageType>(type);
  seen.buttons = static_cast<int>(d.get_action_area()->get_children().size());
  GtkWidget* ok = gtk_dialog_get_widget_for_response(GTK_DIALOG(d.gobj()), GTK_RESPONSE_OK);
  seen.okIsDefault = ok && gtk_widget_has_default(ok);
  seen.hasCancel = gtk_dialog_get_widget_for_response(GTK_DIALOG(d.gobj()), GTK_RESPONSE_CANCEL);
}

}  // namespace

void LookAtDialogThenPress(const std::string& key, DialogSeen& seen) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  Glib::signal_timeout().connect(
      [&seen, key, until] {
        auto dialogs = OpenMessageDialogs();
        if (dialogs.empty()) return std::chrono::steady_clock::now() < until;
        EXPECT_EQ(dialogs.size(), 1u);
        Gtk::MessageDialog& d = *dialogs.back();
        Settle();
        Record(d, seen);
        PointAt(d);
        Xdotool({"key", key});
        return false;
      },
      50);
}

void Xdotool(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args.begin(), args.end());
  Glib::Pid pid;
  Glib::spawn_async("", argv, Glib::SPAWN_SEARCH_PATH | Glib::SPAWN_DO_NOT_REAP_CHILD,
                    sigc::slot<void>(), &pid);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) Pump(5);
  Glib::spawn_close_pid(pid);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "xdotool failed";
  Settle();
}

void PointAt(Gtk::Widget& widget, int dx, int dy) {
  int x = 0, y = 0;
  ScreenOrigin(widget, x, y);
  const Gtk::Allocation box = widget.get_allocation();
  Xdotool({"mousemove", std::to_string(x + box.get_width() / 2 + dx),
           std::to_string(y + box.get_height() / 2 + dy)});
}

namespace {

// The combo box's menu of rows, while it is popped up.
Gtk::Menu* OpenRowMenu() {
  for (Gtk::Window* window : Gtk::Window::list_toplevels())
    if (window->is_visible())
      if (auto* menu = dynamic_cast<Gtk::Menu*>(window->get_child())) return menu;
  return nullptr;
}

}  // namespace

void PickPortRow(TForm1& form, int row) {
  Gtk::ComboBoxEntry& box = *form.ComboBox1;
  PointAt(box, box.get_allocation().get_width() / 2 - 8);
  Xdotool({"click", "1"});
  Gtk::Menu* menu = OpenRowMenu();
  ASSERT_NE(menu, nullptr) << "no menu of rows";
  std::vector<Gtk::Widget*> items = menu->get_children();
  ASSERT_EQ(items.size(), 7u);
  PointAt(*items[row]);
  Xdotool({"click", "1"});
  ASSERT_EQ(OpenRowMenu(), nullptr) << "the menu is still up";
}

ShownForm::ShownForm() : form_(TForm1::Create(App())) {
  App().ShowMainWindow(form_->Window(), form_->FirstFocus());
  Settle();
}

ShownForm::~ShownForm() {
  form_.reset();
  Settle();
}

}  // namespace testing_support

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Each death test starts this program afresh, with its own display
  // connection, instead of forking one that is in use.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  static TApplication application(argc, argv);
  testing_support::application = &application;
  return RUN_ALL_TESTS();
}
