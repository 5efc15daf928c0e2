#include "PortErrorText.h"

#include <cerrno>
#include <cstring>

#include "TBlockSerial.h"

std::string SerialErrorWords(int code) {
  switch (code) {
    case 0: return "no error";
    case TBlockSerial::ErrPortOwned: return "in use by another program";
    case TBlockSerial::ErrNotConnected: return "not open";
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
  return device + ": " + SerialErrorWords(code);
}
