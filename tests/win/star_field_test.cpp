#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "cells/private_messages.h"
#include "star_test_support.h"

namespace {

// With two pictures, a draw below 16384 picks the first and one above the second.
constexpr int32_t kFirstImage = 1000;
constexpr int32_t kSecondImage = 30000;

using StarPool = StarFieldTest;

TEST_F(StarPool, ClickMakesQuantityStarsAndAMoveMakesOne) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Settings.quantity = 3;
  GenerateStars(PWM_HOOK_CLICK, 400, 300);
  std::vector<Star*> stars = Stars();
  ASSERT_EQ(stars.size(), 3u);
  EXPECT_EQ(lastGeneratedStar, stars.back());
  for (Star* s : stars) {
    HWND w = s->window->hwnd;
    ASSERT_NE(w, nullptr);
    char className[64] = "";
    GetClassNameA(w, className, sizeof className);
    EXPECT_STREQ(className, "Pipwink2 Pupil");
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetWindow(w, GW_OWNER), owner.handle());
    EXPECT_EQ(GetParent(w), owner.handle());
    LONG_PTR exStyle = GetWindowLongPtrA(w, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    RECT r = WindowRect(w);
    EXPECT_EQ(r.left, s->x);
    EXPECT_EQ(r.top, s->y);
    EXPECT_EQ(r.right - r.left, 72);
    EXPECT_EQ(r.bottom - r.top, 72);
    // The picture starts in the quadrant it flies into, clear of the point.
    EXPECT_TRUE(s->vx > 0 ? r.left > 400 : r.right <= 400);
    EXPECT_TRUE(s->vy > 0 ? r.top > 300 : r.bottom <= 300);
    EXPECT_EQ(s->inUse, 1u);
    EXPECT_EQ(s->count, 1);
  }

  GenerateStars(PWM_HOOK_MOVE, 100, 100);
  EXPECT_EQ(Stars().size(), 4u);
  EXPECT_EQ(lastGeneratedStar, Stars().back());

  Settings.quantity = 0;
  GenerateStars(PWM_HOOK_CLICK, 100, 100);
  GenerateStars(PWM_HOOK_MOVE, 100, 100);
  EXPECT_EQ(Stars().size(), 4u);
}

TEST_F(StarPool, KeyEventMakesStarsButLeavesNoLastGeneratedStar) {
  ASSERT_NE(AddStarImage(48), nullptr);
  Settings.quantity = 2;
  GenerateStars(PWM_HOOK_CLICK, 200, 200);
  ASSERT_NE(lastGeneratedStar, nullptr);
  GenerateStars(PWM_HOOK_KEY, 200, 240);
  EXPECT_EQ(Stars().size(), 4u);
  EXPECT_EQ(lastGeneratedStar, nullptr);
}

TEST_F(StarPool, RestingStarIsHiddenAndReusedOnlyForItsOwnImage) {
  ASSERT_NE(AddStarImage(72), nullptr);
  ASSERT_NE(AddStarImage(40), nullptr);
  NextDrawIs(kFirstImage);
  GenerateStars(PWM_HOOK_CLICK, 500, 500);
  ASSERT_EQ(Stars().size(), 1u);
  Star* first = Stars()[0];
  HWND firstWindow = first->window->hwnd;
  ASSERT_EQ(first->imageIndex, 0);

  // Speeds are at most 45: six halvings bring any component to 0.
  for (int tick = 0; tick < 7 && first->inUse; ++tick) MoveStar();
  ASSERT_EQ(first->inUse, 0u);
  EXPECT_FALSE(IsWindowVisible(firstWindow));
  EXPECT_EQ(GetStarByHWND(firstWindow), first);  // found while free, too

  // Another picture never takes the free star.
  NextDrawIs(kSecondImage);
  GenerateStars(PWM_HOOK_CLICK, 500, 500);
  ASSERT_EQ(Stars().size(), 2u);
  Star* second = Stars()[1];
  EXPECT_EQ(second->imageIndex, 1);
  EXPECT_NE(second->window->hwnd, firstWindow);
  EXPECT_EQ(first->inUse, 0u);

  // The same picture reuses it: same record, same window, shown again.
  first->chained = 1;
  first->count = 7;
  NextDrawIs(kFirstImage);
  GenerateStars(PWM_HOOK_CLICK, 100, 100);
  ASSERT_EQ(Stars().size(), 2u);
  EXPECT_EQ(Stars()[0], first);
  EXPECT_EQ(first->window->hwnd, firstWindow);
  EXPECT_EQ(first->inUse, 1u);
  EXPECT_EQ(first->chained, 0u);
  EXPECT_EQ(first->count, 1);
  EXPECT_TRUE(IsWindowVisible(firstWindow));
  RECT r = WindowRect(firstWindow);
  EXPECT_EQ(r.left, first->x);
  EXPECT_EQ(r.top, first->y);
  EXPECT_EQ(lastGeneratedStar, first);
}

