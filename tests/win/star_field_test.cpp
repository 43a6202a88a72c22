#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "cells/private_messages.h"
#include "star_test_support.h"
#include "stars/motion_rules.h"

namespace {

// With two pictures, a draw below 16384 picks the first and one above the second.
constexpr int32_t kFirstImage = 1000;
constexpr int32_t kSecondImage = 30000;

using StarPool = StarFieldTest;

TEST_F(StarPool, ClickMakesQuantityStarsAndAMoveMakesOne) {
  ASSERT_NE(AddStarImage(72), nullptr);
  settings.quantity = 3;
  field.GenerateStars(InputKind::kClick, 400, 300);
  std::vector<Star*> stars = Stars();
  ASSERT_EQ(stars.size(), 3u);
  EXPECT_EQ(field.Pool().lastGeneratedStar, stars.back());
  for (Star* s : stars) {
    HWND w = WindowOf(s)->Handle();
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

  field.GenerateStars(InputKind::kMove, 100, 100);
  EXPECT_EQ(Stars().size(), 4u);
  EXPECT_EQ(field.Pool().lastGeneratedStar, Stars().back());

  settings.quantity = 0;
  field.GenerateStars(InputKind::kClick, 100, 100);
  field.GenerateStars(InputKind::kMove, 100, 100);
  EXPECT_EQ(Stars().size(), 4u);
}

TEST_F(StarPool, KeyEventMakesStarsButLeavesNoLastGeneratedStar) {
  ASSERT_NE(AddStarImage(48), nullptr);
  settings.quantity = 2;
  field.GenerateStars(InputKind::kClick, 200, 200);
  ASSERT_NE(field.Pool().lastGeneratedStar, nullptr);
  field.GenerateStars(InputKind::kKey, 200, 240);
  EXPECT_EQ(Stars().size(), 4u);
  EXPECT_EQ(field.Pool().lastGeneratedStar, nullptr);
}

TEST_F(StarPool, RestingStarIsHiddenAndReusedOnlyForItsOwnImage) {
  ASSERT_NE(AddStarImage(72), nullptr);
  ASSERT_NE(AddStarImage(40), nullptr);
  NextDrawIs(kFirstImage);
  field.GenerateStars(InputKind::kClick, 500, 500);
  ASSERT_EQ(Stars().size(), 1u);
  Star* first = Stars()[0];
  HWND firstWindow = WindowOf(first)->Handle();
  ASSERT_EQ(first->imageIndex, 0);

  // Speeds are at most 45: six halvings bring any component to 0.
  for (int tick = 0; tick < 7 && first->inUse; ++tick) field.MoveStar();
  ASSERT_EQ(first->inUse, 0u);
  EXPECT_FALSE(IsWindowVisible(firstWindow));
  EXPECT_EQ(field.GetStarByHWND(firstWindow), first);  // found while free, too

  // Another picture never takes the free star.
  NextDrawIs(kSecondImage);
  field.GenerateStars(InputKind::kClick, 500, 500);
  ASSERT_EQ(Stars().size(), 2u);
  Star* second = Stars()[1];
  EXPECT_EQ(second->imageIndex, 1);
  EXPECT_NE(WindowOf(second)->Handle(), firstWindow);
  EXPECT_EQ(first->inUse, 0u);

  // The same picture reuses it: same record, same window, shown again.
  first->chained = 1;
  first->count = 7;
  NextDrawIs(kFirstImage);
  field.GenerateStars(InputKind::kClick, 100, 100);
  ASSERT_EQ(Stars().size(), 2u);
  EXPECT_EQ(Stars()[0], first);
  EXPECT_EQ(WindowOf(first)->Handle(), firstWindow);
  EXPECT_EQ(first->inUse, 1u);
  EXPECT_EQ(first->chained, 0u);
  EXPECT_EQ(first->count, 1);
  EXPECT_TRUE(IsWindowVisible(firstWindow));
  RECT r = WindowRect(firstWindow);
  EXPECT_EQ(r.left, first->x);
  EXPECT_EQ(r.top, first->y);
  EXPECT_EQ(field.Pool().lastGeneratedStar, first);
}

TEST_F(StarPool, StarsRestingOffTheScreenAreFreeLikeAnyOther) {
  ASSERT_NE(AddStarImage(32), nullptr);
  field.GenerateStars(InputKind::kClick, -500, -500);
  Star* star = Stars()[0];
  for (int tick = 0; tick < 7 && star->inUse; ++tick) field.MoveStar();
  EXPECT_EQ(star->inUse, 0u);
  EXPECT_FALSE(IsWindowVisible(WindowOf(star)->Handle()));
}

TEST_F(StarPool, DelayedStarWaitsThenFliesWithItsSpeed) {
  ASSERT_NE(AddStarImage(72), nullptr);
  field.GenerateStars(InputKind::kClick, 600, 400);
  Star* star = Stars()[0];
  HWND w = WindowOf(star)->Handle();
  star->delay = 3;
  RECT start = WindowRect(w);
  int32_t vx = star->vx, vy = star->vy;
  for (int tick = 0; tick < 3; ++tick) {
    field.MoveStar();
    RECT now = WindowRect(w);
    EXPECT_EQ(now.left, start.left);
    EXPECT_EQ(now.top, start.top);
  }
  field.MoveStar();
  RECT moved = WindowRect(w);
  EXPECT_EQ(moved.left, start.left + vx);
  EXPECT_EQ(moved.top, start.top + vy);
  EXPECT_EQ(star->vx, vx / 2);
}

TEST_F(StarPool, EachTickAdvancesTheAnimationFrame) {
  ASSERT_NE(AddStarImage(16, 3), nullptr);
  field.GenerateStars(InputKind::kClick, 600, 400);
  Star* star = Stars()[0];
  EXPECT_EQ(WindowOf(star)->FrameIndex(), 0);
  field.MoveStar();
  EXPECT_EQ(WindowOf(star)->FrameIndex(), 1);
}

TEST_F(StarPool, AnimatedPictureAdvancesFramesOnlyWhileMoving) {
  ASSERT_NE(AddStarImage(16, 3), nullptr);
  field.GenerateStars(InputKind::kClick, 300, 300);
  PupilWindow* window = WindowOf(Stars()[0]);
  ASSERT_EQ(window->FrameCount(), 3);
  ASSERT_EQ(window->FrameIndex(), 0);
  Stars()[0]->vx = 40;
  Stars()[0]->vy = 40;

  ValidateRect(window->Handle(), nullptr);
  field.MoveStar();
  EXPECT_EQ(window->FrameIndex(), 1);
  EXPECT_TRUE(GetUpdateRect(window->Handle(), nullptr, FALSE));  // repaints with the new frame
  ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(window->Handle(), nullptr, FALSE); }));

  Stars()[0]->delay = 1;
  field.MoveStar();
  EXPECT_EQ(window->FrameIndex(), 1);
  EXPECT_FALSE(GetUpdateRect(window->Handle(), nullptr, FALSE));
  field.MoveStar();
  field.MoveStar();
  EXPECT_EQ(window->FrameIndex(), 0);  // wrapped after the third frame

  window->MarkGrabbed();
  field.MoveStar();
  EXPECT_EQ(window->FrameIndex(), 0);
}

