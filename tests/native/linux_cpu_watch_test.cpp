#include "linux/kit/cpu_watch.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

constexpr uint64_t kSecond = 1000000000ull;

// Readings one second apart, each with the given share of a processor used.
class Clock {
 public:
  ProcessClock Advance(double percent) {
    now_.wallNs += kSecond;
    now_.processorNs += static_cast<uint64_t>(percent / 100.0 * kSecond);
    return now_;
  }
  ProcessClock now_{5 * kSecond, 1000 * kSecond};
};

int FiresAfter(CpuWatch& watch, Clock& clock, int samples, double percent) {
  for (int i = 1; i <= samples; ++i) {
    if (watch.Sample(clock.Advance(percent), false)) return i;
  }
  return 0;
}

TEST(CpuWatch, TenBusySecondsInARowEndTheProgram) {
  Clock clock;
  CpuWatch watch(clock.now_);
  EXPECT_EQ(FiresAfter(watch, clock, 9, 95), 0);
  EXPECT_NEAR(watch.LastPercent(), 95.0, 0.01);
  EXPECT_EQ(FiresAfter(watch, clock, 1, 95), 1);
}

TEST(CpuWatch, ACalmSampleOrAPictureLoadStartsTheCountAgain) {
  Clock clock;
  CpuWatch watch(clock.now_);
  EXPECT_EQ(FiresAfter(watch, clock, 9, 99), 0);
  EXPECT_FALSE(watch.Sample(clock.Advance(90), false)) << "90 % is not above the limit";
  EXPECT_EQ(FiresAfter(watch, clock, 9, 99), 0);
  EXPECT_FALSE(watch.Sample(clock.Advance(100), true)) << "loading pictures is no runaway";
  EXPECT_EQ(FiresAfter(watch, clock, 10, 150), 10) << "two busy threads count too";
}

TEST(CpuWatch, ASkippedPauseIsNotMeasuredAndAClockGoingBackReadsNothing) {
  Clock clock;
  CpuWatch watch(clock.now_);
  clock.Advance(0);
  clock.Advance(0);
  watch.Skip(clock.now_);
  // A busy second after an idle pause reads as busy, not diluted by the pause.
  EXPECT_FALSE(watch.Sample(clock.Advance(100), false));
  EXPECT_NEAR(watch.LastPercent(), 100.0, 0.01);
  ProcessClock back = clock.now_;
  back.processorNs -= kSecond;
  back.wallNs -= kSecond;
  EXPECT_FALSE(watch.Sample(back, false));
  EXPECT_EQ(watch.LastPercent(), 0.0);
}

// The real clock counts the processor time this process uses, and none while
// it sleeps. The machine may be shared, so the spinner is judged by the
// processor time it got, never by its share of the wall time.
TEST(ReadProcessClock, CountsSpinningAndNotSleeping) {
  ProcessClock start;
  ASSERT_TRUE(ReadProcessClock(&start));
  ProcessClock now = start;
  volatile uint64_t spin = 0;
  constexpr uint64_t kSpun = 100000000ull;  // 0.1 s of processor time
  while (now.processorNs - start.processorNs < kSpun && now.wallNs - start.wallNs < 60 * kSecond) {
    for (int i = 0; i < 10000; ++i) spin = spin + 1;
    ASSERT_TRUE(ReadProcessClock(&now));
  }
  EXPECT_GE(now.processorNs - start.processorNs, kSpun) << "spinning for a minute gave no 0.1 s of processor";
  EXPECT_GE(now.wallNs - start.wallNs, now.processorNs - start.processorNs - kSpun / 10)
      << "one thread cannot use more processor than wall time";

  ProcessClock idleStart;
  ASSERT_TRUE(ReadProcessClock(&idleStart));
  timespec pause{0, 200000000};
  nanosleep(&pause, nullptr);
  ProcessClock idleEnd;
  ASSERT_TRUE(ReadProcessClock(&idleEnd));
  EXPECT_GE(idleEnd.wallNs - idleStart.wallNs, 200000000ull);
  EXPECT_LT(idleEnd.processorNs - idleStart.processorNs, 20000000ull) << "a sleeping process used processor time";
}

}  // namespace
