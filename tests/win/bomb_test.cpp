#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "star_artwork_support.h"
#include "stars/win32/win32_star_field.h"

namespace {

using Bombs = StarGroupTest;

// Dispatches until the window has processed its posted WM_CLOSE.
bool WindowGoes(HWND window) {
  return PumpUntil([&] { return !IsWindow(window); });
}

TEST_F(Bombs, OneStarShowsFivePoofFramesCentredOnItThenGoes) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* star = GrabbedStar(0, 300, 200);
  HWND window = WindowOf(star)->Handle();
  ASSERT_NE(window, nullptr);

  field.BombStar(star);
  EXPECT_EQ(PoofFrameShown(star), -1);  // the poof starts with the next tick
  for (int tick = 1; tick <= 5; ++tick) {
    field.MoveStar();
    ASSERT_EQ(field.GetStarByHWND(window), star) << "tick " << tick;
    EXPECT_EQ(PoofFrameShown(star), tick - 1) << "tick " << tick;
    RECT rect = WindowRect(window);
    // A 72 x 72 star's poof starts 28 pixels up and left of its corner.
    EXPECT_EQ(rect.left, 272) << "tick " << tick;
    EXPECT_EQ(rect.top, 172) << "tick " << tick;
    EXPECT_EQ(rect.right - rect.left, 128);
    EXPECT_EQ(rect.bottom - rect.top, 128);
    EXPECT_EQ(WindowOf(star)->FrameCount(), 0);
  }
  field.MoveStar();
  EXPECT_EQ(field.GetStarByHWND(window), nullptr);
  EXPECT_TRUE(Stars().empty());
  EXPECT_TRUE(WindowGoes(window));
}

TEST_F(Bombs, PictureLargerThanThePoofMovesItRightAndDown) {
  ImageSet* large = AddStarImage(200);
  ASSERT_NE(large, nullptr);
  Star* star = GrabbedStar(0, 100, 100);
  field.BombStar(star);
  field.MoveStar();
  RECT rect = WindowRect(WindowOf(star)->Handle());
  EXPECT_EQ(rect.left, 136);
  EXPECT_EQ(rect.top, 136);
}

TEST_F(Bombs, BeginBombSetsOffGrabbedStarsFromTheLastOneInListOrder) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* s1 = GrabbedStar(0, 100, 100);
  Star* moving = field.Pool().CreateNewStar(500, 500, 0);
  Star* s2 = GrabbedStar(0, 300, 100);
  Star* s3 = GrabbedStar(0, 500, 100);
  std::vector<HWND> windows{WindowOf(s1)->Handle(), WindowOf(s2)->Handle(), WindowOf(s3)->Handle()};
  moving->delay = 100;  // keeps it flying and in the list for the whole test

  field.BeginBomb();
  EXPECT_EQ(moving->bombing, 0u);

  // Per tick, what S1, S2, S3 show: -1 their own picture, 0..4 a poof frame,
  // 9 destroyed.
  const int expected[9][3] = {
      {-1, -1, -1}, {-1, -1, 0}, {-1, 0, 1}, {0, 1, 2}, {1, 2, 3},
      {2, 3, 4},    {3, 4, 9},   {4, 9, 9},  {9, 9, 9},
  };
  for (int tick = 1; tick <= 9; ++tick) {
    field.MoveStar();
    for (int i = 0; i < 3; ++i) {
      Star* star = field.GetStarByHWND(windows[i]);
      int shown = star == nullptr ? 9 : PoofFrameShown(star);
      EXPECT_EQ(shown, expected[tick - 1][i]) << "tick " << tick << ", S" << i + 1;
    }
  }
  ASSERT_EQ(Stars().size(), 1u);
  EXPECT_EQ(Stars()[0], moving);
  for (HWND window : windows) EXPECT_TRUE(WindowGoes(window));
}

