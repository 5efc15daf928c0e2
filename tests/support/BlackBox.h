#pragma once
// The black-box harness: every whole-program test and the benchmark drive
// the real korva binary through it.
//
// Contract
// - It runs only inside tests/support/sandbox; anywhere else the process
//   ends with a message, since it makes /dev entries, meets lock files in
//   /var/lock and writes korva.ini.
// - TRecordingPty: a pty whose slave is reachable under a /dev path; its
//   own thread reads the master the moment bytes arrive and stamps each
//   with CLOCK_MONOTONIC nanoseconds. Unplug() pulls the "adapter".
// - TKorvaProcess: korva on its own Xvfb (1280 x 1024 x 24, no window
//   manager), in its own working directory, with the ptys the test names
//   made before it starts; optionally as an unprivileged user (which needs
//   root's powers: such a test starts with SKIP_WITHOUT_ROOT_POWERS()).
//   A start that cannot happen throws, naming the failing call and its
//   error; WaitForWindow's false says how the program ended, or that it
//   still runs, and what it wrote to its error stream.
// - Times are MonotonicNs(); colours 0xBBGGRR (red in the low byte);
//   points are window coordinates, (0, 0) the first pixel inside the frame,
//   as the window's layout gives them (WindowLayout.h).
// - Waits take a timeout and report whether the thing happened; they never
//   fail a test themselves. Input is real (xdotool) and asynchronous: it
//   has reached the X server, not necessarily the program.
//
// A test binary: korva_blackbox_test(name sources...) in CMake; it runs
// each test through the sandbox.

#include "KorvaProcess.h"
#include "RecordingPty.h"
#include "WindowLayout.h"
