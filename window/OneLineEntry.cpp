#include "OneLineEntry.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

// Every way text enters an entry passes "insert-text": what reaches the
// entry's own handler is only the text before the first line break.
void InsertFirstLineOnly(GtkEditable* entry, gchar* text, gint length, gint* position, gpointer) {
  const gchar* end = text + (length < 0 ? std::strlen(text) : static_cast<std::size_t>(length));
  const gchar* lineBreak = std::find_if(static_cast<const gchar*>(text), end, IsLineBreak);
  if (lineBreak == end) return;
  g_signal_handlers_block_by_func(entry, reinterpret_cast<gpointer>(InsertFirstLineOnly), nullptr);
  gtk_editable_insert_text(entry, text, static_cast<gint>(lineBreak - text), position);
  g_signal_handlers_unblock_by_func(entry, reinterpret_cast<gpointer>(InsertFirstLineOnly), nullptr);
  g_signal_stop_emission_by_name(entry, "insert-text");
}

}  // namespace

void KeepOnOneLine(Gtk::Entry& entry) {
  g_signal_connect(entry.gobj(), "insert-text", G_CALLBACK(InsertFirstLineOnly), nullptr);
}
