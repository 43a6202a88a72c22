#include "cells/packed_point.h"
#include "cells/program_status.h"

#include <gtest/gtest.h>

TEST(PackedPoint, RoundTripsEveryQuadrantOfTheVirtualScreen) {
  const ScreenPoint points[] = {{0, 0}, {1279, 1023}, {-1, -1}, {-1920, 300}, {200, -1080}, {32767, -32768}};
  for (const ScreenPoint& p : points) {
    ScreenPoint back = UnpackPoint(PackPoint(p.x, p.y));
    EXPECT_EQ(back.x, p.x);
    EXPECT_EQ(back.y, p.y);
  }
}

TEST(PackedPoint, KeepsOnlyTheLow16BitsOfEachCoordinate) {
  EXPECT_EQ(PackPoint(0x12345, 0x6789A), 0x789A2345u);
  EXPECT_EQ(PackPoint(-1, 0), 0x0000FFFFu);
  EXPECT_EQ(PackPoint(0, -2), 0xFFFE0000u);
}

TEST(PackedPoint, IgnoresBitsAboveTheLow32OfAWideLParam) {
  ScreenPoint p = UnpackPoint(0xFFFFFFFF00050007ull);
  EXPECT_EQ(p.x, 7);
  EXPECT_EQ(p.y, 5);
}

// The status answer carries seven flags and a wrapping tick count in one
// LRESULT: no flag may spill into the count or the count into a flag.
TEST(ProgramStatus, FlagsAndTheTickCountTravelApart) {
  const ProgramStatus cases[] = {{true, false, true, false, true, false, true, 0xFFFFFFFFu},
                                 {false, true, false, true, false, true, false, 0u},
                                 {true, true, true, true, true, true, true, 0x80000001u}};
  for (const ProgramStatus& sent : cases) {
    const ProgramStatus got = UnpackStatus(PackStatus(sent));
    EXPECT_EQ(got.moving, sent.moving);
    EXPECT_EQ(got.insideHandler, sent.insideHandler);
    EXPECT_EQ(got.loading, sent.loading);
    EXPECT_EQ(got.queued, sent.queued);
    EXPECT_EQ(got.telling, sent.telling);
    EXPECT_EQ(got.fullScreen, sent.fullScreen);
    EXPECT_EQ(got.settingsOpen, sent.settingsOpen);
    EXPECT_EQ(got.ticks, sent.ticks);
  }
}
