#include "TCentredLabel.h"

struct TCentredLabel {
  GtkLabel parent;
};

struct TCentredLabelClass {
  GtkLabelClass parent_class;
};

G_DEFINE_TYPE(TCentredLabel, t_centred_label, GTK_TYPE_LABEL)

namespace {

// Where the origin of a line `lineWidth` wide goes, all in Pango units, so
// that its advance stands in the middle of a box `boxWidth` wide; negative
// when the line is wider than the box. Whole pixels keep the glyphs crisp.
int CentredLineOrigin(int boxWidth, const PangoRectangle& line) {
  return PANGO_PIXELS((boxWidth - line.width) / 2 - line.x);
}

gboolean t_centred_label_expose(GtkWidget* widget, GdkEventExpose* event) {
  GtkAllocation box;
  gtk_widget_get_allocation(widget, &box);
  PangoLayout* layout = gtk_label_get_layout(GTK_LABEL(widget));
  cairo_t* cr = gdk_cairo_create(event->window);
  gdk_cairo_region(cr, event->region);
  cairo_clip(cr);
  cairo_rectangle(cr, box.x, box.y, box.width, box.height);
  cairo_clip(cr);
  gdk_cairo_set_source_color(cr, &gtk_widget_get_style(widget)->fg[gtk_widget_get_state(widget)]);
  PangoLayoutIter* lines = pango_layout_get_iter(layout);
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(lines);
    PangoRectangle logical;
    pango_layout_line_get_extents(line, nullptr, &logical);
    cairo_move_to(cr, box.x + CentredLineOrigin(box.width * PANGO_SCALE, logical),
                  box.y + PANGO_PIXELS(pango_layout_iter_get_baseline(lines)));
    pango_cairo_show_layout_line(cr, line);
  } while (pango_layout_iter_next_line(lines));
  pango_layout_iter_free(lines);
  cairo_destroy(cr);
  return FALSE;
}

}  // namespace

static void t_centred_label_class_init(TCentredLabelClass* klass) {
  GTK_WIDGET_CLASS(klass)->expose_event = t_centred_label_expose;
}

static void t_centred_label_init(TCentredLabel*) {}
