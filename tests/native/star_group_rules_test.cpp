#include <gtest/gtest.h>

#include <climits>

#include "stars/bomb_rules.h"
#include "stars/group_rules.h"

namespace {

TEST(PoofRules, CountdownFiveToOneShowsFramesZeroToFour) {
  EXPECT_EQ(PoofFrameAt(5), 0);
  EXPECT_EQ(PoofFrameAt(3), 2);
  EXPECT_EQ(PoofFrameAt(1), 4);
  // Armed and still waiting, or at the end: no frame.
  EXPECT_EQ(PoofFrameAt(6), -1);
  EXPECT_EQ(PoofFrameAt(0), -1);
  EXPECT_EQ(PoofFrameAt(-1), -1);
}

TEST(PoofRules, PoofIsCentredOnThePicture) {
  PixelPoint small = PoofCorner(PixelPoint{300, 200}, 72, 72, 128, 128);
  EXPECT_EQ(small.x, 300 - 28);
  EXPECT_EQ(small.y, 200 - 28);
  // Odd differences truncate toward zero: -57 / 2 is -28, 3 / 2 is 1.
  PixelPoint odd = PoofCorner(PixelPoint{0, 0}, 71, 131, 128, 128);
  EXPECT_EQ(odd.x, -28);
  EXPECT_EQ(odd.y, 1);
  // A picture larger than the poof moves it right and down.
  PixelPoint large = PoofCorner(PixelPoint{10, 10}, 200, 160, 128, 128);
  EXPECT_EQ(large.x, 46);
  EXPECT_EQ(large.y, 26);
  // An already poof-sized window stays put.
  PixelPoint same = PoofCorner(PixelPoint{5, 7}, 128, 128, 128, 128);
  EXPECT_EQ(same.x, 5);
  EXPECT_EQ(same.y, 7);
}

TEST(JoinRule, CentresStrictlyWithinAThirdOfTheFrameJoin) {
  // 72 x 72: the limit is 24 in each direction, either sign.
  EXPECT_TRUE(CentresJoin(23, 0, 72, 72));
  EXPECT_TRUE(CentresJoin(-23, -23, 72, 72));
  EXPECT_FALSE(CentresJoin(24, 0, 72, 72));
  EXPECT_FALSE(CentresJoin(0, -24, 72, 72));
  // Each axis by its own side, truncated: 40 / 3 is 13, 20 / 3 is 6.
  EXPECT_TRUE(CentresJoin(12, 5, 40, 20));
  EXPECT_FALSE(CentresJoin(12, 6, 40, 20));
  EXPECT_FALSE(CentresJoin(13, 0, 40, 20));
  // Frames below 3 pixels never join; far-apart centres do not wrap around.
  EXPECT_FALSE(CentresJoin(0, 0, 2, 2));
  EXPECT_FALSE(CentresJoin(static_cast<int64_t>(INT_MIN) - INT_MAX, 0, 72, 72));
}

TEST(DigitRules, SizeClassByFrameHeight) {
  EXPECT_EQ(DigitSizeFor(72), DIGIT_SIZE_LARGE);
  EXPECT_EQ(DigitSizeFor(64), DIGIT_SIZE_LARGE);
  EXPECT_EQ(DigitSizeFor(63), DIGIT_SIZE_MEDIUM);
  EXPECT_EQ(DigitSizeFor(48), DIGIT_SIZE_MEDIUM);
  EXPECT_EQ(DigitSizeFor(47), DIGIT_SIZE_SMALL);
  EXPECT_EQ(DigitSizeFor(1), DIGIT_SIZE_SMALL);
  // At 150 % the bounds are 96 and 72: the three built-in sizes 108, 72 and
  // 48 keep the classes they have unscaled.
  EXPECT_EQ(DigitSizeFor(108, 144), DIGIT_SIZE_LARGE);
  EXPECT_EQ(DigitSizeFor(96, 144), DIGIT_SIZE_LARGE);
  EXPECT_EQ(DigitSizeFor(95, 144), DIGIT_SIZE_MEDIUM);
  EXPECT_EQ(DigitSizeFor(72, 144), DIGIT_SIZE_MEDIUM);
  EXPECT_EQ(DigitSizeFor(71, 144), DIGIT_SIZE_SMALL);
  EXPECT_EQ(DigitSizeFor(48, 144), DIGIT_SIZE_SMALL);
}

TEST(DigitRules, DigitsStandRightAlignedAtTheBottomLastDigitFirst) {
  // 72 x 72 with 24 x 32 cells: step is 18, each digit 17 further left.
  DigitLayout large = LayoutDigits(128, 72, 72, 24, 32);
  ASSERT_EQ(large.count, 3);
  EXPECT_EQ(large.places[0].digit, 8);
  EXPECT_EQ(large.places[0].x, 48);
  EXPECT_EQ(large.places[1].digit, 2);
  EXPECT_EQ(large.places[1].x, 31);
  EXPECT_EQ(large.places[2].digit, 1);
  EXPECT_EQ(large.places[2].x, 14);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(large.places[i].y, 40);

  // 40 x 40 with 12 x 16 cells: step is 10 (a quarter of the width).
  DigitLayout small = LayoutDigits(907, 40, 40, 12, 16);
  ASSERT_EQ(small.count, 3);
  EXPECT_EQ(small.places[0].digit, 7);
  EXPECT_EQ(small.places[0].x, 28);
  EXPECT_EQ(small.places[1].digit, 0);
  EXPECT_EQ(small.places[1].x, 19);
  EXPECT_EQ(small.places[2].digit, 9);
  EXPECT_EQ(small.places[2].x, 10);
  EXPECT_EQ(small.places[2].y, 24);

  // The cell width limits the step on a wide star.
  DigitLayout wide = LayoutDigits(45, 200, 50, 18, 24);
  ASSERT_EQ(wide.count, 2);
  EXPECT_EQ(wide.places[0].x, 182);
  EXPECT_EQ(wide.places[1].x, 165);
  EXPECT_EQ(wide.places[1].y, 26);
}

TEST(DigitRules, DigitCountFollowsTheNumberAndNeedsACell) {
  EXPECT_EQ(LayoutDigits(2, 40, 40, 12, 16).count, 1);
  EXPECT_EQ(LayoutDigits(10, 40, 40, 12, 16).count, 2);
  EXPECT_EQ(LayoutDigits(0, 40, 40, 12, 16).count, 1);
  EXPECT_EQ(LayoutDigits(INT32_MAX, 40, 40, 12, 16).count, 10);
  EXPECT_EQ(LayoutDigits(INT32_MAX, 40, 40, 12, 16).places[9].digit, 2);
  EXPECT_EQ(LayoutDigits(-5, 40, 40, 12, 16).count, 0);
  // Without digit artwork there is no cell size and nothing to place.
  EXPECT_EQ(LayoutDigits(128, 72, 72, 0, 0).count, 0);
}

TEST(ChainRule, DoublesToOneThousandTwentyFourThenSetsOff) {
  int32_t value = 1;
  for (int grab = 1; grab <= 10; ++grab) {
    ChainStep step = NextChainValue(value);
    EXPECT_FALSE(step.setsOff);
    value = step.value;
  }
  EXPECT_EQ(value, 1024);
  ChainStep eleventh = NextChainValue(value);
  EXPECT_TRUE(eleventh.setsOff);
  EXPECT_EQ(eleventh.value, 1);
  // 999 itself still doubles.
  EXPECT_FALSE(NextChainValue(999).setsOff);
}

}  // namespace
