// The star field's parts without a platform: a fake host and fake surfaces
// stand in for windows, timer and clock.
#include <gtest/gtest.h>

#include <vector>

#include "base/settings.h"
#include "cells/private_messages.h"
#include "star_field_parts_fakes.h"
#include "stars/chase_numbers.h"
#include "stars/random_source.h"
#include "stars/star_bombs.h"
#include "stars/star_groups.h"
#include "stars/star_motion.h"
#include "stars/star_pool.h"
#include "stars/star_ticker.h"

namespace {

class StarFieldParts : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.quantity = 1;
    settings.moveRange = 70;
    SeedRandomSource(20240601u);
    ASSERT_EQ(pool.CreateStarList(), 1);
  }

  std::vector<Star*> Stars() const {
    std::vector<Star*> stars;
    for (Star* s = pool.starListHead->next; s != pool.starListTail; s = s->next) stars.push_back(s);
    return stars;
  }
  SurfaceRecord& Window(int k) { return *host.surfaces.at(k); }
  // Ticks until nothing moves; the number of ticks, or -1 after 20.
  int TicksUntilRest() {
    for (int tick = 1; tick <= 20; ++tick) {
      motion.MoveStar();
      if (!ticker.Running()) return tick;
    }
    return -1;
  }
  // Two caught stars of the first picture, their corners given.
  std::vector<Star*> TwoCaughtAt(PixelPoint a, PixelPoint b) {
    settings.quantity = 2;
    pool.GenerateStars(InputKind::kClick, 300, 300);
    std::vector<Star*> stars = Stars();
    Window(0).grabbed = Window(1).grabbed = true;
    Window(0).at = a;
    Window(1).at = b;
    return stars;
  }

  SettingsRecord settings{};
  FakeHost host;
  StarTicker ticker{host};
  StarPool pool{host, ticker, &settings};
  StarBombs bombs{pool, ticker};
  ChaseNumbers chase{pool, bombs};
  StarGroups groups{host, pool, ticker, bombs, chase};
  StarMotion motion{pool, ticker, bombs, chase};
};

TEST_F(StarFieldParts, ThePoolMakesShowsReusesAndClosesSurfaces) {
  settings.quantity = 3;
  pool.GenerateStars(InputKind::kClick, 400, 300);
  ASSERT_EQ(Stars().size(), 3u);
  EXPECT_EQ(pool.lastGeneratedStar, Stars().back());
  for (int k = 0; k < 3; ++k) {
    EXPECT_TRUE(Window(k).shown) << k;
    EXPECT_EQ(Window(k).at.x, Stars()[k]->x) << "launched at its start corner";
  }
  EXPECT_TRUE(host.ticking) << "a new star starts the ticks";
  EXPECT_EQ(pool.GetStarByHandle(Window(1).handle), Stars()[1]);
  EXPECT_EQ(pool.GetStarByHandle(0), nullptr);

  EXPECT_GT(TicksUntilRest(), 1);
  EXPECT_FALSE(host.ticking) << "the ticks stop in the tick the last star rests";
  for (Star* s : Stars()) EXPECT_EQ(s->inUse, 0u);
  EXPECT_FALSE(Window(0).shown) << "a resting star waits hidden";

  pool.GenerateStars(InputKind::kKey, 10, 10);
  EXPECT_EQ(host.surfaces.size(), 3u) << "resting stars are reused with their windows";
  EXPECT_EQ(pool.lastGeneratedStar, nullptr) << "a key leaves no chase target";

  Star* first = Stars()[0];
  pool.DestroyStar(first);
  EXPECT_TRUE(Window(0).closed) << "a destroyed star's window goes with it";
  EXPECT_FALSE(Window(0).shown);
  pool.FreeStarList();
  EXPECT_TRUE(Window(1).closed && Window(2).closed);
}

TEST_F(StarFieldParts, AScaledDisplayScalesTheStartSpeedsAndSoTheFlight) {
  // The same draws at 96 and at 144 DPI: each speed component half again,
  // rounded away from zero, so the burst spreads half again as far.
  pool.GenerateStars(InputKind::kClick, 300, 300);
  const int32_t plainVx = Stars().at(0)->vx, plainVy = Stars().at(0)->vy;
  pool.DestroyStar(Stars().at(0));
  SeedRandomSource(20240601u);
  host.dpi = 144;
  pool.GenerateStars(InputKind::kClick, 300, 300);
  const Star& scaled = *Stars().at(0);
  EXPECT_EQ(scaled.vx, ScaleToDpi(plainVx, 144));
  EXPECT_EQ(scaled.vy, ScaleToDpi(plainVy, 144));
  EXPECT_GE(scaled.vx < 0 ? -scaled.vx : scaled.vx, 15) << "at least the scaled MINIMUM_SPEED";
  EXPECT_GE(scaled.vy < 0 ? -scaled.vy : scaled.vy, 15);
}

