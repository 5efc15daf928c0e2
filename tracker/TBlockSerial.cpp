#include "TBlockSerial.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "SerialLineAttrs.h"

TBlockSerial::~TBlockSerial() { TBlockSerial::CloseDevice(); }

void TBlockSerial::Record(int code) {
  LastErrorCode = code;
  LastErrorText = GetErrorDesc(code);
}

std::string TBlockSerial::GetErrorDesc(int code) {
  switch (code) {
    case 0: return "OK";
    case ErrPortOwned: return "Port owned by other process";
    case ErrNotConnected: return "Instance not yet connected";
    case ErrStaleLockStuck: return "Stale lock can be neither removed nor rewritten";
    default: return std::strerror(code);
  }
}

void TBlockSerial::SetDtrLine(bool on) { SetModemLine(TIOCM_DTR, on); }

void TBlockSerial::SetRtsLine(bool on) { SetModemLine(TIOCM_RTS, on); }

void TBlockSerial::SetModemLine(int bit, bool on) {
  ReadModemLines();
  if (on) ModemLines |= static_cast<std::uint32_t>(bit);
  else ModemLines &= ~static_cast<std::uint32_t>(bit);
  int word = static_cast<int>(ModemLines);
  ::ioctl(Handle, TIOCMSET, &word);
}

void TBlockSerial::ReadModemLines() {
  int word = 0;
  if (::ioctl(Handle, TIOCMGET, &word) != 0) {
    ModemLines = 0;
    Record(errno);
    return;
  }
  ModemLines = static_cast<std::uint32_t>(word);
  Record(0);
}

std::string TBlockSerial::LockFilePath() { return LockFilePathFor(DevicePath); }

LockCreate TBlockSerial::WriteLockFile() {
  return CreateLockFile(LockFilePath(), ::getpid(), &ownLock_);
}

int TBlockSerial::AcquireLock() {
  struct stat st {};
  if (::stat(kLockDirectory, &st) != 0 || !S_ISDIR(st.st_mode)) ::mkdir(kLockDirectory, 0777);

  // A lock that cannot be written does not keep the device from opening.
  if (WriteLockFile() != LockCreate::Exists) return 0;
  switch (BreakStaleLock(LockFilePath(), ::getpid(), &ownLock_)) {
    case BreakOutcome::Gone: return WriteLockFile() == LockCreate::Exists ? ErrPortOwned : 0;
    case BreakOutcome::TakenOver: return 0;
    case BreakOutcome::Stuck: return ErrStaleLockStuck;
    case BreakOutcome::Owned: break;
  }
  return ErrPortOwned;
}

void TBlockSerial::ReleaseLock() { ReleaseLockFile(LockFilePath(), &ownLock_); }

void TBlockSerial::OpenDevice(const std::string& path) {
  if (Handle != -1 || DeviceOpen) CloseDevice();
  DevicePath = path;
  if (const int refused = AcquireLock()) {
    Record(refused);
    return;
  }
  // O_NOCTTY: the tracker's line must never become our controlling terminal.
  // O_NONBLOCK: do not wait for a carrier the tracker never raises; the writes
  // are made blocking again right after.
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDWR | O_SYNC | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  int flags = fd < 0 ? -1 : ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    int error = errno;
    if (fd >= 0) ::close(fd);
    Record(error);
    ReleaseLock();
    return;
  }
  Handle = fd;
  Record(0);
  DeviceOpen = true;
  SetRtsLine(true);
  SetDtrLine(true);
  DiscardBuffers();
}

void TBlockSerial::ConfigureLine(int rate, int dataBits, char parity, int stopBitsCode,
                                 bool softwareFlow, bool hardwareFlow) {
  termios attrs{};
  LineSettings settings{rate, dataBits, parity, stopBitsCode, softwareFlow, hardwareFlow};
  if (!BuildLineAttributes(settings, &attrs)) {
    Record(EINVAL);
    return;
  }
  Record(::tcsetattr(Handle, TCSANOW, &attrs) == 0 ? 0 : errno);
}

void TBlockSerial::DiscardBuffers() {
  Record(::tcflush(Handle, TCIOFLUSH) == 0 ? 0 : errno);
}

long TBlockSerial::WriteBytes(const void* bytes, std::size_t count) {
  if (!DeviceOpen) {
    Record(ErrNotConnected);
    return 0;
  }
  // Blocking, and no drain: the byte is handed to the driver, which may still
  // be sending it when this returns. Pacing is the caller's business.
  ssize_t written;
  do {
    written = ::write(Handle, bytes, count);
  } while (written < 0 && errno == EINTR);
  Record(written < 0 ? errno : 0);
  return static_cast<long>(written);
}

void TBlockSerial::SendOneByte(std::uint8_t byte) { WriteBytes(&byte, 1); }

void TBlockSerial::CloseDevice() {
  if (Handle != -1) {
    DiscardBuffers();
    SetRtsLine(false);
    SetDtrLine(false);
    // Not retried on EINTR: Linux has released the descriptor by then, and a
    // second close could hit one that another thread has just been given.
    ::close(Handle);
  }
  if (DeviceOpen) {
    ReleaseLock();
    DeviceOpen = false;
  }
  Handle = -1;
  Record(0);
}