TEST_F(StarPool, StarsRestingOffTheScreenAreFreeLikeAnyOther) {
  ASSERT_NE(AddStarImage(32), nullptr);
  GenerateStars(PWM_HOOK_CLICK, -500, -500);
  Star* star = Stars()[0];
  for (int tick = 0; tick < 7 && star->inUse; ++tick) MoveStar();
  EXPECT_EQ(star->inUse, 0u);
  EXPECT_FALSE(IsWindowVisible(star->window->hwnd));
}

TEST_F(StarPool, DelayedStarWaitsThenFliesWithItsSpeed) {
  ASSERT_NE(AddStarImage(72), nullptr);
  GenerateStars(PWM_HOOK_CLICK, 600, 400);
  Star* star = Stars()[0];
  HWND w = star->window->hwnd;
  star->delay = 3;
  RECT start = WindowRect(w);
  int32_t vx = star->vx, vy = star->vy;
  for (int tick = 0; tick < 3; ++tick) {
    MoveStar();
    RECT now = WindowRect(w);
    EXPECT_EQ(now.left, start.left);
    EXPECT_EQ(now.top, start.top);
  }
  MoveStar();
  RECT moved = WindowRect(w);
  EXPECT_EQ(moved.left, start.left + vx);
  EXPECT_EQ(moved.top, start.top + vy);
  EXPECT_EQ(star->vx, vx / 2);
}

TEST_F(StarPool, EachTickAdvancesTheAnimationFrame) {
  ASSERT_NE(AddStarImage(16, 3), nullptr);
  GenerateStars(PWM_HOOK_CLICK, 600, 400);
  Star* star = Stars()[0];
  EXPECT_EQ(star->window->frameIndex, 0);
  MoveStar();
  EXPECT_EQ(star->window->frameIndex, 1);
}

TEST_F(StarPool, AnimatedPictureAdvancesFramesOnlyWhileMoving) {
  ASSERT_NE(AddStarImage(16, 3), nullptr);
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  PupilWindow* window = Stars()[0]->window;
  ASSERT_EQ(window->frameCount, 3);
  ASSERT_EQ(window->frameIndex, 0);
  Stars()[0]->vx = 40;
  Stars()[0]->vy = 40;

  ValidateRect(window->hwnd, nullptr);
  MoveStar();
  EXPECT_EQ(window->frameIndex, 1);
  EXPECT_TRUE(GetUpdateRect(window->hwnd, nullptr, FALSE));  // repaints with the new frame
  ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(window->hwnd, nullptr, FALSE); }));

  Stars()[0]->delay = 1;
  MoveStar();
  EXPECT_EQ(window->frameIndex, 1);
  EXPECT_FALSE(GetUpdateRect(window->hwnd, nullptr, FALSE));
  MoveStar();
  MoveStar();
  EXPECT_EQ(window->frameIndex, 0);  // wrapped after the third frame

  window->grabbed = 1;
  MoveStar();
  EXPECT_EQ(window->frameIndex, 0);
}

TEST_F(StarPool, SingleFramePictureIsNeverInvalidatedByMotion) {
  ASSERT_NE(AddStarImage(24), nullptr);
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  PupilWindow* window = Stars()[0]->window;
  ValidateRect(window->hwnd, nullptr);
  MoveStar();
  EXPECT_FALSE(GetUpdateRect(window->hwnd, nullptr, FALSE));
  EXPECT_EQ(window->frameIndex, 0);
}

TEST_F(StarPool, ChainedStarGettingAwayResetsTheChain) {
  ASSERT_NE(AddStarImage(24), nullptr);
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  Star* star = Stars()[0];
  star->chained = 1;
  chainValue = 64;
  for (int tick = 0; tick < 7 && star->inUse; ++tick) MoveStar();
  EXPECT_EQ(star->inUse, 0u);
  EXPECT_EQ(chainValue, 1);
}

