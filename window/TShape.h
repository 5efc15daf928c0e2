#pragma once
// The window's rounded panels. A TShape has no X window of its own: it paints
// on its parent's surface, in its place among the parent's children, so the
// panels and the labels over them are painted in the layout's order and the
// toolkit widgets stay above both. Its own expose handler paints the panel;
// handlers connected "after" in the layout paint on top of it.

#include <gtk/gtk.h>

G_BEGIN_DECLS

#define T_TYPE_SHAPE (t_shape_get_type())
GType t_shape_get_type(void);

G_END_DECLS
