#include <gtest/gtest.h>
#include <windows.h>

#include "star_artwork_support.h"
#include "stars/win32/win32_star_field.h"

namespace {

using ConnectedStars = StarGroupTest;

// The digit that a number picture shows in its bottom-right cell, -1 if none.
int LastDigitShown(const Star* star, int cellWidth, int cellHeight) {
  if (!WindowOf(star)->OwnsPicture()) return -1;
  DcPixels pixels = PixelsOf(WindowOf(star)->SourceDC());
  uint32_t colour =
      pixels.At(pixels.width - cellWidth + kDigitLeft, pixels.height - cellHeight + kDigitTop);
  for (int digit = 0; digit < 10; ++digit) {
    if (colour == DigitColour(digit)) return digit;
  }
  return -1;
}

TEST_F(ConnectedStars, DropWithinAThirdOfTheFrameJoinsAndShowsTheCount) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* group = GrabbedStar(0, 300, 300);
  Star* close = GrabbedStar(0, 323, 300);
  HWND closeWindow = WindowOf(close)->Handle();
  Star* distant = GrabbedStar(0, 700, 300);
  Star* justApart = GrabbedStar(0, 724, 300);

  EXPECT_EQ(field.ConnectStar(closeWindow), group);
  EXPECT_EQ(group->count, 2);
  EXPECT_EQ(LastDigitShown(group, 24, 32), 2);
  EXPECT_EQ(field.GetStarByHWND(closeWindow), nullptr);
  // The group keeps its window and place.
  EXPECT_EQ(Corner(group).x, 300);
  EXPECT_EQ(Corner(group).y, 300);
  // The second report of the same release finds no star any more.
  EXPECT_EQ(field.ConnectStar(closeWindow), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(closeWindow); }));

  // At 24 pixels the stars stay apart, and the dropped star comes back.
  EXPECT_EQ(field.ConnectStar(WindowOf(justApart)->Handle()), justApart);
  EXPECT_EQ(distant->count, 1);
  EXPECT_EQ(justApart->count, 1);
  EXPECT_FALSE(WindowOf(distant)->OwnsPicture());
  EXPECT_EQ(Stars().size(), 3u);

  EXPECT_EQ(field.ConnectStar(owner.handle()), nullptr);  // no star's window
}

TEST_F(ConnectedStars, FirstGrabbedPartnerInListOrderWinsAndTheDroppedStarNeedNotBeGrabbed) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* notGrabbed = field.Pool().CreateNewStar(0, 0, 0);
  WindowOf(notGrabbed)->MoveTo(POINT{400, 400});
  Star* first = GrabbedStar(0, 410, 400);
  Star* second = GrabbedStar(0, 400, 410);
  Star* dropped = field.Pool().CreateNewStar(0, 0, 0);
  WindowOf(dropped)->MoveTo(POINT{405, 405});

  EXPECT_EQ(field.ConnectStar(WindowOf(dropped)->Handle()), first);
  EXPECT_EQ(first->count, 2);
  EXPECT_EQ(second->count, 1);
  EXPECT_EQ(notGrabbed->count, 1);  // only a grabbed star takes others in
}

TEST_F(ConnectedStars, DifferentImagesNeverJoin) {
  ASSERT_NE(AddStarImage(72), nullptr);
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* a = GrabbedStar(0, 300, 300);
  Star* b = GrabbedStar(1, 300, 300);
  EXPECT_EQ(field.ConnectStar(WindowOf(b)->Handle()), b);
  EXPECT_EQ(field.ConnectStar(WindowOf(a)->Handle()), a);
  field.AllTogetherStar(WindowOf(a)->Handle());
  EXPECT_EQ(Stars().size(), 2u);
  EXPECT_EQ(a->count, 1);
  EXPECT_EQ(b->count, 1);
}

TEST_F(ConnectedStars, JoiningPastNineHundredNinetyNineShowsItAndSetsOffEveryGrabbedStar) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* bystander = GrabbedStar(0, 100, 100);
  Star* group = GrabbedStar(0, 300, 300);
  Star* dropped = GrabbedStar(0, 310, 310);
  Star* moving = field.Pool().CreateNewStar(600, 600, 0);
  group->count = 600;
  dropped->count = 500;

  EXPECT_EQ(field.ConnectStar(WindowOf(dropped)->Handle()), group);
  EXPECT_EQ(group->count, 1100);
  DcPixels pixels = PixelsOf(WindowOf(group)->SourceDC());
  ASSERT_NE(pixels.bits, nullptr);
  for (int x : {48, 31, 14}) {
    EXPECT_EQ(pixels.At(x + kDigitLeft, 40 + kDigitTop), DigitColour(9)) << "x " << x;
  }
  EXPECT_EQ(bystander->bombing, 1u);
  EXPECT_EQ(bystander->bombCountdown, 7);
  EXPECT_EQ(group->bombing, 1u);
  EXPECT_EQ(group->bombCountdown, 6);
  EXPECT_EQ(moving->bombing, 0u);
}

TEST_F(ConnectedStars, TidyUpLeavesOneGrabbedStarPerImageWithTheSum) {
  ASSERT_NE(AddStarImage(72), nullptr);
  ASSERT_NE(AddStarImage(40), nullptr);
  Star* moving = field.Pool().CreateNewStar(900, 900, 0);
  moving->delay = 10;
  Star* a1 = GrabbedStar(0, 100, 100);
  Star* b1 = GrabbedStar(1, 200, 100);
  Star* a2 = GrabbedStar(0, 300, 100);
  Star* a3 = GrabbedStar(0, 400, 100);
  Star* b2 = GrabbedStar(1, 500, 100);
  a2->count = 5;
  a3->count = 995;  // the sum passes 999: shown as 999, nothing goes off
  b2->count = 3;
  HWND gone[3] = {WindowOf(a2)->Handle(), WindowOf(a3)->Handle(), WindowOf(b2)->Handle()};

  field.AllTogetherStar(WindowOf(b2)->Handle());
  ASSERT_EQ(Stars().size(), 3u);
  EXPECT_EQ(Stars()[0], moving);
  EXPECT_EQ(Stars()[1], a1);
  EXPECT_EQ(Stars()[2], b1);
  EXPECT_EQ(a1->count, 1001);
  EXPECT_EQ(b1->count, 4);
  EXPECT_EQ(moving->count, 1);
  EXPECT_EQ(LastDigitShown(a1, 24, 32), 9);
  EXPECT_EQ(LastDigitShown(b1, 12, 16), 4);
  EXPECT_EQ(a1->bombing, 0u);
  EXPECT_EQ(b1->bombing, 0u);
  // No window moves.
  EXPECT_EQ(Corner(a1).x, 100);
  EXPECT_EQ(Corner(b1).x, 200);
  EXPECT_EQ(Corner(a1).y, 100);
  for (HWND window : gone) EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));

  // Again, with one grabbed star per image: nothing changes.
  field.AllTogetherStar(WindowOf(a1)->Handle());
  EXPECT_EQ(Stars().size(), 3u);
  EXPECT_EQ(a1->count, 1001);
  EXPECT_EQ(b1->count, 4);

  // A handle that is no star's does nothing.
  Star* a4 = GrabbedStar(0, 600, 100);
  field.AllTogetherStar(owner.handle());
  EXPECT_EQ(field.GetStarByHWND(WindowOf(a4)->Handle()), a4);
}

}  // namespace
