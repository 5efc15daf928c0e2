#pragma once
// Connects the handlers the stored layout names to the members of TForm1.
// A name the layout uses for no member, or for an event of another kind,
// is a fault of the layout and throws std::invalid_argument.

#include <gtkmm/builder.h>

#include <functional>

class TForm1;

void BindHandlers(const Glib::RefPtr<Gtk::Builder>& layout, TForm1& form);

// Runs `change` on `control` while the form's handlers bound to it are held
// back, for a change the window makes itself and must not answer.
void WithoutFormHandlers(Gtk::Widget& control, TForm1& form, const std::function<void()>& change);
