#include "TShape.h"

struct TShape {
  GtkDrawingArea parent;
};

struct TShapeClass {
  GtkDrawingAreaClass parent_class;
};

G_DEFINE_TYPE(TShape, t_shape, GTK_TYPE_DRAWING_AREA)

// Placeholder until the panels draw their rounded outline: a flat fill in
// the panel colour over the panel's rectangle.
static gboolean t_shape_expose(GtkWidget* widget, GdkEventExpose* event) {
  GtkAllocation box;
  gtk_widget_get_allocation(widget, &box);
  cairo_t* cr = gdk_cairo_create(gtk_widget_get_window(widget));
  gdk_cairo_region(cr, event->region);
  cairo_clip(cr);
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  cairo_set_source_rgb(cr, 0x38 / 255.0, 0x47 / 255.0, 0x3F / 255.0);
  cairo_fill(cr);
  cairo_destroy(cr);
  return FALSE;
}

static void t_shape_class_init(TShapeClass* klass) {
  GTK_WIDGET_CLASS(klass)->expose_event = t_shape_expose;
}

static void t_shape_init(TShape* self) {
  gtk_widget_set_has_window(GTK_WIDGET(self), FALSE);
}