TEST_F(StarPool, NumberedStarComingToRestIsDestroyedNotPooled) {
  ASSERT_NE(AddStarImage(24), nullptr);
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  Star* star = Stars()[0];
  PupilWindow* window = star->window;
  HWND w = window->hwnd;
  // A number picture of the window's own, as the count display makes it.
  HDC screen = GetDC(owner.handle());
  window->sourceDC = CreateCompatibleDC(screen);
  ReleaseDC(owner.handle(), screen);
  window->ownBitmap = MakeAlphaBitmap(24, 24, 0xFF000000u);
  window->ownBitmapPrevious = SelectObject(window->sourceDC, window->ownBitmap);
  HBITMAP picture = window->ownBitmap;

  for (int tick = 0; tick < 7 && !Stars().empty(); ++tick) MoveStar();
  EXPECT_TRUE(Stars().empty());
  EXPECT_EQ(GetStarByHWND(w), nullptr);
  EXPECT_FALSE(IsWindowVisible(w));
  // The picture was deleted: GDI no longer knows it.
  BITMAP info;
  EXPECT_EQ(GetObjectA(picture, sizeof info, &info), 0);
}

TEST_F(StarPool, DestroyingTheLastGeneratedStarClearsIt) {
  ASSERT_NE(AddStarImage(24), nullptr);
  Settings.quantity = 2;
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  Star* first = Stars()[0];
  Star* last = lastGeneratedStar;
  ASSERT_EQ(last, Stars()[1]);
  DestroyStar(first);
  EXPECT_EQ(lastGeneratedStar, last);
  DestroyStar(last);
  EXPECT_EQ(lastGeneratedStar, nullptr);
  EXPECT_TRUE(Stars().empty());
  DestroyStar(nullptr);
  EXPECT_EQ(starListHead->next, starListTail);
}

TEST_F(StarPool, LookUpsAndCounts) {
  ASSERT_NE(AddStarImage(24), nullptr);
  Settings.quantity = 3;
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  std::vector<Star*> stars = Stars();
  EXPECT_EQ(GetStarByHWND(stars[1]->window->hwnd), stars[1]);
  EXPECT_EQ(GetStarByHWND(owner.handle()), nullptr);
  EXPECT_EQ(GetStarByHWND(nullptr), nullptr);

  EXPECT_EQ(EnsureManyStars(), 0);
  stars[0]->window->grabbed = 1;
  EXPECT_EQ(EnsureManyStars(), 0);
  stars[2]->window->grabbed = 1;
  EXPECT_EQ(EnsureManyStars(), 1);
}

TEST_F(StarPool, StarWithoutAWindowIsNeverFoundByANullHandle) {
  ASSERT_NE(AddStarImage(24), nullptr);
  mainWindow = reinterpret_cast<HWND>(0x7FFF0);  // no such window: creation fails
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  mainWindow = owner.handle();
  ASSERT_EQ(Stars().size(), 1u);
  Star* star = Stars()[0];
  EXPECT_EQ(star->window->hwnd, nullptr);
  EXPECT_EQ(GetStarByHWND(nullptr), nullptr);
  // It still flies, rests and returns to the pool.
  for (int tick = 0; tick < 7 && star->inUse; ++tick) MoveStar();
  EXPECT_EQ(star->inUse, 0u);
}

TEST_F(StarPool, NoPictureMeansNoStarsAndNoEndlessDrawing) {
  Settings.quantity = 5;
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  GenerateStars(PWM_HOOK_MOVE, 300, 300);
  EXPECT_TRUE(Stars().empty());
}

TEST(StoppedStarField, OperationsDoNothingWithoutAList) {
  ASSERT_EQ(starListHead, nullptr);
  EXPECT_EQ(CreateNewStar(1, 2, 0), nullptr);
  EXPECT_EQ(GetStarByHWND(GetDesktopWindow()), nullptr);
  EXPECT_EQ(EnsureManyStars(), 0);
  Star loose{};
  RecycleStar(&loose, 5, 6);
  EXPECT_EQ(loose.inUse, 0u);
  MoveStar();
  FreeStarList();
}

}  // namespace
