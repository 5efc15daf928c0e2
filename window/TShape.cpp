#include "TShape.h"

#include "PanelPainting.h"
#include "PanelSurface.h"

struct TShape {
  GtkDrawingArea parent;
};

struct TShapeClass {
  GtkDrawingAreaClass parent_class;
};

G_DEFINE_TYPE(TShape, t_shape, GTK_TYPE_DRAWING_AREA)

static gboolean t_shape_expose(GtkWidget* widget, GdkEventExpose* event) {
  DrawOnPanel(widget, [](TCanvas& canvas, int width, int height) { PaintPanel(canvas, width, height); },
              event->region);
  return FALSE;
}

static void t_shape_class_init(TShapeClass* klass) {
  GTK_WIDGET_CLASS(klass)->expose_event = t_shape_expose;
}

static void t_shape_init(TShape* self) {
  gtk_widget_set_has_window(GTK_WIDGET(self), FALSE);
}