TEST_F(StarPool, SingleFramePictureIsNeverInvalidatedByMotion) {
  ASSERT_NE(AddStarImage(24), nullptr);
  field.GenerateStars(InputKind::kClick, 300, 300);
  PupilWindow* window = WindowOf(Stars()[0]);
  ValidateRect(window->Handle(), nullptr);
  field.MoveStar();
  EXPECT_FALSE(GetUpdateRect(window->Handle(), nullptr, FALSE));
  EXPECT_EQ(window->FrameIndex(), 0);
}

TEST_F(StarPool, ChainedStarGettingAwayResetsTheChain) {
  ASSERT_NE(AddStarImage(24), nullptr);
  field.GenerateStars(InputKind::kClick, 300, 300);
  Star* star = Stars()[0];
  star->chained = 1;
  field.Chase().chainValue = 64;
  for (int tick = 0; tick < 7 && star->inUse; ++tick) field.MoveStar();
  EXPECT_EQ(star->inUse, 0u);
  EXPECT_EQ(field.Chase().chainValue, 1);
}

TEST_F(StarPool, NumberedStarComingToRestIsDestroyedNotPooled) {
  ASSERT_NE(AddStarImage(24), nullptr);
  field.GenerateStars(InputKind::kClick, 300, 300);
  Star* star = Stars()[0];
  PupilWindow* window = WindowOf(star);
  HWND w = window->Handle();
  // A number picture of the window's own, as the count display makes it.
  ASSERT_NE(window->MakeOwnPicture(24, 24), nullptr);
  HBITMAP picture = window->OwnPictureBitmap();

  for (int tick = 0; tick < 7 && !Stars().empty(); ++tick) field.MoveStar();
  EXPECT_TRUE(Stars().empty());
  EXPECT_EQ(field.GetStarByHWND(w), nullptr);
  EXPECT_FALSE(IsWindowVisible(w));
  // The picture was deleted: GDI no longer knows it.
  BITMAP info;
  EXPECT_EQ(GetObjectA(picture, sizeof info, &info), 0);
}

