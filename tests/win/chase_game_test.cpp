#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "cells/private_messages.h"
#include "star_artwork_support.h"
#include "stars/win32/win32_star_field.h"

namespace {

// The owner hands the first press on a star to the chase game, as the main
// window does.
class ChaseGame : public StarGroupTest {
 protected:
  void SetUp() override {
    StarGroupTest::SetUp();
    owner.onMessage = [this](UINT message, WPARAM, LPARAM lParam) {
      if (message == PWM_STAR_GRABBED) field.GrabStar(reinterpret_cast<HWND>(lParam));
    };
    ASSERT_NE(AddStarImage(72), nullptr);
  }

  // A click far from the others (so that no stars overlap); returns its star.
  Star* Click(int round) {
    field.GenerateStars(InputKind::kClick, 150 + 250 * (round % 5), 150 + 250 * (round / 5));
    return field.Pool().lastGeneratedStar;
  }

  static void Press(const Star* star) {
    HWND window = WindowOf(star)->Handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }

  // The last digit of the number a star shows, -1 for none.
  static int LastDigitShown(const Star* star) {
    if (!WindowOf(star)->OwnsPicture()) return -1;
    DcPixels pixels = PixelsOf(WindowOf(star)->SourceDC());
    uint32_t colour = pixels.At(48 + kDigitLeft, 40 + kDigitTop);
    for (int digit = 0; digit < 10; ++digit) {
      if (colour == DigitColour(digit)) return digit;
    }
    return -1;
  }
};

TEST_F(ChaseGame, EleventhGrabInARowShows999AndSetsOffEveryGrabbedStar) {
  std::vector<Star*> made{Click(0)};
  const int lastDigits[11] = {-1, -1, 2, 4, 8, 6, 2, 4, 8, 6, 2};
  for (int round = 1; round <= 10; ++round) {
    made.push_back(Click(round));
    Press(made[round - 1]);
    // The press marks the star this click made as the one to catch.
    EXPECT_EQ(made[round]->chained, 1u);
    EXPECT_EQ(made[round]->delay, 3);
    if (round >= 2) {
      EXPECT_EQ(made[round - 1]->count, 1 << (round - 1));
    }
    EXPECT_EQ(LastDigitShown(made[round - 1]), lastDigits[round]) << "round " << round;
  }
  EXPECT_EQ(made[0]->count, 1);  // it was never the chased star
  EXPECT_EQ(field.Chase().chainValue, 1024);
  for (Star* s : made) EXPECT_EQ(s->bombing, 0u);

  made.push_back(Click(11));
  Press(made[10]);
  EXPECT_EQ(made[10]->count, 1024);
  DcPixels pixels = PixelsOf(WindowOf(made[10])->SourceDC());
  for (int x : {48, 31, 14}) {
    EXPECT_EQ(pixels.At(x + kDigitLeft, 40 + kDigitTop), DigitColour(9)) << "x " << x;
  }
  EXPECT_EQ(field.Chase().chainValue, 1);
  // All eleven grabbed stars go off, the head's last; the new chased star
  // is still flying and is left alone.
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(made[i]->bombing, 1u) << "star " << i;
    EXPECT_EQ(made[i]->bombCountdown, 16 - i) << "star " << i;
  }
  EXPECT_EQ(made[11]->bombing, 0u);
}

TEST_F(ChaseGame, ChainedStarThatGetsAwayResetsTheChain) {
  Star* first = Click(0);
  Star* chased = Click(1);
  Press(first);
  Star* target = Click(2);
  Press(chased);
  ASSERT_EQ(chased->count, 2);
  ASSERT_EQ(field.Chase().chainValue, 4);
  Star* unchained = field.Pool().CreateNewStar(1000, 800, 0);

  // The target hovers for three ticks, then flies.
  POINT start = Corner(target);
  for (int tick = 1; tick <= 3; ++tick) {
    field.MoveStar();
    EXPECT_EQ(Corner(target).x, start.x);
    EXPECT_EQ(Corner(target).y, start.y);
  }
  field.MoveStar();
  EXPECT_NE(Corner(target).x, start.x);

  // An unchained star coming to rest leaves the chain as it is (it rests
  // within six ticks; the target flies for at least four after hovering).
  for (int tick = 5; tick <= 6; ++tick) field.MoveStar();
  ASSERT_EQ(unchained->inUse, 0u);
  ASSERT_EQ(target->inUse, 1u);
  EXPECT_EQ(field.Chase().chainValue, 4);

  for (int tick = 7; tick <= 12 && target->inUse; ++tick) field.MoveStar();
  EXPECT_EQ(target->inUse, 0u);
  EXPECT_EQ(field.Chase().chainValue, 1);
}

TEST_F(ChaseGame, WithoutTheClickReactionTheGrabbedStarMayBeTheChasedOne) {
  // A mouse movement made the star; the press on it makes no new star.
  field.GenerateStars(InputKind::kMove, 400, 400);
  Star* star = field.Pool().lastGeneratedStar;
  ASSERT_NE(star, nullptr);
  Press(star);
  EXPECT_EQ(star->chained, 1u);
  EXPECT_EQ(star->count, 1);  // the chain value 1: no number
  EXPECT_FALSE(WindowOf(star)->OwnsPicture());
  EXPECT_EQ(field.Chase().chainValue, 2);

  // A press on a window that is no star's only marks the last star.
  star->chained = 0;
  field.GrabStar(owner.handle());
  EXPECT_EQ(star->chained, 1u);
  EXPECT_EQ(field.Chase().chainValue, 2);
}

}  // namespace
