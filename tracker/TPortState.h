// The tracker's port as the window keeps it: the current serial line object,
// the device last opened or tried, and whether a device is open now.
//
// Contract:
// - Open(device) first closes the current object, so its lock file is gone
//   before the new open; then it puts a new object in its place, opens the
//   device and, when that worked, sets the line to 4800 baud, 8 data bits, no
//   parity, one stop bit, no flow control, raises DTR and RTS and discards
//   both buffers. A device that refuses the line settings (it is no
//   terminal: ENOTTY) counts as a failed open: it is closed again at once
//   and its lock let go; one that has no modem lines still opens. It
//   returns 0 when the device is open, else the code of the failed open
//   (TBlockSerial::ErrPortOwned, ::ErrStaleLockStuck, the errno of open(2)
//   or of the line settings), which the line object keeps in LastErrorCode
//   as well.
// - Close() closes the current object: buffers dropped, DTR and RTS low,
//   device closed, its own lock file removed. Harmless when nothing is open.
// - IsOpen(): a device is open now. False before the first Open, after a
//   failed one and after Close.
// - Line() is never nullptr. With no device open it is an object that is not
//   open: sending through it writes nothing. The pointer is valid only until
//   the next Open, so take it afresh for every byte and every discard.
// - PortName(): the device given to the last Open; empty before the first.
// - Nothing here throws, shows anything or asks the window.
#pragma once

#include <memory>
#include <string>

#include "TBlockSerial.h"

class TPortState {
 public:
  TPortState();
  // An object going away must not leave its device open or its lock behind.
  ~TPortState();
  TPortState(const TPortState&) = delete;
  TPortState& operator=(const TPortState&) = delete;

  int Open(const std::string& device);
  void Close();
  bool IsOpen() const { return line_->DeviceOpen; }
  TBlockSerial* Line() const { return line_.get(); }
  const std::string& PortName() const { return portName_; }

 private:
  std::unique_ptr<TBlockSerial> line_;
  std::string portName_;
};
