// The lamps of the whole program as the screen shows them after the window
// has been painted afresh: when it is first shown, and when it comes back
// after it was taken off the screen.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "BlackBox.h"

using namespace blackbox;

namespace {

constexpr TMillis kPatience(10000);

// korva.ini with "OFF" chosen and the threshold switch off.
const char* const kSettingsWithBeaconOff =
    "MYCALL-3\n5224.12N00823.12E\nMY TEXT max. 64 characters\n-\nAPRS,WIDE2-2\n50\n3\n0\n";

// Whether the point stops showing `colour` within the patience.
bool WaitWhileShowing(TKorvaProcess& korva, TPoint point, uint32_t colour) {
  const int64_t deadline = MonotonicNs() + std::chrono::nanoseconds(kPatience).count();
  while (MonotonicNs() < deadline) {
    if (korva.Colour(point) != colour) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

// Takes the window off the screen and back. While it is off the lamps'
// pixels are the screen's own, so whatever they show once it is back was
// painted afresh; the program has repainted once the command lamps, which
// its repaint draws grey, are back.
void HideAndRestore(TKorvaProcess& korva) {
  korva.UnmapWindow();
  ASSERT_TRUE(WaitWhileShowing(korva, LampCentre(TLamp::WriteConf), kGrey))
      << "the window is still on the screen";
  const uint32_t hidden = korva.Colour(LampCentre(TLamp::Beacon));
  ASSERT_NE(hidden, kGrey);
  ASSERT_NE(hidden, kGreen);
  korva.MapWindow();
  for (TLamp lamp : {TLamp::WriteConf, TLamp::GpsSimul, TLamp::Tone, TLamp::Tx})
    ASSERT_TRUE(korva.WaitForColour(LampCentre(lamp), kGrey, kPatience))
        << "not repainted: lamp " << static_cast<int>(lamp);
}

// The lamp colour that holds once the window has had time to finish
// painting: first seen within the patience, still there a moment later.
bool Shows(TKorvaProcess& korva, TLamp lamp, uint32_t colour) {
  if (!korva.WaitForColour(LampCentre(lamp), colour, kPatience)) return false;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return korva.Colour(LampCentre(lamp)) == colour;
}

// The lamp stands exactly at its window point: its black ring runs along
// the second and the second-last pixel of its square, left, right, top and
// bottom, around its colour.
void ExpectLampAt(TKorvaProcess& korva, TLamp lamp, uint32_t colour) {
  const TPoint corner = LampCorner(lamp);
  const int number = static_cast<int>(lamp);
  EXPECT_EQ(korva.Colour(LampCentre(lamp)), colour) << "lamp " << number;
  for (TPoint ring : {TPoint{corner.x + 1, corner.y + 11}, TPoint{corner.x + 20, corner.y + 11},
                      TPoint{corner.x + 11, corner.y + 1}, TPoint{corner.x + 11, corner.y + 20}})
    EXPECT_EQ(korva.Colour(ring), kBlack) << "lamp " << number << " ring at " << ring.x << "," << ring.y;
  for (TPoint inside : {TPoint{corner.x + 3, corner.y + 11}, TPoint{corner.x + 18, corner.y + 11}})
    EXPECT_EQ(korva.Colour(inside), colour) << "lamp " << number << " at " << inside.x << "," << inside.y;
}

TEST(BeaconLamp, AfterTheWindowComesBackShowsWhetherABeaconIntervalIsChosen) {
  TKorvaProcess korva;
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  struct Step {
    const char* button;
    uint32_t lamp;
  };
  const Step steps[] = {{"RadioButton3", kGrey},  // "OFF"
                        {"RadioButton6", kGreen},
                        {"RadioButton3", kGrey},
                        {"RadioButton1", kGreen}};
  for (const Step& s : steps) {
    korva.ClickControl(s.button);
    ASSERT_TRUE(korva.WaitForColour(LampCentre(TLamp::Beacon), s.lamp, kPatience)) << s.button;
    ASSERT_NO_FATAL_FAILURE(HideAndRestore(korva));
    EXPECT_TRUE(Shows(korva, TLamp::Beacon, s.lamp)) << s.button << " after the window came back";
    ExpectLampAt(korva, TLamp::Beacon, s.lamp);
    for (TLamp lamp : {TLamp::WriteConf, TLamp::GpsSimul, TLamp::Tone, TLamp::Tx, TLamp::Analog})
      ExpectLampAt(korva, lamp, kGrey);  // idle, and THRESH. is off
  }
  korva.SaveScreenshot("lamps-after-restore");
}

TEST(BeaconLamp, IsGreyFromTheFirstPaintingWhenKorvaIniChoosesOff) {
  TKorvaOptions options;
  options.settings = kSettingsWithBeaconOff;
  TKorvaProcess korva(options);
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  // The beacon panel is painted before the command panel, whose lamps
  // WaitForWindow saw.
  EXPECT_EQ(korva.Colour(LampCentre(TLamp::Beacon)), kGrey) << "at the first painting";
  EXPECT_TRUE(Shows(korva, TLamp::Beacon, kGrey)) << "and after it";
  ExpectLampAt(korva, TLamp::Beacon, kGrey);
  korva.SaveScreenshot("lamps-beacon-off-at-start");
  ASSERT_NO_FATAL_FAILURE(HideAndRestore(korva));
  EXPECT_TRUE(Shows(korva, TLamp::Beacon, kGrey)) << "after the window came back";
}

}  // namespace
