// The tracker's commands: ESC and one command byte for the two test tones
// and the transmit request, the simulated GPS sentence, and the upload of the
// configuration block. Each is a sequence for CommandRunner.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "CommandSequence.h"
#include "ConfigBlock.h"

namespace TrackerCommandByte {
constexpr std::uint8_t Escape = 27;
constexpr std::uint8_t Tone1200 = 1;
constexpr std::uint8_t Tone2400 = 2;
constexpr std::uint8_t Transmit = 3;
constexpr std::uint8_t ConfigBlockFollows = 9;
}  // namespace TrackerCommandByte

// One RMC sentence as a GPS receiver at 4800 baud sends it: 12:19:44 UTC,
// valid, 48°07.038'N 11°31.000'E, 22.4 kn, course 84.4°, 23 March 1994,
// variation 3.1°W; its checksum, then CR LF so a decoder can frame it.
inline constexpr char kSimulatedGpsSentence[] =
    "$GPRMC,121944,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6C\r\n";
inline constexpr std::size_t kSimulatedGpsSentenceLength = sizeof kSimulatedGpsSentence - 1;

// "1200 Hz": ESC 1, 20 ms apart, then 500 ms for the tone to start.
CommandSequence Tone1200Command();
// "2400 Hz": ESC 2, 5 ms apart, then 500 ms.
CommandSequence Tone2400Command();
// "TX": 100 ms of silence, ESC 3 15 ms apart, then 1500 ms.
CommandSequence TransmitCommand();
// "GPS-Simul.": discard, the sentence byte after byte, then 500 ms in which
// it leaves the line. No discard after it: that would drop the part of the
// sentence still queued in the driver.
CommandSequence GpsSimulationCommand();

// "Write Conf.", given a block that is already whole (EncodeConfigBlock
// throws before there is one, so a refused entry sends nothing at all):
// discard, ESC 9 and the 128 bytes, 20 ms after each of ESC, 9 and offsets
// 0-87, 25 ms after each of offsets 88-127.
CommandSequence WriteConfCommand(const std::array<std::uint8_t, ConfigBlockOffset::End>& block);
// The last step of "Write Conf.", run after the window has shown that the
// block is out: both queues dropped again.
CommandSequence WriteConfClosingCommand();
