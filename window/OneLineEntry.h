#pragma once
// An entry that never holds a line break. The layout's truncate-multiline
// cuts what is pasted or dropped; this cuts the rest (an input method's
// commit, text the program sets) the same way, at the first LF or CR.

#include <gtkmm/entry.h>

void KeepOnOneLine(Gtk::Entry& entry);
