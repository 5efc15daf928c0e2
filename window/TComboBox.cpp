#include "TComboBox.h"

struct TComboBox {
  GtkComboBoxEntry parent;
  gboolean letting_go;  // the change under way is the box's own letting go
};

struct TComboBoxClass {
  GtkComboBoxEntryClass parent_class;
};

G_DEFINE_TYPE(TComboBox, t_combo_box, GTK_TYPE_COMBO_BOX_ENTRY)

namespace {

TComboBox* Self(gpointer box) {
  return G_TYPE_CHECK_INSTANCE_CAST(box, T_TYPE_COMBO_BOX, TComboBox);
}

// The arrow is the box's own toggle button.
void KeepOutOfFocus(GtkWidget* part, gpointer) {
  if (GTK_IS_TOGGLE_BUTTON(part)) gtk_widget_set_can_focus(part, FALSE);
}

// Every style set may make the arrow anew (when the theme switches the
// list's look), the first one before the box can take the focus.
void StyleSet(GtkWidget* widget, GtkStyle* previous) {
  GTK_WIDGET_CLASS(t_combo_box_parent_class)->style_set(widget, previous);
  gtk_container_forall(GTK_CONTAINER(widget), KeepOutOfFocus, nullptr);
}

// The list draws every row with the box's own renderers, which take the
// theme's font unless told another.
void RowsTakeTheFieldsFont(GtkWidget* field, GtkStyle*, gpointer box) {
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(box));
  for (GList* cell = cells; cell != nullptr; cell = cell->next)
    if (GTK_IS_CELL_RENDERER_TEXT(cell->data))
      g_object_set(cell->data, "font-desc", gtk_widget_get_style(field)->font_desc, nullptr);
  g_list_free(cells);
}

// Connected before any handler from outside, so none of them hears it.
void SilenceLettingGo(GtkComboBox* box, gpointer) {
  if (Self(box)->letting_go) g_signal_stop_emission_by_name(box, "changed");
}

void LetGoOfTheRow(GtkComboBox* box) {
  Self(box)->letting_go = TRUE;
  gtk_combo_box_set_active(box, -1);
  Self(box)->letting_go = FALSE;
}

// Runs after the handlers of "changed", before those connected "after".
void Changed(GtkComboBox* box) {
  if (GTK_COMBO_BOX_CLASS(t_combo_box_parent_class)->changed)
    GTK_COMBO_BOX_CLASS(t_combo_box_parent_class)->changed(box);
  if (gtk_combo_box_get_active(box) >= 0) LetGoOfTheRow(box);
}

}  // namespace

static void t_combo_box_class_init(TComboBoxClass* klass) {
  GTK_WIDGET_CLASS(klass)->style_set = StyleSet;
  GTK_COMBO_BOX_CLASS(klass)->changed = Changed;
}

static void t_combo_box_init(TComboBox* self) {
  self->letting_go = FALSE;
  g_signal_connect(self, "changed", G_CALLBACK(SilenceLettingGo), nullptr);
  g_signal_connect(gtk_bin_get_child(GTK_BIN(self)), "style-set",
                   G_CALLBACK(RowsTakeTheFieldsFont), self);
}
