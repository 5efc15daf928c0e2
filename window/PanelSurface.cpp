#include "PanelSurface.h"

TPanelSize PanelSize(Gtk::Widget& panel) {
  const Gtk::Allocation box = panel.get_allocation();
  if (panel.get_realized()) return {box.get_width(), box.get_height()};
  int width = 0, height = 0;
  panel.get_size_request(width, height);
  return {width, height};
}

void DrawOnPanel(GtkWidget* panel, const std::function<void(TCanvas&, int, int)>& draw,
                 const GdkRegion* region) {
  GdkWindow* surface = gtk_widget_get_window(panel);
  if (!gtk_widget_get_realized(panel) || !surface) return;
  GtkAllocation box;
  gtk_widget_get_allocation(panel, &box);
  cairo_t* cr = gdk_cairo_create(surface);
  if (region) {
    gdk_cairo_region(cr, region);
    cairo_clip(cr);
  }
  {
    TCanvas canvas(cr, box.x, box.y, box.width, box.height);
    draw(canvas, box.width, box.height);
  }
  cairo_destroy(cr);
  // Drawn outside a repaint, the lamp must reach the screen now, not when
  // the handler that drew it has finished its pauses.
  if (!region) gdk_display_flush(gtk_widget_get_display(panel));
}

void DrawOnPanel(Gtk::Widget& panel, const std::function<void(TCanvas&, int, int)>& draw,
                 const GdkRegion* region) {
  DrawOnPanel(panel.gobj(), draw, region);
}
