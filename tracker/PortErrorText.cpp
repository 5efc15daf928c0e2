#include "PortErrorText.h"

#include <cerrno>
#include <cstring>

#include "SerialLock.h"
#include "TBlockSerial.h"

std::string SerialErrorWords(int code) {
  switch (code) {
    case 0: return "no error";
    case TBlockSerial::ErrPortOwned: return "in use by another program";
    case TBlockSerial::ErrNotConnected: return "not open";
    case TBlockSerial::ErrStaleLockStuck: return "cannot remove or rewrite its stale lock";
    case ENOTTY: return "not a serial device";
    case ENOENT:
    case ENODEV:
    case ENXIO: return "no such device";
    case EACCES:
    case EPERM: return "permission denied";
    case EIO: return "input/output error";
  }
  std::string words = std::strerror(code);
  // Only ASCII letters: a translated message may hold UTF-8 sequences.
  for (char& c : words)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return words;
}

std::string PortErrorText(const std::string& device, int code) {
  // The user must know which file to remove by hand. Short enough for the
  // status line to show whole.
  if (code == TBlockSerial::ErrStaleLockStuck)
    return device + ": cannot remove or rewrite " + LockFilePathFor(device);
  return device + ": " + SerialErrorWords(code);
}