TEST_F(Bombs, ReArmingMidPoofRestartsItWithoutMovingTheWindow) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* star = GrabbedStar(0, 300, 200);
  HWND window = WindowOf(star)->Handle();
  field.BombStar(star);
  field.MoveStar();
  field.MoveStar();
  ASSERT_EQ(PoofFrameShown(star), 1);

  // The erase item again: back to the first frame at the next tick.
  field.BombStar(star);
  field.MoveStar();
  EXPECT_EQ(PoofFrameShown(star), 0);
  EXPECT_EQ(WindowRect(window).left, 272);
  EXPECT_EQ(WindowRect(window).top, 172);

  // Erase-all with one grabbed star: countdown 6, the frame stays for a tick.
  field.BeginBomb();
  field.MoveStar();
  EXPECT_EQ(PoofFrameShown(star), 0);
  field.MoveStar();
  EXPECT_EQ(PoofFrameShown(star), 0);
  EXPECT_EQ(WindowRect(window).left, 272);
  EXPECT_EQ(WindowRect(window).top, 172);
  for (int tick = 0; tick < 4; ++tick) field.MoveStar();
  EXPECT_EQ(PoofFrameShown(star), 4);
  field.MoveStar();
  EXPECT_EQ(field.GetStarByHWND(window), nullptr);
}

TEST_F(Bombs, NumberedStarLosesItsNumberPictureAtTheFirstPoofFrame) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* star = GrabbedStar(0, 300, 200);
  field.Chase().SetStarNumber(star, 12);
  HDC ownDC = WindowOf(star)->SourceDC();
  HBITMAP ownBitmap = WindowOf(star)->OwnPictureBitmap();
  ASSERT_NE(ownBitmap, nullptr);
  ASSERT_EQ(GetObjectType(ownDC), static_cast<DWORD>(OBJ_MEMDC));

  field.BombStar(star);
  field.MoveStar();
  EXPECT_FALSE(WindowOf(star)->OwnsPicture());
  EXPECT_EQ(WindowOf(star)->OwnPictureBitmap(), nullptr);
  EXPECT_EQ(GetObjectType(ownDC), 0u);
  EXPECT_EQ(GetObjectType(ownBitmap), 0u);
  EXPECT_EQ(PoofFrameShown(star), 0);
}

TEST_F(Bombs, WithoutPoofArtworkTheStarKeepsItsPictureUntilItGoes) {
  ASSERT_NE(AddStarImage(72), nullptr);
  ReleasePoof();
  Star* star = GrabbedStar(0, 300, 200);
  HWND window = WindowOf(star)->Handle();
  field.Chase().SetStarNumber(star, 7);
  HDC ownDC = WindowOf(star)->SourceDC();

  field.BombStar(star);
  for (int tick = 1; tick <= 5; ++tick) {
    field.MoveStar();
    ASSERT_EQ(field.GetStarByHWND(window), star);
    EXPECT_EQ(WindowOf(star)->SourceDC(), ownDC) << "tick " << tick;
    EXPECT_EQ(WindowRect(window).left, 300);
    EXPECT_EQ(WindowRect(window).right - WindowRect(window).left, 72);
  }
  field.MoveStar();
  EXPECT_EQ(field.GetStarByHWND(window), nullptr);
  EXPECT_EQ(GetObjectType(ownDC), 0u);  // released with the star
}

TEST_F(Bombs, NothingToArm) {
  ASSERT_NE(AddStarImage(72), nullptr);
  field.BombStar(nullptr);
  Star* moving = field.Pool().CreateNewStar(400, 400, 0);
  field.BeginBomb();
  EXPECT_EQ(moving->bombing, 0u);

  // A free star waits in the pool and is not armed.
  moving->inUse = 0;
  field.BombStar(moving);
  EXPECT_EQ(moving->bombing, 0u);

  HWND window = WindowOf(moving)->Handle();
  field.Pool().FreeStarList();
  field.BeginBomb();  // no list: nothing to walk
  EXPECT_TRUE(WindowGoes(window));
  ASSERT_EQ(field.Pool().CreateStarList(), 1);
}

}  // namespace
