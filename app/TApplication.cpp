#include "TApplication.h"

#include <gdkmm/screen.h>
#include <glibmm/exceptionhandler.h>
#include <gtkmm/messagedialog.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>

#include "ValidUtf8.h"

const char* const ApplicationTitle = "ZAZU - VED";

namespace {

std::string CurrentExceptionMessage() {
  try {
    throw;
  } catch (const Glib::Exception& e) {
    return e.what();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

// GTK 2 lets a focused entry's cursor blink for ever, which wakes the idle
// program about twice a second for as long as it runs; later GTK versions
// stop the blinking after 10 s without input. Take that unless the desktop
// or the user's gtkrc has chosen a time: an rc setting yields to both.
void StopCursorBlinkingWhenIdle() {
  constexpr int kGtk2NeverStops = G_MAXINT;
  int timeout = 0;
  g_object_get(gtk_settings_get_default(), "gtk-cursor-blink-timeout", &timeout, nullptr);
  if (timeout == kGtk2NeverStops) gtk_rc_parse_string("gtk-cursor-blink-timeout = 10\n");
}

}  // namespace

TApplication::TApplication(int& argc, char**& argv) : kit_(argc, argv) {
  Glib::add_exception_handler(sigc::mem_fun(*this, &TApplication::HandleException));
  StopCursorBlinkingWhenIdle();
}

TApplication::~TApplication() = default;

void TApplication::ShowMainWindow(Gtk::Window& window, Gtk::Widget& focus) {
  mainWindow_ = &window;
  Glib::RefPtr<Gdk::Screen> screen = window.get_screen();
  int width = 0, height = 0;
  window.get_default_size(width, height);
  window.set_gravity(Gdk::GRAVITY_NORTH_WEST);
  window.move((screen->get_width() - width) / 2, (screen->get_height() - height) / 2);
  focus.grab_focus();
  window.show();
}

void TApplication::Run() {
  if (!terminated_) kit_.run();
}

void TApplication::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  if (Gtk::Main::level() > 0) Gtk::Main::quit();
}

void TApplication::ProcessPendingEvents() {
  while (!terminated_ && Gtk::Main::events_pending()) Gtk::Main::iteration(false);
}

std::string TApplication::PrepareMessage(const std::string& message) {
  std::string prepared = ValidUtf8(message);
  if (!prepared.empty() && prepared.back() != '.') prepared += '.';
  return prepared;
}

std::string TApplication::ErrorDialogText(const std::string& prepared) {
  return prepared + "\n\n" + "Press OK to ignore and risk data corruption." + "\n" +
         "Press Cancel to kill the program.";
}

void TApplication::HandleException() {
  const std::string message = CurrentExceptionMessage();
  if (errorDialogShowing_) EndAtOnceFailing(message);
  if (terminated_) {
    std::cout << message << std::endl;
    return;
  }
  errorDialogShowing_ = true;
  const bool goOn = AskToGoOn(PrepareMessage(message));
  errorDialogShowing_ = false;
  if (!goOn) EndAtOnce(0);
}

bool TApplication::AskToGoOn(const std::string& message) {
  Gtk::MessageDialog dialog(ErrorDialogText(message), false, Gtk::MESSAGE_ERROR,
                            Gtk::BUTTONS_OK_CANCEL, true);
  dialog.set_title(ApplicationTitle);
  if (mainWindow_) dialog.set_transient_for(*mainWindow_);
  dialog.set_default_response(Gtk::RESPONSE_OK);
  // Escape and the window manager's close answer as Cancel does.
  return dialog.run() == Gtk::RESPONSE_OK;
}

// Cancel leaves as the user asked: no closing steps, no settings written,
// the port left as it is.
void TApplication::EndAtOnce(int status) {
  std::fflush(nullptr);
  _exit(status);
}

// An error while the dialog reports another cannot be shown, and the program
// cannot trust itself to go on; whoever started it must learn that it failed
// and why.
void TApplication::EndAtOnceFailing(const std::string& message) {
  std::cerr << message << std::endl;
  EndAtOnce(1);
}
