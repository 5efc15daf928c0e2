#include "StoredLayout.h"

#include <gtkmm/bin.h>
#include <gtkmm/button.h>
#include <gtkmm/comboboxentry.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventbox.h>
#include <gtkmm/frame.h>
#include <gtkmm/label.h>
#include <gtkmm/liststore.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "TCentredLabel.h"
#include "TComboBox.h"
#include "TShape.h"
#include "TUpDown.h"
#include "Theme.h"

extern const char* const kForm1Layout;

namespace {

struct TAppearance {
  bool parentFont = false;
  Pango::FontDescription font;
  std::optional<Gdk::Color> text;
  std::optional<Gdk::Color> background;
};

Glib::RefPtr<Gtk::ListStore> Table(const Glib::RefPtr<Gtk::Builder>& layout, const char* name) {
  auto table = Glib::RefPtr<Gtk::ListStore>::cast_dynamic(layout->get_object(name));
  if (!table) throw std::invalid_argument(std::string("the layout has no table ") + name);
  return table;
}

template <class T>
T Cell(const Gtk::TreeRow& row, int column) {
  T value{};
  row.get_value(column, value);
  return value;
}

Gtk::Widget& Control(const Glib::RefPtr<Gtk::Builder>& layout, const Glib::ustring& name) {
  Gtk::Widget* widget = nullptr;
  FindControl(layout, name, widget);
  return *widget;
}

// The states in which a control shows its caption and face.
const Gtk::StateType kShownStates[] = {Gtk::STATE_NORMAL, Gtk::STATE_PRELIGHT, Gtk::STATE_ACTIVE};

void StyleCaption(Gtk::Widget& caption, const TAppearance& look) {
  caption.modify_font(look.font);
  if (look.text)
    for (auto state : kShownStates) caption.modify_fg(state, *look.text);
}

void StyleEntry(Gtk::Entry& entry, const TAppearance& look) {
  entry.modify_font(look.font);
  if (look.text) entry.modify_text(Gtk::STATE_NORMAL, *look.text);
  if (look.background) entry.modify_base(Gtk::STATE_NORMAL, *look.background);
}

void Style(Gtk::Widget& widget, const TAppearance& look) {
  if (auto* entry = dynamic_cast<Gtk::Entry*>(&widget)) {
    StyleEntry(*entry, look);
  } else if (auto* combo = dynamic_cast<Gtk::ComboBoxEntry*>(&widget)) {
    StyleEntry(*combo->get_entry(), look);
  } else if (auto* frame = dynamic_cast<Gtk::Frame*>(&widget)) {
    if (Gtk::Widget* caption = frame->get_label_widget()) StyleCaption(*caption, look);
  } else if (auto* button = dynamic_cast<Gtk::Button*>(&widget)) {
    if (Gtk::Widget* caption = button->get_child()) StyleCaption(*caption, look);
    if (look.background)
      for (auto state : kShownStates) button->modify_bg(state, *look.background);
  } else if (dynamic_cast<Gtk::Label*>(&widget)) {
    StyleCaption(widget, look);
  } else if (look.background) {
    widget.modify_bg(Gtk::STATE_NORMAL, *look.background);
  }
}

}  // namespace

Glib::RefPtr<Gtk::Builder> LoadStoredLayout(const std::string& className) {
  static const std::map<std::string, const char*> stored = {{"TForm1", kForm1Layout}};
  auto found = stored.find(className);
  if (found == stored.end()) throw std::invalid_argument("no stored layout for " + className);
  // The layout names our own control classes; they must be known first.
  g_type_ensure(T_TYPE_SHAPE);
  g_type_ensure(T_TYPE_CENTRED_LABEL);
  g_type_ensure(T_TYPE_UP_DOWN);
  g_type_ensure(T_TYPE_COMBO_BOX);
  return Gtk::Builder::create_from_string(found->second);
}

void ApplyAppearance(const Glib::RefPtr<Gtk::Builder>& layout, Gtk::Window& window) {
  const TTheme theme(window.get_screen());
  TAppearance windowLook;
  for (const Gtk::TreeRow& row : Table(layout, "Appearance")->children()) {
    const auto name = Cell<Glib::ustring>(row, 0);
    TAppearance look;
    look.parentFont = Cell<bool>(row, 1);
    look.font = theme.Font(Cell<Glib::ustring>(row, 2), Cell<int>(row, 3), Cell<bool>(row, 4));
    look.text = theme.Colour(Cell<Glib::ustring>(row, 5));
    look.background = theme.Colour(Cell<Glib::ustring>(row, 6));
    if (look.parentFont) {
      look.font = windowLook.font;
      look.text = windowLook.text;
    }
    Gtk::Widget& control = Control(layout, name);
    if (&control == &window) {
      // The window's own font is what "takes the window's font" refers to;
      // the window itself shows only its background.
      windowLook = look;
      if (look.background) window.modify_bg(Gtk::STATE_NORMAL, *look.background);
    } else {
      Style(control, look);
    }
  }
}

void ApplyTabOrder(const Glib::RefPtr<Gtk::Builder>& layout, Gtk::Container& client) {
  std::multimap<int, Gtk::Widget*> ordered;
  for (const Gtk::TreeRow& row : Table(layout, "TabOrder")->children())
    ordered.emplace(Cell<int>(row, 1), &Control(layout, Cell<Glib::ustring>(row, 0)));
  std::vector<Gtk::Widget*> chain;
  for (const auto& entry : ordered) chain.push_back(entry.second);
  client.set_focus_chain(chain);
}
