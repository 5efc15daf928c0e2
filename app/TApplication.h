#pragma once
// The program's life from the toolkit's start to its end: the event loop,
// the one operation that processes the window events already waiting, and
// the general error handler that every exception leaving a handler reaches.

#include <gtkmm/main.h>
#include <gtkmm/window.h>

#include <string>

// The application title; the user sees it only on the error dialog.
extern const char* const ApplicationTitle;

class TApplication {
 public:
  // Initialises the toolkit with the command line; without a display the
  // toolkit ends the program with its own message.
  TApplication(int& argc, char**& argv);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;
  ~TApplication();

  // Shows `window` as the main window with its top-left corner centred on
  // the screen and `focus` holding the keyboard focus.
  void ShowMainWindow(Gtk::Window& window, Gtk::Widget& focus);
  // Runs the event loop until Terminate.
  void Run();
  // The close request has been handled: the loop stops after this pass.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Handles every window event that is waiting now and returns without
  // waiting for more; a handler whose event was waiting runs nested in it.
  void ProcessPendingEvents();

  // The general error handler; call it inside a catch block. It shows the
  // error dialog, or prints the message once the program is ending. It ends
  // the process at once on Cancel (status 0) and on an error during the
  // dialog (its message on standard error, status 1).
  void HandleException();

  // The message as the dialog shows it: valid UTF-8, ending in ".".
  static std::string PrepareMessage(const std::string& message);
  // The whole text of the error dialog for a prepared message.
  static std::string ErrorDialogText(const std::string& prepared);

 private:
  [[noreturn]] static void EndAtOnce(int status);
  [[noreturn]] static void EndAtOnceFailing(const std::string& message);
  bool AskToGoOn(const std::string& message);

  Gtk::Main kit_;
  Gtk::Window* mainWindow_ = nullptr;
  bool terminated_ = false;
  bool errorDialogShowing_ = false;
};
