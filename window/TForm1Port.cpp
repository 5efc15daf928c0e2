// The port box ComboBox1, the status line's report of the port, and the
// guard every command passes first.

#include <gtkmm/liststore.h>
#include <gtkmm/messagedialog.h>

#include <stdexcept>

#include "PortErrorText.h"
#include "PortList.h"
#include "SerialPorts.h"
#include "TForm1.h"
#include "Theme.h"

namespace {

Glib::RefPtr<Gtk::ListStore> PortRows(Gtk::ComboBoxEntry& box) {
  auto rows = Glib::RefPtr<Gtk::ListStore>::cast_dynamic(box.get_model());
  if (!rows || static_cast<int>(rows->children().size()) != kPortRowCount)
    throw std::logic_error("the layout's port box does not hold the port list's rows");
  return rows;
}

void ShowMessageBox(Gtk::Window& owner, const Glib::ustring& text, const Glib::ustring& title) {
  Gtk::MessageDialog box(owner, text, false, Gtk::MESSAGE_OTHER, Gtk::BUTTONS_OK, true);
  box.set_title(title);
  box.run();
}

}  // namespace

void TForm1::FillPortList() {
  const std::vector<std::string> texts = PortListTexts();
  for (int row = 0; row < kPortRowCount; ++row) SetPortRowText(row, texts[row]);
}

void TForm1::SetPortRowText(int row, const std::string& text) {
  Gtk::TreeRow entry = PortRows(*ComboBox1)->children()[row];
  entry.set_value(0, Glib::ustring(text));
}

// The box reports a change once for every pick of a row, the row picked
// before included (the row is active then), and once for every edit of its
// text field (no row is active then).
void TForm1::ComboBox1Change(Gtk::Widget*) {
  PortState.Close();
  SetPortRowText(0, "");
  const int row = ComboBox1->get_active_row_number();
  if (row < 0)
    throw std::runtime_error("Pick a row of the COM-PORT list: a typed port name is not used");
  OpenTrackerPort(PortRowDevice(row));
}

void TForm1::OpenTrackerPort(const std::string& device) {
  const int failure = PortState.Open(device);
  ShowPortStatus(failure == 0 ? device : PortErrorText(device, failure));
}

void TForm1::ShowPortStatus(const std::string& text) {
  Label4->set_text(text);
  Label4->modify_fg(Gtk::STATE_NORMAL, ColourFromBgr(kWhite));
}

bool TForm1::NoPortGuard(bool listPortsFirst) {
  if (PortState.IsOpen()) return false;
  if (listPortsFirst) Label4->set_text("Verfügbare Ports: " + ListSerialPorts());
  ShowMessageBox(*window_, "Select a COM-Port.", "ERROR");
  return true;
}
