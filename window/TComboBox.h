#pragma once
// The port box: a drop-down list of rows with a text field that accepts
// typing. Beyond its toolkit's box it
// - is one stop of the window's tab order, in its text field, both ways:
//   the arrow that opens the list takes no focus;
// - draws the rows of its list in the font of its text field;
// - reports every pick of a row with "changed", a pick of the row picked
//   before included. The toolkit reports only a change of the active row,
//   so once a pick's "changed" has reached its handlers the box lets go of
//   the row, unheard by them, and the text field keeps the row's text.
//   "changed" with an active row is a pick, without one an edit of the
//   text. Handlers connected "after" run once the row is let go.

#include <gtk/gtk.h>

G_BEGIN_DECLS

#define T_TYPE_COMBO_BOX (t_combo_box_get_type())
GType t_combo_box_get_type(void);

G_END_DECLS
