// The start-up and memory baseline: the least a gtkmm-2.4 program can be
// that shows a window of KORVA's size with one label in it.
//
// It takes KORVA's caption, and its label paints a grey patch where KORVA's
// Write Conf. lamp stands, so the benchmark sees its first paint exactly as
// it sees KORVA's: the caption finds the window, the grey pixel tells that
// it has been painted.
#include <gtkmm/fixed.h>
#include <gtkmm/label.h>
#include <gtkmm/main.h>
#include <gtkmm/window.h>

int main(int argc, char** argv) {
  Gtk::Main kit(argc, argv);
  Gtk::Window window;
  window.set_title("KORVA");
  window.set_default_size(387, 368);
  Gtk::Fixed fixed;
  Gtk::Label label;
  label.set_markup("<span background=\"#808080\" font=\"20px\">      </span>");
  fixed.put(label, 130, 146);
  window.add(fixed);
  window.show_all();
  Gtk::Main::run(window);
  return 0;
}
