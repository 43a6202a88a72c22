#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <vector>

#include "star_artwork_support.h"
#include "stars/win32/win32_star_field.h"

namespace {

class StarGdi : public StarGroupTest {
 protected:
  // Creates `pairs` pairs of grabbed stars of two images, joins each pair,
  // numbers some more, lets numbered moving stars come to rest, bombs them all
  // and waits until every window is gone.
  void RunStarLifetimes(int pairs) {
    std::vector<HWND> windows;
    for (int i = 0; i < pairs; ++i) {
      int32_t image = i % 2;
      int32_t x = (i % 20) * 60;
      int32_t y = (i / 20) * 60;
      Star* group = GrabbedStar(image, x, y);
      Star* dropped = GrabbedStar(image, x + 5, y + 5);
      windows.push_back(WindowOf(group)->Handle());
      windows.push_back(WindowOf(dropped)->Handle());
      field.ConnectStar(WindowOf(dropped)->Handle());
      if (i % 3 == 0) field.Chase().SetStarNumber(group, 100 + i);
      if (i % 4 == 0) {
        Star* moving = field.Pool().CreateNewStar(x, y, image);
        windows.push_back(WindowOf(moving)->Handle());
        field.Chase().SetStarNumber(moving, 5);
      }
    }
    // Some go off one by one, mid-poof the rest join in.
    for (Star* s = field.Pool().starListHead->next; s != field.Pool().starListTail; s = s->next) {
      if (s->count % 2 == 0) field.BombStar(s);
    }
    field.MoveStar();
    field.MoveStar();
    field.BeginBomb();
    for (int tick = 0; tick < pairs + 20 && field.Pool().starListHead->next != field.Pool().starListTail; ++tick) field.MoveStar();
    EXPECT_EQ(field.Pool().starListHead->next, field.Pool().starListTail);
    EXPECT_TRUE(PumpUntil(
        [&] {
          for (HWND w : windows) {
            if (IsWindow(w)) return false;
          }
          return true;
        },
        10000));
  }
};

TEST_F(StarGdi, CountingSeesEveryObject) {
  int before = GdiObjectCount();
  UniqueBitmap bitmap = MakeAlphaBitmap(8, 8, 0u);
  UniqueDC dc(CreateCompatibleDC(nullptr));
  EXPECT_EQ(GdiObjectCount(), before + 2);
  dc.Reset();
  bitmap.Reset();
  EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(StarGdi, HundredsOfStarsNumberedJoinedAndBombedLeaveNoObjectBehind) {
  ASSERT_NE(AddStarImage(72), nullptr);
  ASSERT_NE(AddStarImage(40), nullptr);
  RunStarLifetimes(100);  // the first windows, resizes and blits fill the system's caches
  int before = GdiObjectCount();
  RunStarLifetimes(100);  // 200 stars in pairs and 25 moving ones
  int after = GdiObjectCount();
  std::printf("GDI objects before the stars: %d, after: %d\n", before, after);
  EXPECT_EQ(after, before);
}

}  // namespace
