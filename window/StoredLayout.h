#pragma once
// Loading the stored window layout and applying what the toolkit's own
// builder cannot: fonts and colours from the "Appearance" table and the tab
// order from the "TabOrder" table.

#include <gtkmm/builder.h>
#include <gtkmm/window.h>

#include <stdexcept>

// The layout stored for the window class `className`; throws
// std::invalid_argument when none is.
Glib::RefPtr<Gtk::Builder> LoadStoredLayout(const std::string& className);

// Sets `control` to the layout's control of that name and type; throws
// std::invalid_argument when the layout has none.
template <class T>
void FindControl(const Glib::RefPtr<Gtk::Builder>& layout, const Glib::ustring& name, T*& control) {
  layout->get_widget(name, control);
  if (!control) throw std::invalid_argument("the layout has no control " + name);
}

// Fonts and colours of every control the "Appearance" table names, with the
// theme of top-level windows on `window`'s screen; `window` itself need not
// be realised (and is not, before FormCreate).
void ApplyAppearance(const Glib::RefPtr<Gtk::Builder>& layout, Gtk::Window& window);

// The focus chain of the window's client area, in "TabOrder" order.
void ApplyTabOrder(const Glib::RefPtr<Gtk::Builder>& layout, Gtk::Container& client);