TEST_F(StarFieldParts, AtTheWindowBoundOnlyAFlyingUncaughtStarIsTaken) {
  pool.LimitStarWindows(2);
  settings.quantity = 2;
  pool.GenerateStars(InputKind::kClick, 100, 100);
  pool.GenerateStars(InputKind::kClick, 900, 700);
  EXPECT_EQ(host.surfaces.size(), 2u);
  EXPECT_GT(Stars()[0]->x, 700) << "the oldest flight starts again at the new point";
  Window(0).grabbed = Window(1).grabbed = true;
  pool.GenerateStars(InputKind::kClick, 500, 500);
  EXPECT_EQ(host.surfaces.size(), 2u);
  EXPECT_EQ(pool.lastGeneratedStar, nullptr) << "caught stars are never taken";
  EXPECT_EQ(pool.EnsureManyStars(), 1);
}

// The bound the field keeps by itself (the other cases lower it): a thousand
// windows, however many events ask for more.
TEST_F(StarFieldParts, TheFieldKeepsAtMostAThousandStarWindows) {
  settings.quantity = 9;
  for (int click = 0; click < 150; ++click) pool.GenerateStars(InputKind::kClick, 100 + click, 100);
  EXPECT_EQ(host.surfaces.size(), 1000u);
  EXPECT_EQ(pool.StarCount(), 1000);
}

TEST_F(StarFieldParts, ADueTickRunsFromTheInputPathOnlyWhileTicking) {
  pool.GenerateStars(InputKind::kClick, 300, 300);
  Star* star = Stars()[0];
  const int32_t x = star->x;
  motion.RunDueTick(host.now + STAR_TIMER_INTERVAL - 1);
  EXPECT_EQ(star->x, x) << "not due yet";
  host.now += STAR_TIMER_INTERVAL;
  motion.RunDueTick(host.now);
  EXPECT_NE(star->x, x) << "a period old: the tick runs";
  TicksUntilRest();
  const int32_t rested = star->x;
  motion.RunDueTick(host.now + 10 * STAR_TIMER_INTERVAL);
  EXPECT_EQ(star->x, rested) << "no tick without the ticks";
}

TEST_F(StarFieldParts, ChasedStarsPayMoreAndAnEscapeEndsTheChase) {
  pool.GenerateStars(InputKind::kClick, 300, 300);
  Star* target = Stars()[0];
  chase.GrabStar(nullptr);
  EXPECT_EQ(target->chained, 1u);
  EXPECT_EQ(target->delay, 3) << "the target hovers";
  EXPECT_EQ(chase.chainValue, 1) << "a press on no star pays nothing";

  chase.chainValue = 8;
  Window(0).grabbed = true;
  chase.GrabStar(target);
  EXPECT_EQ(target->count, 8);
  EXPECT_EQ(Window(0).number, 8);
  EXPECT_EQ(chase.chainValue, 16);

  pool.GenerateStars(InputKind::kClick, 300, 300);
  Stars()[1]->chained = 1;
  TicksUntilRest();
  EXPECT_EQ(chase.chainValue, 1) << "the chained star got away";

  chase.chainValue = 1024;
  chase.GrabStar(target);
  EXPECT_EQ(Window(0).number, 999) << "the count shows at most 999";
  EXPECT_EQ(target->bombing, 1u) << "past 999 every caught star goes off";
}

