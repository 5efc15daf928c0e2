// The real pause: never shorter than asked, whatever signals arrive. Lower
// bounds only; how little it overshoots is the benchmark's business.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/time.h>

#include "MonotonicClock.h"
#include "MonotonicNow.h"

namespace {

long long PausedNs(int ms) {
  MonotonicClock clock;
  const long long start = MonotonicNowNs();
  clock.Pause(ms);
  return MonotonicNowNs() - start;
}

class RealPause : public ::testing::TestWithParam<int> {};

TEST_P(RealPause, LastsAtLeastItsLength) {
  ASSERT_TRUE(UseExactTimerSlack());
  EXPECT_GE(PausedNs(GetParam()), GetParam() * 1000000LL);
}

// The command pauses, and one across a second boundary of the deadline.
INSTANTIATE_TEST_SUITE_P(Lengths, RealPause, ::testing::Values(5, 15, 20, 25, 100, 1500));

volatile std::sig_atomic_t alarms = 0;
void CountAlarm(int) { alarms = alarms + 1; }

TEST(RealPauseUnderSignals, IsNotShortenedByASignal) {
  struct sigaction action {};
  action.sa_handler = CountAlarm;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: every alarm interrupts the sleep
  struct sigaction previous {};
  ASSERT_EQ(0, ::sigaction(SIGALRM, &action, &previous));
  itimerval every3ms{{0, 3000}, {0, 3000}};
  ASSERT_EQ(0, ::setitimer(ITIMER_REAL, &every3ms, nullptr));

  alarms = 0;
  const long long paused = PausedNs(60);

  itimerval off{};
  ::setitimer(ITIMER_REAL, &off, nullptr);
  ::sigaction(SIGALRM, &previous, nullptr);
  EXPECT_GT(alarms, 1) << "no signal reached the pause, so this proves nothing";
  EXPECT_GE(paused, 60 * 1000000LL);
}

}  // namespace
