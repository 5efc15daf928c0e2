#pragma once
// Reading the status line from the screen: KORVA draws its text in white,
// centred in a strip near the window's foot. The test renders the words it
// expects in the status line's font and compares the two inked shapes, so
// a check can tell "/dev/ttyS0: not a serial device" from "/dev/ttyS0" or
// from any other words.

#include <string>

#include "BlackBox.h"

namespace blackbox {

// How far the status line's ink is from the rendering of `text` (the X server
// at 96 dots per inch): the largest difference of ink at any one pixel, 0 to
// 1, where the two shapes agree best; far above 1 when their sizes differ.
// The same words come out within a few hundredths; one other letter gives
// about 1. Below kSameText the line reads `text`.
double StatusLineDistance(TKorvaProcess& korva, const std::string& text);
constexpr double kSameText = 0.35;

// True once the status line reads `text`, false after `timeout`.
bool WaitForStatusLine(TKorvaProcess& korva, const std::string& text, TMillis timeout);

}  // namespace blackbox
