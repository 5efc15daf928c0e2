#include "TUpDown.h"

#include <algorithm>

struct _TUpDown {
  GtkVBox parent;
  GtkAdjustment* adjustment;
  GtkWidget* held;      // the arrow whose press repeats, nullptr when none
  gboolean repeat_up;
  guint repeat_source;  // the held arrow's repeat timer, 0 when none
  guint repeat_delay;   // ms until the next repeated step
  GtkWidget* window;    // the toplevel watched for losing the focus while held
  gulong focus_out;     // its handler, 0 when none
};

struct TUpDownClass {
  GtkVBoxClass parent_class;
};

G_DEFINE_TYPE(TUpDown, t_up_down, GTK_TYPE_VBOX)

namespace {

enum { PROP_0, PROP_ADJUSTMENT };
enum { SIGNAL_CLICK, N_SIGNALS };
guint signals[N_SIGNALS];

// The pace a held arrow repeats at: a pause before the first repeat, then
// ever shorter ones down to a floor.
constexpr guint kFirstRepeatMs = 400;
constexpr guint kStartRepeatMs = 100;
constexpr guint kFastestRepeatMs = 20;

void StopRepeat(TUpDown* self) {
  if (self->repeat_source != 0) {
    g_source_remove(self->repeat_source);
    self->repeat_source = 0;
  }
  if (self->focus_out != 0) {
    g_signal_handler_disconnect(self->window, self->focus_out);
    self->focus_out = 0;
  }
  self->window = nullptr;
  self->held = nullptr;
}

// A press can end without the arrow's "released": a grab taken by another
// window (a modal box) resets the button silently, and the button's own
// release then goes nowhere. The button shows itself pressed exactly while
// it still counts as held.
bool StillHeld(TUpDown* self) {
  return self->held && gtk_widget_get_state(self->held) == GTK_STATE_ACTIVE;
}

gboolean StopOnFocusOut(GtkWidget*, GdkEventFocus*, gpointer data) {
  StopRepeat(T_UP_DOWN(data));
  return FALSE;
}

// Whatever takes the keyboard from the window may also have taken the
// pointer's release.
void WatchWindowFocus(TUpDown* self) {
  GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(self));
  if (!gtk_widget_is_toplevel(top)) return;
  self->window = top;
  self->focus_out = g_signal_connect(top, "focus-out-event", G_CALLBACK(StopOnFocusOut), self);
}

gboolean RepeatStep(gpointer data);

void ScheduleRepeat(TUpDown* self, guint delay) {
  self->repeat_delay = delay;
  self->repeat_source = g_timeout_add(delay, RepeatStep, self);
}

gboolean RepeatStep(gpointer data) {
  auto* self = T_UP_DOWN(data);
  self->repeat_source = 0;
  if (!StillHeld(self)) {
    StopRepeat(self);
    return FALSE;
  }
  guint next = self->repeat_delay >= kFirstRepeatMs
                   ? kStartRepeatMs
                   : std::max(kFastestRepeatMs, self->repeat_delay * 4 / 5);
  ScheduleRepeat(self, next);
  t_up_down_step(self, self->repeat_up);
  return FALSE;
}

void ArrowPressed(GtkButton* arrow, gpointer data, gboolean up) {
  auto* self = T_UP_DOWN(data);
  StopRepeat(self);
  self->held = GTK_WIDGET(arrow);
  self->repeat_up = up;
  WatchWindowFocus(self);
  ScheduleRepeat(self, kFirstRepeatMs);
  t_up_down_step(self, up);
}

void UpPressed(GtkButton* b, gpointer data) { ArrowPressed(b, data, TRUE); }
void DownPressed(GtkButton* b, gpointer data) { ArrowPressed(b, data, FALSE); }
void ArrowReleased(GtkButton*, gpointer data) { StopRepeat(T_UP_DOWN(data)); }

