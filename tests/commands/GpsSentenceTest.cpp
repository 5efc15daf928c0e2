// The simulated sentence must pass a real NMEA 0183 decoder: its checksum,
// worked out here from its own bytes, and CR LF to frame it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TrackerCommands.h"

namespace {

TEST(SimulatedGpsSentence, IsAFramedRmcSentenceWithTheRightChecksum) {
  const std::string sentence(kSimulatedGpsSentence);
  ASSERT_EQ(sentence.size(), 70u);
  EXPECT_EQ(kSimulatedGpsSentenceLength, 70u);
  ASSERT_EQ(sentence.front(), '$');
  EXPECT_EQ(sentence.substr(68), "\r\n");

  const std::size_t star = sentence.find('*');
  ASSERT_EQ(star, 65u);  // then two hex digits, CR and LF
  unsigned sum = 0;
  for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(sentence[i]);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", sum);
  EXPECT_EQ(sentence.substr(star + 1, 2), hex);

  EXPECT_EQ(sentence.substr(1, star - 1),
            "GPRMC,121944,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
}

}  // namespace
