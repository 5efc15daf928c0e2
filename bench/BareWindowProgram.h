#pragma once
// The bare gtkmm-2.4 window of BareWindow.cpp, built with the benchmark,
// started by the harness as it starts KORVA.

#include "KorvaProcess.h"

inline blackbox::TKorvaOptions BareWindowOptions() {
  blackbox::TKorvaOptions options;
  options.program = KORVA_BARE_WINDOW;
  return options;
}
