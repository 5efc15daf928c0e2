#pragma once
// The six beacon-interval buttons, top to bottom, with what each stands for:
// the code korva.ini keeps for it (the number in its name, so "60 min" is
// "1") and the interval the configuration block sends. Exactly one of them
// is checked at any time.

#include <gtkmm/radiobutton.h>

#include "ConfigBlockFields.h"

class TForm1;

struct TIntervalButton {
  Gtk::RadioButton* TForm1::*button;
  const char* code;
  IntervalButton interval;
};

extern const TIntervalButton kIntervalButtons[6];
