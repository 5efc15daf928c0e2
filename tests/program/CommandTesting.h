#pragma once
// Driving KORVA's tracker commands from outside: korva with /dev/ttyUSB0 a
// recording pty, the port picked, clicks queued while the program is
// stopped, and the timing a command run leaves on the line and the screen.

#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "BlackBox.h"

namespace blackbox {

constexpr char kTracker[] = "/dev/ttyUSB0";
constexpr char kTrackerLock[] = "/var/lock/LCK..ttyUSB0";
constexpr TMillis kPatience(10000);
constexpr int64_t kNsPerMs = 1000000;

// korva started on its own Xvfb, its window up, /dev/ttyUSB0 picked and open
// (its lock file there). Throws when any of that does not happen.
class TTrackerSession {
 public:
  explicit TTrackerSession(TKorvaOptions options = {});
  TKorvaProcess& Korva() { return korva_; }
  TRecordingPty& Line() { return korva_.Port(kTracker); }

  // Stops the program, clicks the controls one after another and lets the
  // program go on, so that all the clicks wait in its queue together and
  // the first one's handler finds the others there. Returns the moment it
  // went on: no handler of these clicks can have started before it.
  int64_t ClickWhileStopped(const std::vector<std::string>& controls);

 private:
  void Signal(int signal, char state);

  TKorvaProcess korva_;
};

bool LockFileExists();
// True once `condition` holds (looked at every 0.2 ms), false after `timeout`.
bool WaitFor(const std::function<bool()>& condition, TMillis timeout);

// One run of a command as seen from outside.
struct TCommandRun {
  int64_t goesOn = 0;              // the program went on with the click waiting
  bool litSeen = false;            // its lamp showed its lit colour
  std::vector<TStampedByte> bytes;  // what the run put on the line
  int64_t greySeen = 0;            // then first showed grey again; 0: not in time
};

// Clicks `control` with the program stopped (so the run has a known start),
// sees its lamp lit and then grey, and takes the bytes it put on the line
// (waiting for `byteCount` of them).
TCommandRun RunCommand(TTrackerSession& session, const std::string& control, TLamp lamp,
                       uint32_t lit, size_t byteCount);

// The timing a command promises, in milliseconds: the silence from the
// moment the program goes on to the first byte, the least gap after each
// byte but the last (0: none promised), and the least time from the last
// byte until the lamp is grey.
struct TCommandTiming {
  int silenceMs = 0;
  std::vector<int> gapsMs;
  int settleMs = 0;
};

// Checks the runs against the timing; empty when they keep it, else what
// fell short.
//
// The silence counts from a moment the test took itself before the program
// could write anything, and every stamp is no earlier than its byte's write,
// so every run must keep it whole.
//
// The gaps count from the stamp of a byte, and that stamp is sometimes late:
// on this machine the pty hands the reader a byte up to ~20 ms late now and
// then (real-time priority or not), and once in a while two bytes together.
// A late stamp on byte k shortens the gap after k by exactly what it adds to
// the gap before k. So a gap also counts as kept when a stretch of up to four
// consecutive gaps ending with it spans the sum of their pauses: the late
// bytes inside the stretch cancel out, and only its first byte's stamp can
// still be late; the first stretches may begin at the moment the program
// went on, which no stall makes late. And since the stalls strike at random, a gap need be shown
// so in one of the runs only. A pause the program leaves out or cuts short
// still fails: it is short in every run, unless in every run the program
// happened to overrun the three pauses before it by as much (it overruns
// each by a few tenths of a millisecond). A stretch that starts at a stamp
// may also fall short by the reader's own lateness when nothing stalls it
// (up to 0.5 ms). The lamp's grey counts as the moment after the last byte.
std::string TimingShortfalls(const std::vector<TCommandRun>& runs, const TCommandTiming& timing);

// The bytes as text, for comparing whole sequences.
std::string TextOf(const std::vector<TStampedByte>& bytes);

}  // namespace blackbox
