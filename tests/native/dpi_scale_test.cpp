// The display scale's arithmetic at the common settings of a laptop.
#include <gtest/gtest.h>

#include "base/dpi_scale.h"

namespace {

TEST(DpiScale, SizesAtTheUsualScalesRoundHalfAwayFromZero) {
  struct Case {
    int32_t value, dpi, expected;
  };
  const Case cases[] = {
      {72, 96, 72},   {72, 120, 90},  {72, 144, 108}, {72, 168, 126}, {72, 192, 144},  // the star
      {128, 120, 160}, {128, 168, 224},                                               // the poof
      {10, 120, 13},  {-10, 120, -13}, {10, 168, 18}, {-10, 168, -18},  // speeds: .5 goes outward
      {1, 144, 2},    {-1, 144, -2},  {0, 192, 0},    {33, 144, 50},  {-33, 144, -50},
      {24, 72, 18},   {1000000, 480, 5000000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
  }
}

TEST(DpiScale, UnusableDpisLeaveSizesAlone) {
  for (int32_t dpi : {0, -96, 47, 481, 1 << 30}) EXPECT_EQ(ScaleToDpi(72, dpi), 72) << dpi;
  EXPECT_EQ(ScaleToDpi(INT32_MAX, 96), INT32_MAX);
}

TEST(DpiScale, TheProcessDpiIsHeldToItsRange) {
  EXPECT_EQ(ProcessDpi(), kBaseDpi) << "unset";
  SetProcessDpi(144);
  EXPECT_EQ(ProcessDpi(), 144);
  EXPECT_EQ(Scaled(72), 108);
  SetProcessDpi(0);  // a query that failed
  EXPECT_EQ(ProcessDpi(), kBaseDpi);
  SetProcessDpi(9000);
  EXPECT_EQ(ProcessDpi(), kBaseDpi);
  EXPECT_EQ(Scaled(72), 72);
}

}  // namespace
