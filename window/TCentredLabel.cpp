#include "TCentredLabel.h"

struct TCentredLabel {
  GtkLabel parent;
};

struct TCentredLabelClass {
  GtkLabelClass parent_class;
};

G_DEFINE_TYPE(TCentredLabel, t_centred_label, GTK_TYPE_LABEL)

namespace {

// Where a line's origin goes, in whole pixels from the box's left edge (whole
// pixels keep the glyphs crisp), so that the line's advance `line` stands in
// the middle of a box `boxWidth` wide, both in Pango units. Negative for a
// line wider than the box, which then loses as much on the left as on the
// right.
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