TEST_F(StarPool, DestroyingTheLastGeneratedStarClearsIt) {
  ASSERT_NE(AddStarImage(24), nullptr);
  settings.quantity = 2;
  field.GenerateStars(InputKind::kClick, 300, 300);
  Star* first = Stars()[0];
  Star* last = field.Pool().lastGeneratedStar;
  ASSERT_EQ(last, Stars()[1]);
  field.Pool().DestroyStar(first);
  EXPECT_EQ(field.Pool().lastGeneratedStar, last);
  field.Pool().DestroyStar(last);
  EXPECT_EQ(field.Pool().lastGeneratedStar, nullptr);
  EXPECT_TRUE(Stars().empty());
  field.Pool().DestroyStar(nullptr);
  EXPECT_EQ(field.Pool().starListHead->next, field.Pool().starListTail);
}

TEST_F(StarPool, LookUpsAndCounts) {
  ASSERT_NE(AddStarImage(24), nullptr);
  settings.quantity = 3;
  field.GenerateStars(InputKind::kClick, 300, 300);
  std::vector<Star*> stars = Stars();
  EXPECT_EQ(field.GetStarByHWND(WindowOf(stars[1])->Handle()), stars[1]);
  EXPECT_EQ(field.GetStarByHWND(owner.handle()), nullptr);
  EXPECT_EQ(field.GetStarByHWND(nullptr), nullptr);

  EXPECT_EQ(field.EnsureManyStars(), 0);
  WindowOf(stars[0])->MarkGrabbed();
  EXPECT_EQ(field.EnsureManyStars(), 0);
  WindowOf(stars[2])->MarkGrabbed();
  EXPECT_EQ(field.EnsureManyStars(), 1);
}

TEST_F(StarPool, StarWithoutAWindowIsNeverFoundByANullHandle) {
  ASSERT_NE(AddStarImage(24), nullptr);
  // No such owner window: creation fails.
  Win32StarField orphan{StarFieldHost{reinterpret_cast<HWND>(0x7FFF0), nullptr, &UiTexts, &settings}};
  ASSERT_EQ(orphan.Pool().CreateStarList(), 1);
  ASSERT_NE(::AddStarImage(&orphan.StarImageList, 24), nullptr);
  orphan.GenerateStars(InputKind::kClick, 300, 300);
  ASSERT_EQ(orphan.StarCount(), 1);
  Star* star = orphan.Pool().starListHead->next;
  EXPECT_EQ(WindowOf(star)->Handle(), nullptr);
  EXPECT_EQ(orphan.GetStarByHWND(nullptr), nullptr);
  // It still flies, rests and returns to the pool.
  for (int tick = 0; tick < 7 && star->inUse; ++tick) orphan.MoveStar();
  EXPECT_EQ(star->inUse, 0u);
}

TEST_F(StarPool, NoPictureMeansNoStarsAndNoEndlessDrawing) {
  settings.quantity = 5;
  field.GenerateStars(InputKind::kClick, 300, 300);
  field.GenerateStars(InputKind::kMove, 300, 300);
  EXPECT_TRUE(Stars().empty());
}

// Whether `upper` stands above `lower` in the z-order.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND w = GetWindow(lower, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV)) {
    if (w == upper) return true;
  }
  return false;
}

// Ticks until nothing moves; the number of ticks, or -1 after 20.
int TicksUntilRest(Win32StarField& field) {
  for (int tick = 1; tick <= 20; ++tick) {
    field.MoveStar();
    if (!field.TimerRunning()) return tick;
  }
  return -1;
}

