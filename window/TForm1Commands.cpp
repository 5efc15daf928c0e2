// The five buttons that talk to the tracker. Each lights its lamp, lets the
// window handle what is already waiting (a click queued behind this one runs
// whole in there), then holds the event loop while its bytes go out with
// their pauses, and puts its lamp out again.

#include "CommandRunner.h"
#include "Indicators.h"
#include "IntervalButtons.h"
#include "MonotonicClock.h"
#include "PortErrorText.h"
#include "TApplication.h"
#include "TForm1.h"
#include "TrackerCommands.h"

namespace {

// Shown once the whole block is out; the same after every complete write.
constexpr char kWebAddress[] = "http://www.aprs.org/";

void PaintLamp(int lampY, TColor colour) { DrawCommandIndicator(kCommandLampX, lampY, colour); }

}  // namespace

void TForm1::Button1Click(Gtk::Widget*) {
  if (NoPortGuard(/*listPortsFirst=*/true)) return;
  PaintLamp(kWriteConfLampY, kYellow);
  application_.ProcessPendingEvents();
  // Whether or not the block then goes out, the entry shows what would be sent.
  if (Edit3->get_text().empty()) Edit3->set_text(" ");
  ConfigBlock block;
  try {
    block = EncodeConfigBlock(CurrentEntries());
  } catch (...) {
    // Nothing has gone out: the tracker keeps its old set-up whole.
    PaintLamp(kWriteConfLampY, kGrey);
    throw;
  }
  const CommandOutcome outcome = RunOnPort(WriteConfCommand(block.bytes));
  PaintCommandLampsGrey();
  if (outcome.stopped) {
    EndStoppedCommand(outcome);
    return;
  }
  Label4->set_text(kWebAddress);
  RunOnPort(WriteConfClosingCommand());
}

void TForm1::Button2Click(Gtk::Widget*) {
  RunTrackerCommand(kGpsSimulLampY, kDarkYellow, GpsSimulationCommand());
}

// "1200 Hz" and "2400 Hz" share the tone lamp.
void TForm1::Button4Click(Gtk::Widget*) {
  RunTrackerCommand(kToneLampY, kYellow, Tone1200Command());
}

void TForm1::Button5Click(Gtk::Widget*) {
  RunTrackerCommand(kToneLampY, kYellow, Tone2400Command());
}

void TForm1::Button6Click(Gtk::Widget*) { RunTrackerCommand(kTxLampY, kMagenta, TransmitCommand()); }

void TForm1::RunTrackerCommand(int lampY, TColor lit, const CommandSequence& command) {
  if (NoPortGuard()) return;
  PaintLamp(lampY, lit);
  application_.ProcessPendingEvents();
  const CommandOutcome outcome = RunOnPort(command);
  PaintLamp(lampY, kGrey);
  if (outcome.stopped) EndStoppedCommand(outcome);
}

// The line is asked for at every byte: a pick or a close handled in the event
// step has replaced or closed the one there was when the command began.
CommandOutcome TForm1::RunOnPort(const CommandSequence& command) {
  MonotonicClock clock;
  return CommandRunner([this] { return PortState.Line(); }, clock).Run(command);
}

void TForm1::PaintCommandLampsGrey() {
  for (int y : {kWriteConfLampY, kGpsSimulLampY, kToneLampY, kTxLampY}) PaintLamp(y, kGrey);
}

// A line that something in the event step closed needs no word: whoever closed
// it said so. A device that refused a byte is let go, so the guard stops the
// next command instead of it sending into a dead line.
void TForm1::EndStoppedCommand(const CommandOutcome& outcome) {
  if (outcome.LineClosed()) return;
  ShowPortStatus(PortErrorText(outcome.device, outcome.errorCode));
  PortState.Close();
}

ConfigEntries TForm1::CurrentEntries() const {
  ConfigEntries entries;
  entries.callSign = Edit1->get_text().raw();
  entries.position = Edit2->get_text().raw();
  entries.beaconText = Edit3->get_text().raw();
  entries.symbol = Edit4->get_text().raw();
  entries.path = Edit5->get_text().raw();
  entries.txDelay = Edit6->get_text().raw();
  for (const TIntervalButton& choice : kIntervalButtons)
    if ((this->*choice.button)->get_active()) entries.interval = choice.interval;
  entries.threshChecked = CheckBox3->get_active();
  entries.upDownPosition = UpDownPosition();
  return entries;
}
