// One serial device guarded by a lock file in /var/lock. The program only ever
// writes to the line. No operation throws or shows anything: each outcome is
// left in LastErrorCode and LastErrorText.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "SerialLock.h"
#include "SerialPorts.h"

class TBlockSerial {
 public:
  static constexpr int ErrPortOwned = 9991;     // "Port owned by other process"
  static constexpr int ErrNotConnected = 9994;  // "Instance not yet connected"
  // A lock left behind that can be neither removed nor rewritten.
  static constexpr int ErrStaleLockStuck = 9995;

  TBlockSerial() = default;
  // An object going away closes its device and lets go of its lock, as
  // CloseDevice does: nothing it held outlives it.
  virtual ~TBlockSerial();
  TBlockSerial(const TBlockSerial&) = delete;
  TBlockSerial& operator=(const TBlockSerial&) = delete;

  virtual void SetDtrLine(bool on);
  virtual void SetRtsLine(bool on);
  virtual void CloseDevice();
  virtual void ConfigureLine(int rate, int dataBits, char parity, int stopBitsCode,
                             bool softwareFlow, bool hardwareFlow);
  virtual void OpenDevice(const std::string& path);
  // Bytes written, -1 when write(2) failed, 0 when the object is not open.
  virtual long WriteBytes(const void* bytes, std::size_t count);
  virtual void SendOneByte(std::uint8_t byte);
  virtual void DiscardBuffers();

  static std::string GetErrorDesc(int code);

  std::string DevicePath;
  int Handle = -1;
  bool DeviceOpen = false;
  std::uint32_t ModemLines = 0;
  int LastErrorCode = 0;
  std::string LastErrorText = "OK";

 protected:
  virtual std::string LockFilePath();
  virtual LockCreate WriteLockFile();
  virtual void ReadModemLines();
  // 0 when the device is ours (or no lock could be written), else
  // ErrPortOwned or ErrStaleLockStuck.
  virtual int AcquireLock();
  virtual void ReleaseLock();

 private:
  void Record(int code);
  void SetModemLine(int bit, bool on);

  LockHold ownLock_;
};
