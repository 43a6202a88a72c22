#include "app/cpu_load_rules.h"

#include <gtest/gtest.h>

namespace {

// Feeds the samples and returns after how many the watchdog fired (0: never).
int FiresAfter(std::initializer_list<double> samples) {
  HighLoadCount count;
  int taken = 0;
  for (double sample : samples) {
    ++taken;
    if (CountLoadSample(&count, sample)) return taken;
  }
  return 0;
}

TEST(HighLoadCount, TenSamplesAbove90InARowFireOnTheTenth) {
  EXPECT_EQ(FiresAfter({95, 95, 95, 95, 95, 95, 95, 95, 95, 95}), 10);
  EXPECT_EQ(FiresAfter({95, 95, 95, 95, 95, 95, 95, 95, 95}), 0);
  EXPECT_EQ(FiresAfter({10, 95, 95, 95, 95, 95, 95, 95, 95, 95, 95}), 11);
}

TEST(HighLoadCount, ExactlyNinetyEndsTheRun) {
  EXPECT_EQ(FiresAfter({95, 95, 95, 95, 95, 95, 95, 95, 95, 90.0,  //
                        95, 95, 95, 95, 95, 95, 95, 95, 95}),
            0);
  EXPECT_EQ(FiresAfter({95, 95, 95, 95, 95, 95, 95, 95, 95, 90.0,  //
                        95, 95, 95, 95, 95, 95, 95, 95, 95, 95}),
            20);
  EXPECT_EQ(FiresAfter({90.0001, 90.0001, 90.0001, 90.0001, 90.0001,  //
                        90.0001, 90.0001, 90.0001, 90.0001, 90.0001}),
            10);
}

TEST(HighLoadCount, SeveralBusyProcessorsCountAsHigh) {
  EXPECT_EQ(FiresAfter({100.5, 250, 150, 400, 101, 199, 120, 300, 180, 110}), 10);
}

TEST(ActiveSinceLastSample, ASampleOverlappingAnyPieceOfWorkIsTold) {
  ActivitySeen seen;
  EXPECT_EQ(ActiveSinceLastSample(&seen, 0, 0), 0) << "nothing loads";
  EXPECT_EQ(ActiveSinceLastSample(&seen, 1, 0), 1) << "a load runs";
  EXPECT_EQ(ActiveSinceLastSample(&seen, 1, 0), 1) << "and still runs";
  EXPECT_EQ(ActiveSinceLastSample(&seen, 0, 1), 1) << "it ended during this sample";
  EXPECT_EQ(ActiveSinceLastSample(&seen, 0, 1), 0) << "the next sample is the program's own";
  EXPECT_EQ(ActiveSinceLastSample(&seen, 0, 2), 1) << "a load begun and ended between two samples";
  EXPECT_EQ(ActiveSinceLastSample(&seen, 0, 2), 0);
  EXPECT_EQ(ActiveSinceLastSample(&seen, 2, 2), 1) << "two at once (the test display beside a start)";
}

TEST(ProcessorPercent, IsPercentOfOneProcessorOverTheWallTime) {
  EXPECT_DOUBLE_EQ(ProcessorPercent(5000000, 10000000), 50.0);
  EXPECT_DOUBLE_EQ(ProcessorPercent(20000000, 10000000), 200.0);
  EXPECT_DOUBLE_EQ(ProcessorPercent(0, 10000000), 0.0);
  EXPECT_DOUBLE_EQ(ProcessorPercent(12345, 0), 0.0);
}

}  // namespace