TEST_F(StarPool, TheMotionTimerRunsOnlyWhileSomethingMovesOrBombs) {
  ASSERT_NE(AddStarImage(24), nullptr);
  EXPECT_FALSE(field.TimerRunning()) << "an empty field sets no timer";
  field.GenerateStars(InputKind::kClick, 300, 300);
  EXPECT_TRUE(field.TimerRunning()) << "a new star starts it";
  Star* star = Stars()[0];
  int ticks = TicksUntilRest(field);
  EXPECT_GT(ticks, 1);
  EXPECT_EQ(star->inUse, 0u) << "it stops in the tick the last star rests";
  EXPECT_FALSE(KillTimer(owner.handle(), STAR_TIMER_ID)) << "the owner's timer is gone too";

  field.GenerateStars(InputKind::kClick, 300, 300);
  EXPECT_EQ(Stars().size(), 1u);
  EXPECT_TRUE(field.TimerRunning()) << "a recycled star starts it";
  WindowOf(star)->MarkGrabbed();
  field.MoveStar();
  EXPECT_FALSE(field.TimerRunning()) << "a caught star does not move";

  field.ConnectStar(WindowOf(star)->Handle());
  EXPECT_TRUE(field.TimerRunning()) << "a drop starts it";
  field.MoveStar();
  EXPECT_FALSE(field.TimerRunning());

  field.BombStar(star);
  EXPECT_TRUE(field.TimerRunning()) << "a bomb starts it";
  EXPECT_GT(TicksUntilRest(field), 1) << "and it runs until the star is gone";
  EXPECT_TRUE(Stars().empty());

  field.GenerateStars(InputKind::kClick, 300, 300);
  WindowOf(Stars()[0])->MarkGrabbed();
  field.MoveStar();
  ASSERT_FALSE(field.TimerRunning());
  field.BeginBomb();
  EXPECT_TRUE(field.TimerRunning()) << "erasing all starts it";
}

TEST_F(StarPool, ADueTickRunsFromTheInputPath) {
  ASSERT_NE(AddStarImage(24), nullptr);
  field.GenerateStars(InputKind::kClick, 300, 300);
  Star* star = Stars()[0];
  const int32_t x = star->x;
  DWORD shown = field.LastTick();
  field.RunDueTick(shown + STAR_TIMER_INTERVAL - 1);
  EXPECT_EQ(star->x, x) << "not due yet";
  field.RunDueTick(shown + STAR_TIMER_INTERVAL);
  EXPECT_NE(star->x, x) << "a period old: the tick runs";
  TicksUntilRest(field);
  const int32_t rested = star->x;
  field.RunDueTick(GetTickCount() + 10 * STAR_TIMER_INTERVAL);
  EXPECT_EQ(star->x, rested) << "no tick without a timer";
}

TEST_F(StarPool, OneEventMakesAtMost99Stars) {
  ASSERT_NE(AddStarImage(8), nullptr);
  settings.quantity = 99999;
  field.GenerateStars(InputKind::kClick, 300, 300);
  EXPECT_EQ(field.StarCount(), 99);
  EXPECT_EQ(settings.quantity, 99999) << "the stored value is left as it is";
}

TEST_F(StarPool, AtTheWindowBoundAFlyingStarOfThePictureIsReused) {
  ASSERT_NE(AddStarImage(24), nullptr);
  field.LimitStarWindows(5);
  settings.quantity = 3;
  field.GenerateStars(InputKind::kClick, 100, 100);
  field.MoveStar();
  std::vector<Star*> first = Stars();
  field.GenerateStars(InputKind::kClick, 900, 700);
  std::vector<Star*> stars = Stars();
  ASSERT_EQ(stars.size(), 5u);
  EXPECT_EQ(stars[0], first[0]);
  EXPECT_GT(first[0]->x, 700) << "the oldest flight starts again at the new point";
  EXPECT_TRUE(IsWindowVisible(WindowOf(first[0])->Handle()));
  EXPECT_EQ(field.Pool().lastGeneratedStar, first[0]);

  // Caught stars are never taken: with all five caught, a click makes none.
  for (Star* s : stars) WindowOf(s)->MarkGrabbed();
  field.GenerateStars(InputKind::kClick, 500, 500);
  EXPECT_EQ(field.StarCount(), 5);
  EXPECT_EQ(field.Pool().lastGeneratedStar, nullptr);
}

