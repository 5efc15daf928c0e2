// Terminal attributes for a serial line, computed without touching a device.
#pragma once

#include <termios.h>

struct LineSettings {
  int Rate = 4800;         // baud
  int DataBits = 8;        // 5 to 8
  char Parity = 'N';       // 'N', 'O' or 'E', either case
  int StopBitsCode = 0;    // 0: one stop bit; 1 or 2: two
  bool SoftwareFlow = false;
  bool HardwareFlow = false;
};

// Builds the attributes from an all-zero record, so nothing the device had
// before leaks into the line. Returns false, leaving *attrs alone, when the
// rate is not a standard terminal speed.
bool BuildLineAttributes(const LineSettings& settings, termios* attrs);
