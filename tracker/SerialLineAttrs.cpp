#include "SerialLineAttrs.h"

#include <cctype>

namespace {

struct SpeedEntry {
  int Rate;
  speed_t Code;
};

constexpr SpeedEntry kSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedCode(int rate, speed_t* code) {
  for (const SpeedEntry& entry : kSpeeds) {
    if (entry.Rate == rate) {
      *code = entry.Code;
      return true;
    }
  }
  return false;
}

tcflag_t SizeBits(int dataBits) {
  switch (dataBits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

}  // namespace

bool BuildLineAttributes(const LineSettings& s, termios* attrs) {
  speed_t speed = B0;
  if (!SpeedCode(s.Rate, &speed)) return false;

  termios t{};
  cfmakeraw(&t);
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  // No modem control: the tracker gives no carrier, and the line hangs up on close.
  t.c_cflag |= CREAD | CLOCAL | HUPCL;

  if (s.HardwareFlow) t.c_cflag |= CRTSCTS; else t.c_cflag &= ~CRTSCTS;
  const tcflag_t soft = IXON | IXOFF | IXANY;
  if (s.SoftwareFlow) t.c_iflag |= soft; else t.c_iflag &= ~soft;

  t.c_cflag = (t.c_cflag & ~CSIZE) | SizeBits(s.DataBits);

  switch (std::toupper(static_cast<unsigned char>(s.Parity))) {
    case 'O': t.c_cflag |= PARENB | PARODD; break;
    case 'E': t.c_cflag = (t.c_cflag | PARENB) & ~PARODD; break;
    default: t.c_cflag &= ~(PARENB | PARODD); break;
  }

  if (s.StopBitsCode == 1 || s.StopBitsCode == 2) t.c_cflag |= CSTOPB;
  else t.c_cflag &= ~CSTOPB;

  cfsetispeed(&t, speed);
  cfsetospeed(&t, speed);
  *attrs = t;
  return true;
}
