#pragma once
// Connects the handlers the stored layout names to the members of TForm1.
// A name the layout uses for no member, or for an event of another kind,
// is a fault of the layout and throws std::invalid_argument.

#include <gtkmm/builder.h>

class TForm1;

void BindHandlers(const Glib::RefPtr<Gtk::Builder>& layout, TForm1& form);
