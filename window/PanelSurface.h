#pragma once
// Drawing onto a panel's pixels in the window, from its repaint or at once
// from any handler: the panels have no X window of their own, so this draws
// on the window's surface, translated to the panel and clipped to it.

#include <gtkmm/widget.h>

#include <functional>

#include "TCanvas.h"

struct TPanelSize {
  int width, height;
};

// The panel's current size: as laid out once the window has been, as the
// layout asks for before.
TPanelSize PanelSize(Gtk::Widget& panel);

// Runs `draw` with a canvas in the panel's own coordinates. Inside a repaint
// `region` limits it to what is being redrawn. Draws nothing while the panel
// has no surface yet (before the window is first shown).
void DrawOnPanel(Gtk::Widget& panel, const std::function<void(TCanvas&, int, int)>& draw,
                 const GdkRegion* region = nullptr);
void DrawOnPanel(GtkWidget* panel, const std::function<void(TCanvas&, int, int)>& draw,
                 const GdkRegion* region = nullptr);
