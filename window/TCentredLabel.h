#pragma once
// A label with a fixed box that centres each line of its text in that box,
// blanks included, from the box's top down. A line wider than the box is
// centred all the same and cut equally at both edges. (GTK's own label
// centres its lines on each other and, when the text is wider than the
// box, starts it at the box's left edge.) Any background is its parent's
// business: the label draws only its text, in its foreground colour.

#include <gtk/gtk.h>

G_BEGIN_DECLS

#define T_TYPE_CENTRED_LABEL (t_centred_label_get_type())
GType t_centred_label_get_type(void);

G_END_DECLS