TEST_F(StarFieldParts, BombsGoOffOnePerTickLastInListFirst) {
  std::vector<Star*> stars = TwoCaughtAt({100, 100}, {400, 400});
  motion.MoveStar();
  ASSERT_FALSE(host.ticking);
  bombs.BeginBomb();
  EXPECT_TRUE(host.ticking) << "erasing all starts the ticks";
  EXPECT_EQ(stars[0]->bombCountdown, 7);
  EXPECT_EQ(stars[1]->bombCountdown, 6);
  motion.MoveStar();
  EXPECT_EQ(Window(1).poofFrame, -1) << "armed: the poof starts a tick later";
  motion.MoveStar();
  EXPECT_EQ(Window(0).poofFrame, -1) << "waiting its turn";
  EXPECT_EQ(Window(1).poofFrame, 0);
  EXPECT_EQ(Window(1).poofCentred, 1) << "the first frame is centred on the star";
  for (int tick = 3; tick <= 6; ++tick) motion.MoveStar();
  EXPECT_EQ(Window(1).poofFrame, 4);
  EXPECT_EQ(Window(1).poofCentred, 1) << "later frames stay where the first stood";
  EXPECT_FALSE(Window(1).closed) << "the last frame shows for a tick";
  motion.MoveStar();
  EXPECT_TRUE(Window(1).closed);
  EXPECT_EQ(Stars().size(), 1u);
  motion.MoveStar();
  EXPECT_TRUE(Stars().empty()) << "the other goes a tick later";
  EXPECT_TRUE(Window(0).closed);
  motion.MoveStar();
  EXPECT_FALSE(host.ticking);

  bombs.BombStar(nullptr);
  EXPECT_FALSE(host.ticking);
}

TEST_F(StarFieldParts, ADropJoinsOnlyACloseStarOfThePicture) {
  // Centres 23 pixels apart: a third of 72 is 24.
  std::vector<Star*> stars = TwoCaughtAt({100, 100}, {123, 77});
  Star* group = groups.ConnectStar(stars[1]);
  EXPECT_EQ(group, stars[0]);
  EXPECT_EQ(group->count, 2);
  EXPECT_EQ(Window(0).number, 2);
  EXPECT_TRUE(Window(1).closed) << "the dropped star went into the group";
  EXPECT_TRUE(host.ticking) << "a drop starts the ticks";
  EXPECT_EQ(groups.ConnectStar(nullptr), nullptr);

  settings.quantity = 1;
  pool.GenerateStars(InputKind::kClick, 300, 300);
  Window(2).grabbed = true;
  Window(2).at = PixelPoint{124, 100};  // 24 pixels: too far
  EXPECT_EQ(groups.ConnectStar(Stars()[1]), Stars()[1]);
  EXPECT_EQ(Stars().size(), 2u);

  groups.AllTogetherStar();
  ASSERT_EQ(Stars().size(), 1u) << "tidying joins however far apart";
  EXPECT_EQ(Stars()[0]->count, 3);
  EXPECT_EQ(Window(0).number, 3);
}

TEST_F(StarFieldParts, ANumberedOrStandInStarGoesForGoodAtRest) {
  host.frames.push_back(FrameShape{48, 48});
  settings.quantity = 2;
  pool.GenerateStars(InputKind::kClick, 300, 300);
  std::vector<Star*> stars = Stars();
  pool.firstDrawnImage = 1;
  stars[0]->imageIndex = 1;
  Window(0).number = 5;     // a drawn picture, numbered
  stars[1]->imageIndex = 0;  // the stand-in picture, plain
  TicksUntilRest();
  EXPECT_TRUE(Stars().empty()) << "neither waits in the pool";
  EXPECT_TRUE(Window(0).closed && Window(1).closed);
  pool.GenerateStars(InputKind::kClick, 300, 300);
  EXPECT_EQ(Stars()[0]->imageIndex, 1) << "new stars draw from the first drawn picture on";
}

TEST(StoppedStarParts, NothingHappensWithoutAList) {
  SettingsRecord settings{};
  settings.quantity = 3;
  FakeHost host;
  StarTicker ticker{host};
  StarPool pool{host, ticker, &settings};
  StarBombs bombs{pool, ticker};
  ChaseNumbers chase{pool, bombs};
  StarMotion motion{pool, ticker, bombs, chase};
  StarGroups groups{host, pool, ticker, bombs, chase};
  pool.GenerateStars(InputKind::kClick, 1, 2);
  EXPECT_EQ(pool.CreateNewStar(1, 2, 0), nullptr);
  motion.MoveStar();
  bombs.BeginBomb();
  groups.AllTogetherStar();
  chase.GrabStar(nullptr);
  EXPECT_TRUE(host.surfaces.empty());
  EXPECT_EQ(host.ticksStarted, 0);
  EXPECT_EQ(pool.EnsureManyStars(), 0);
}

}  // namespace
