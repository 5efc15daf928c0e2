// How the status line names a serial failure: plain lower-case words, not the
// system's message texts.
#pragma once

#include <string>

// The words for a TBlockSerial error code (TBlockSerial::ErrPortOwned,
// ::ErrNotConnected, ::ErrStaleLockStuck or an errno): "in use by another
// program", "no such device", "not a serial device", "permission denied",
// "input/output error", ...; any other errno is the system's message in
// lower case.
std::string SerialErrorWords(int code);

// "<device>: <words>", e.g. "/dev/ttyS2: no such device"; a stuck stale
// lock is named by its path.
std::string PortErrorText(const std::string& device, int code);
