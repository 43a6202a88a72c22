#include <gtest/gtest.h>

#include "cells/private_messages.h"
#include "stars/motion_rules.h"
#include "stars/star.h"

namespace {

Star StarAt(int32_t x, int32_t y, int32_t vx, int32_t vy) {
  Star star{};
  star.x = x;
  star.y = y;
  star.vx = vx;
  star.vy = vy;
  return star;
}

TEST(StartCorner, EachFlightDirectionStartsBesideThePoint) {
  // Mostly horizontal to the right: centred vertically, a quarter width ahead.
  Star right = StarAt(500, 300, 30, 5);
  SetInitialPosition(&right, 72, 72);
  EXPECT_EQ(right.x, 519);
  EXPECT_EQ(right.y, 265);

  // Mostly vertical upward: centred horizontally, a quarter height above.
  Star up = StarAt(500, 300, 5, -30);
  SetInitialPosition(&up, 72, 72);
  EXPECT_EQ(up.x, 500 + 1 - 36);
  EXPECT_EQ(up.y, 300 - 73 - 18);

  // Diagonal up and left: the whole picture in that quadrant, one pixel clear.
  Star diagonal = StarAt(500, 300, -20, -20);
  SetInitialPosition(&diagonal, 72, 72);
  EXPECT_EQ(diagonal.x, 500 - 73);
  EXPECT_EQ(diagonal.y, 300 - 73);

  // Mostly horizontal to the left with an odd, non-square picture.
  Star left = StarAt(100, 100, -41, 19);
  SetInitialPosition(&left, 33, 15);
  EXPECT_EQ(left.x, 100 - 34 - 8);
  EXPECT_EQ(left.y, 100 + 1 - 7);

  // Half of 41 is 20, not more than 20: that flight counts as diagonal.
  Star edge = StarAt(100, 100, -41, 20);
  SetInitialPosition(&edge, 33, 15);
  EXPECT_EQ(edge.x, 100 - 34);
  EXPECT_EQ(edge.y, 100 + 1);
}

TEST(Flight, TenFortyRestsAfterFourMovingTicks) {
  Star star = StarAt(0, 0, 10, 40);
  const int32_t steps[][2] = {{10, 40}, {5, 20}, {2, 10}, {1, 5}};
  int32_t x = 0, y = 0;
  for (int tick = 0; tick < 4; ++tick) {
    FlightStep step = StepFlight(&star);
    x += steps[tick][0];
    y += steps[tick][1];
    EXPECT_EQ(star.x, x);
    EXPECT_EQ(star.y, y);
    EXPECT_EQ(step, tick < 3 ? FLIGHT_MOVED : FLIGHT_RESTED) << "tick " << tick;
  }
  EXPECT_EQ(star.vx, 0);
  EXPECT_EQ(star.vy, 2);
}

TEST(Flight, NegativeSpeedsTruncateTowardZero) {
  Star star = StarAt(0, 0, -3, 40);
  EXPECT_EQ(StepFlight(&star), FLIGHT_MOVED);
  EXPECT_EQ(star.vx, -1);
  EXPECT_EQ(StepFlight(&star), FLIGHT_RESTED);
  EXPECT_EQ(star.vx, 0);
  EXPECT_EQ(star.x, -4);
}

TEST(Flight, DelayHoldsTheStarThenItFliesWithItsSpeed) {
  Star star = StarAt(7, 8, 20, -20);
  star.delay = 3;
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_EQ(StepFlight(&star), FLIGHT_WAITED);
    EXPECT_EQ(star.x, 7);
    EXPECT_EQ(star.y, 8);
  }
  EXPECT_EQ(star.delay, 0);
  EXPECT_EQ(StepFlight(&star), FLIGHT_MOVED);
  EXPECT_EQ(star.x, 27);
  EXPECT_EQ(star.y, -12);
}

TEST(Frames, AdvanceAndWrap) {
  EXPECT_EQ(NextFrameIndex(0, 5), 1);
  EXPECT_EQ(NextFrameIndex(3, 5), 4);
  EXPECT_EQ(NextFrameIndex(4, 5), 0);
  EXPECT_EQ(NextFrameIndex(0, 2), 1);
  EXPECT_EQ(NextFrameIndex(1, 2), 0);
}

TEST(Frames, SourcePointFollowsTheStripDirection) {
  FrameOrigin still = FrameSourcePoint(0, 3, 40, 30, 1);  // a plain picture ignores the index
  EXPECT_EQ(still.x, 0);
  EXPECT_EQ(still.y, 0);
  FrameOrigin across = FrameSourcePoint(5, 3, 40, 30, 1);
  EXPECT_EQ(across.x, 120);
  EXPECT_EQ(across.y, 0);
  FrameOrigin down = FrameSourcePoint(5, 3, 40, 30, 0);
  EXPECT_EQ(down.x, 0);
  EXPECT_EQ(down.y, 90);
  FrameOrigin first = FrameSourcePoint(1, 0, 40, 30, 0);
  EXPECT_EQ(first.x, 0);
  EXPECT_EQ(first.y, 0);
}

TEST(EventQuantity, MovesMakeOneClicksAndKeysMakeQuantity) {
  EXPECT_EQ(StarsForEvent(InputKind::kClick, 5), 5);
  EXPECT_EQ(StarsForEvent(InputKind::kKey, 5), 5);
  EXPECT_EQ(StarsForEvent(InputKind::kMove, 5), 1);
  EXPECT_EQ(StarsForEvent(InputKind::kClick, 0), 0);
  EXPECT_EQ(StarsForEvent(InputKind::kMove, 0), 0);
  EXPECT_EQ(StarsForEvent(InputKind::kKey, -3), 0);
  // A hand-edited quantity never makes one event build windows for minutes.
  EXPECT_EQ(StarsForEvent(InputKind::kClick, 99), 99);
  EXPECT_EQ(StarsForEvent(InputKind::kClick, 100), 99);
  EXPECT_EQ(StarsForEvent(InputKind::kKey, 99999), 99);
  EXPECT_EQ(StarsForEvent(InputKind::kMove, 99999), 1);
}

TEST(Numbers, CheckMaxNumberLimitsTo999) {
  EXPECT_EQ(CheckMaxNumber(1000), 999);
  EXPECT_EQ(CheckMaxNumber(999), 999);
  EXPECT_EQ(CheckMaxNumber(2), 2);
  EXPECT_EQ(CheckMaxNumber(123456), 999);
}

}  // namespace
