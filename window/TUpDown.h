#pragma once
// The up-down control: two arrow buttons, one above the other, stepping an
// adjustment by its step increment without wrapping. Every step, one that
// hits an end included, emits "click" with TRUE for the upper arrow. Holding
// an arrow repeats the step at a growing pace while the arrow shows pressed;
// the repeat ends for good once it does not: the button released anywhere,
// the pointer gone off the arrow, a grab taken by another window. Losing the
// window's focus, being hidden and turning insensitive end it too.

#include <gtk/gtk.h>

G_BEGIN_DECLS

#define T_TYPE_UP_DOWN (t_up_down_get_type())
#define T_UP_DOWN(obj) (G_TYPE_CHECK_INSTANCE_CAST((obj), T_TYPE_UP_DOWN, TUpDown))

typedef struct _TUpDown TUpDown;

GType t_up_down_get_type(void);
GtkAdjustment* t_up_down_get_adjustment(TUpDown* self);
// One step as a click on an arrow makes it; does nothing while insensitive.
void t_up_down_step(TUpDown* self, gboolean up);

G_END_DECLS
