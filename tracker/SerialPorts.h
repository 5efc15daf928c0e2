// The serial ports present, as the status line names them.
#pragma once

#include <string>

// One blank and the name of each /dev entry beginning with "ttyS", in the order
// the directory is read; empty when there is none. Opens no device.
std::string ListSerialPorts();