GtkWidget* MakeArrow(TUpDown* self, GtkArrowType direction, GCallback pressed) {
  GtkWidget* button = gtk_button_new();
  gtk_widget_set_can_focus(button, FALSE);
  gtk_container_add(GTK_CONTAINER(button), gtk_arrow_new(direction, GTK_SHADOW_NONE));
  g_signal_connect(button, "pressed", pressed, self);
  g_signal_connect(button, "released", G_CALLBACK(ArrowReleased), self);
  gtk_box_pack_start(GTK_BOX(self), button, TRUE, TRUE, 0);
  gtk_widget_show_all(button);
  return button;
}

void SetAdjustment(TUpDown* self, GtkAdjustment* adjustment) {
  if (self->adjustment) g_object_unref(self->adjustment);
  self->adjustment = adjustment ? GTK_ADJUSTMENT(g_object_ref_sink(adjustment)) : nullptr;
}

void SetProperty(GObject* object, guint id, const GValue* value, GParamSpec* spec) {
  if (id == PROP_ADJUSTMENT)
    SetAdjustment(T_UP_DOWN(object), GTK_ADJUSTMENT(g_value_get_object(value)));
  else
    G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
}

void GetProperty(GObject* object, guint id, GValue* value, GParamSpec* spec) {
  if (id == PROP_ADJUSTMENT)
    g_value_set_object(value, T_UP_DOWN(object)->adjustment);
  else
    G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
}

void Dispose(GObject* object) {
  auto* self = T_UP_DOWN(object);
  StopRepeat(self);
  SetAdjustment(self, nullptr);
  G_OBJECT_CLASS(t_up_down_parent_class)->dispose(object);
}

// An insensitive control must not go on stepping from a press made before.
void StateChanged(GtkWidget* widget, GtkStateType) {
  if (!gtk_widget_is_sensitive(widget)) StopRepeat(T_UP_DOWN(widget));
}

}  // namespace

static void t_up_down_class_init(TUpDownClass* klass) {
  GObjectClass* object_class = G_OBJECT_CLASS(klass);
  object_class->set_property = SetProperty;
  object_class->get_property = GetProperty;
  object_class->dispose = Dispose;
  GTK_WIDGET_CLASS(klass)->state_changed = StateChanged;
  g_object_class_install_property(
      object_class, PROP_ADJUSTMENT,
      g_param_spec_object("adjustment", "Adjustment", "Position, range and step",
                          GTK_TYPE_ADJUSTMENT, G_PARAM_READWRITE));
  signals[SIGNAL_CLICK] = g_signal_new("click", G_TYPE_FROM_CLASS(klass), G_SIGNAL_RUN_LAST, 0,
                                       nullptr, nullptr, g_cclosure_marshal_VOID__BOOLEAN,
                                       G_TYPE_NONE, 1, G_TYPE_BOOLEAN);
}

static void t_up_down_init(TUpDown* self) {
  self->adjustment = nullptr;
  self->held = nullptr;
  self->repeat_source = 0;
  self->window = nullptr;
  self->focus_out = 0;
  gtk_box_set_homogeneous(GTK_BOX(self), TRUE);
  MakeArrow(self, GTK_ARROW_UP, G_CALLBACK(UpPressed));
  MakeArrow(self, GTK_ARROW_DOWN, G_CALLBACK(DownPressed));
}

GtkAdjustment* t_up_down_get_adjustment(TUpDown* self) { return self->adjustment; }

void t_up_down_step(TUpDown* self, gboolean up) {
  if (!gtk_widget_is_sensitive(GTK_WIDGET(self)) || !self->adjustment) return;
  GtkAdjustment* a = self->adjustment;
  double step = gtk_adjustment_get_step_increment(a);
  double next = gtk_adjustment_get_value(a) + (up ? step : -step);
  gtk_adjustment_set_value(a, std::clamp(next, gtk_adjustment_get_lower(a),
                                         gtk_adjustment_get_upper(a)));
  g_signal_emit(self, signals[SIGNAL_CLICK], 0, up);
}
