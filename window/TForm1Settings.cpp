// The window's side of korva.ini: which control each line fills, and how.

#include "IntervalButtons.h"
#include "OneLineEntry.h"
#include "TForm1.h"
#include "ValidUtf8.h"

namespace {

using TEntryMember = Gtk::Entry* TForm1::*;

// The entries of the file's first six lines, in line order.
constexpr TEntryMember kStoredEntries[] = {&TForm1::Edit1, &TForm1::Edit2, &TForm1::Edit3,
                                           &TForm1::Edit4, &TForm1::Edit5, &TForm1::Edit6};
constexpr std::size_t kIntervalLine = 6, kThresholdLine = 7;

}  // namespace

// The file holds one value a line: a line break in an entry would end its
// value there and shift every value after it.
void TForm1::KeepStoredEntriesOnOneLine() {
  for (TEntryMember entry : kStoredEntries) KeepOnOneLine(*(this->*entry));
}

// Runs before the window is first shown. Checking a button runs the change
// handlers of the button switched off and of the one switched on; setting a
// state a control already has runs none.
void TForm1::LoadSettings() {
  TSettings settings;
  ShowSettings(settings, settings.Read(TSettings::kFileName));
}

// Only the first `lines` values were read; the other controls keep what
// the layout gave them.
void TForm1::ShowSettings(const TSettings& settings, std::size_t lines) {
  for (std::size_t line = 0; line < lines && line < kIntervalLine; ++line)
    // The entries take only UTF-8; those with a maximum length cut the rest.
    (this->*kStoredEntries[line])->set_text(ValidUtf8(settings.Line(line)));
  // A stored interval code must be one button's code exactly.
  if (lines > kIntervalLine)
    for (const TIntervalButton& interval : kIntervalButtons)
      if (settings.IntervalCode == interval.code) (this->*interval.button)->set_active(true);
  if (lines > kThresholdLine) CheckBox3->set_active(settings.Threshold == "1");
}

// Written at every close, changed or not; a file that cannot be written
// keeps what it had, and the window closes all the same.
void TForm1::StoreSettings() { CurrentSettings().Write(TSettings::kFileName); }

TSettings TForm1::CurrentSettings() const {
  TSettings settings;
  for (std::size_t line = 0; line < kIntervalLine; ++line)
    settings.Line(line) = (this->*kStoredEntries[line])->get_text();
  for (const TIntervalButton& interval : kIntervalButtons)
    if ((this->*interval.button)->get_active()) settings.IntervalCode = interval.code;
  settings.Threshold = CheckBox3->get_active() ? "1" : "0";
  return settings;
}