TEST_F(StarPool, ADraggedStarRisesAboveFlyingOnesThatTickBeneathIt) {
  ASSERT_NE(AddStarImage(24), nullptr);
  settings.quantity = 3;
  field.GenerateStars(InputKind::kClick, 300, 300);
  std::vector<Star*> stars = Stars();
  HWND caught = WindowOf(stars[0])->Handle();
  HWND middle = WindowOf(stars[1])->Handle();
  HWND top = WindowOf(stars[2])->Handle();
  ASSERT_TRUE(IsAbove(top, middle)) << "shown later, above";
  ASSERT_TRUE(IsAbove(middle, caught));
  SendMessageA(caught, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(caught, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(9, 9));
  EXPECT_TRUE(IsAbove(caught, top)) << "its first drag step raises it";
  SendMessageA(caught, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(12, 12));
  SendMessageA(caught, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  field.MoveStar();
  field.MoveStar();
  EXPECT_TRUE(IsAbove(caught, top)) << "the flying stars move beneath it";
  EXPECT_TRUE(IsAbove(caught, middle));
  EXPECT_TRUE(IsAbove(top, middle)) << "no restack";
}

TEST_F(StarPool, ACloseFromOutsideLeavesNoStarWithoutItsWindow) {
  ASSERT_NE(AddStarImage(24), nullptr);
  settings.quantity = 2;
  field.GenerateStars(InputKind::kClick, 300, 300);
  std::vector<Star*> stars = Stars();
  for (Star* s : stars) WindowOf(s)->MarkGrabbed();
  HWND w = WindowOf(stars[0])->Handle();
  SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4 on the active star
  SendMessageA(w, WM_CLOSE, 0, 0);              // another program's close
  ASSERT_TRUE(IsWindow(w));
  EXPECT_EQ(field.GetStarByHWND(w), stars[0]);
  EXPECT_EQ(field.EnsureManyStars(), 1) << "both caught stars still count, both with windows";
  field.AllTogetherStar(w);
  ASSERT_EQ(Stars().size(), 1u);
  EXPECT_EQ(Stars()[0]->count, 2) << "the join lost no star";
  // The field's own close still closes it.
  field.Pool().DestroyStar(Stars()[0]);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
}

TEST(StoppedStarField, OperationsDoNothingWithoutAList) {
  SettingsRecord settings{};
  Win32StarField field{StarFieldHost{nullptr, nullptr, &UiTexts, &settings}};
  ASSERT_EQ(field.Pool().starListHead, nullptr);
  EXPECT_EQ(field.Pool().CreateNewStar(1, 2, 0), nullptr);
  EXPECT_EQ(field.GetStarByHWND(GetDesktopWindow()), nullptr);
  EXPECT_EQ(field.EnsureManyStars(), 0);
  Star loose{};
  field.Pool().RecycleStar(&loose, 5, 6);
  EXPECT_EQ(loose.inUse, 0u);
  field.MoveStar();
  field.Pool().FreeStarList();
}

TEST(Win32FieldHost, MonitorMetricsNameTheNearestScreenAndItsDpi) {
  SettingsRecord settings{};
  Win32PictureShelf shelf;
  Win32FieldHost host(StarFieldHost{nullptr, nullptr, &UiTexts, &settings}, &shelf);
  MonitorMetrics on = host.MonitorAt(PixelPoint{10, 10});
  EXPECT_EQ(on.left, 0);
  EXPECT_EQ(on.top, 0);
  EXPECT_EQ(on.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(on.bottom, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(on.dpi, 96) << "an unscaled display";
  MonitorMetrics off = host.MonitorAt(PixelPoint{-5000, 90000});
  EXPECT_EQ(off.right, on.right) << "a point off every screen takes the nearest";
  EXPECT_FALSE(host.StartTicks()) << "no owner window, no ticks";
}

// The shell asks the field whether it reacts: a start turns the reaction on,
// disabling and enabling switch it, a stop ends it.
TEST(StoppedStarField, TheShellAsksWhetherTheFieldReacts) {
  SettingsRecord settings{};
  Win32StarField field{StarFieldHost{nullptr, nullptr, &UiTexts, &settings}};
  EXPECT_FALSE(field.Reacting());
  field.StartPipwink();
  EXPECT_TRUE(field.Reacting());
  field.DisablePipwink();
  EXPECT_FALSE(field.Reacting());
  field.EnablePipwink();
  EXPECT_TRUE(field.Reacting());
  field.StopPipwink();
  EXPECT_FALSE(field.Reacting());
}

}  // namespace
