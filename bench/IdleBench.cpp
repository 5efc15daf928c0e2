#include "IdleBench.h"

#include <thread>

#include "BareWindowProgram.h"
#include "BlackBox.h"
#include "ProcessFigures.h"

using namespace blackbox;

namespace {

// A cursor stops blinking this long after the last key or click
// (gtk-cursor-blink-timeout, as later GTK versions set it by default);
// idle is counted only after it, with a margin.
constexpr int kBlinkTimeoutSeconds = 10, kBlinkMarginSeconds = 3;

void Sleep(int seconds) { std::this_thread::sleep_for(std::chrono::seconds(seconds)); }

int64_t Switches(TKorvaProcess& process) {
  return ReadProcessFigures(process.Pid()).contextSwitches;
}

}  // namespace

void MeasureIdle(TIdleFigures& korva, TIdleFigures& bare, const TProgress& progress) {
  progress("idle: both windows up, waiting for the cursor to stop blinking");
  TKorvaProcess korvaProcess, bareProcess(BareWindowOptions());
  korvaProcess.Start();
  bareProcess.Start();
  korva.shown = korvaProcess.WaitForWindow();
  bare.shown = bareProcess.WaitForWindow();
  if (!korva.shown || !bare.shown) return;
  // The keyboard focus, as a user's desktop gives it, and a key that
  // changes no text: KORVA's first entry starts with its text selected,
  // which shows no cursor; End puts the cursor there and it blinks, as
  // after any typing.
  korvaProcess.PressKey("End");
  bareProcess.PressKey("End");
  const int64_t focusKorva = Switches(korvaProcess), focusBare = Switches(bareProcess);
  Sleep(kBlinkingSeconds);
  korva.whileBlinking = Switches(korvaProcess) - focusKorva;
  bare.whileBlinking = Switches(bareProcess) - focusBare;
  Sleep(kBlinkTimeoutSeconds + kBlinkMarginSeconds - kBlinkingSeconds);
  progress("idle: counting wake-ups");
  const int64_t idleKorva = Switches(korvaProcess), idleBare = Switches(bareProcess);
  Sleep(kIdleSeconds);
  korva.idle = Switches(korvaProcess) - idleKorva;
  bare.idle = Switches(bareProcess) - idleBare;
  korva.threads = ReadProcessFigures(korvaProcess.Pid()).threads;
  bare.threads = ReadProcessFigures(bareProcess.Pid()).threads;
}
