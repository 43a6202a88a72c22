#include <gtest/gtest.h>

#include <cstdint>

#include "stars/motion_rules.h"
#include "stars/random_source.h"

namespace {

// The state that makes the next draw come out as r (the low 16 bits of the
// following state are left 0): one step of the generator run backwards.
uint32_t StateBeforeDraw(int32_t r) {
  uint32_t inverse = 214013u;  // Newton's iteration for the inverse modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
  uint32_t after = static_cast<uint32_t>(r) << 16;
  return (after - 2531011u) * inverse;
}

void NextDrawIs(int32_t r) { SeedRandomSource(StateBeforeDraw(r)); }

TEST(RandomSource, KnownSequenceFromSeedOne) {
  SeedRandomSource(1);
  const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
  for (int32_t value : expected) EXPECT_EQ(DrawRandom(), value);
}

TEST(RandomSource, DrawsStayWithin15Bits) {
  SeedRandomSource(0xDEADBEEFu);
  for (int i = 0; i < 10000; ++i) {
    int32_t r = DrawRandom();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
  }
}

TEST(RandomSource, TestHelperSteersTheNextDraw) {
  NextDrawIs(32767);
  EXPECT_EQ(DrawRandom(), 32767);
  NextDrawIs(0);
  EXPECT_EQ(DrawRandom(), 0);
}

TEST(ImageIndex, TopDrawIsDrawnAgainAndNoImageNeverDraws) {
  // 32767 scales to the count itself, which is no index: a second draw decides.
  NextDrawIs(32767);
  uint32_t before = randomState;
  int32_t index = DrawImageIndex(3);
  EXPECT_GE(index, 0);
  EXPECT_LT(index, 3);
  SeedRandomSource(before);
  DrawRandom();
  int32_t second = DrawRandom();
  EXPECT_EQ(index, static_cast<int32_t>(static_cast<double>(second) * 3 * (1.0 / 32767.0)));

  NextDrawIs(32766);
  EXPECT_EQ(DrawImageIndex(3), 2);
  NextDrawIs(0);
  EXPECT_EQ(DrawImageIndex(3), 0);

  SeedRandomSource(12345);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(DrawImageIndex(1), 0);

  SeedRandomSource(777);
  EXPECT_EQ(DrawImageIndex(0), -1);
  EXPECT_EQ(randomState, 777u);  // nothing drawn
}

TEST(RandomSpeed, RangeZeroSeventyAndTheTopDraw) {
  SeedRandomSource(99);
  EXPECT_EQ(GetRandomSpeed(0), 0);
  EXPECT_EQ(randomState, 99u);

  // Range 70: divisor 468, so draws 0..32767 give -35..35.
  NextDrawIs(0);
  EXPECT_EQ(GetRandomSpeed(70), -35);
  NextDrawIs(16380);
  EXPECT_EQ(GetRandomSpeed(70), 0);
  NextDrawIs(32759);
  EXPECT_EQ(GetRandomSpeed(70), 34);
  NextDrawIs(32760);
  EXPECT_EQ(GetRandomSpeed(70), 35);
  NextDrawIs(32767);
  EXPECT_EQ(GetRandomSpeed(70), 35);
}

TEST(RandomSpeed, HugeRangesNeverDivideByZero) {
  NextDrawIs(32767);
  EXPECT_EQ(GetRandomSpeed(32767), 32767 - 16383);
  NextDrawIs(32767);
  EXPECT_EQ(GetRandomSpeed(99999), 32767 - 16383);  // taken as 32767
  NextDrawIs(0);
  EXPECT_EQ(GetRandomSpeed(INT32_MIN), 16383);  // taken as -32767
}

TEST(RandomSpeed, ComponentsKeepTheMinimumMagnitude) {
  NextDrawIs(16380);  // speed 0 becomes +10
  EXPECT_EQ(RandomSpeedComponent(70), 10);
  NextDrawIs(0);
  EXPECT_EQ(RandomSpeedComponent(70), -45);
  NextDrawIs(32767);
  EXPECT_EQ(RandomSpeedComponent(70), 45);
  SeedRandomSource(4242);
  for (int i = 0; i < 5000; ++i) {
    int32_t v = RandomSpeedComponent(70);
    ASSERT_TRUE((v >= -45 && v <= -11) || (v >= 10 && v <= 45)) << v;
  }
}

}  // namespace
