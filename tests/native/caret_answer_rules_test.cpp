#include "app/caret_answer_rules.h"

#include <gtest/gtest.h>

namespace {

constexpr CaretRect kWindow{100, 50, 900, 650};

TEST(CaretAnswerRules, AnAnswerCountsOnlyInsideTheWindowWithAHeightAndNotAtTheOrigin) {
  const struct {
    CaretRect answer;
    bool inside;
  } cases[] = {
      {{120, 80, 122, 96}, true},     // a thin caret
      {{120, 80, 120, 96}, true},     // a line with no width
      {{100, 50, 101, 66}, true},     // on the window's top left corner
      {{899, 649, 900, 665}, true},   // its last pixel: the caret may reach below
      {{900, 80, 901, 96}, false},    // just right of it
      {{120, 650, 121, 666}, false},  // just below it
      {{99, 80, 100, 96}, false},     // just left of it
      {{120, 49, 121, 65}, false},    // just above it
      {{0, 0, 0, 0}, false},          // empty
      {{120, 80, 122, 80}, false},    // no height
      {{122, 80, 120, 96}, false},    // turned inside out
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CaretAnswerInside(c.answer, kWindow), c.inside)
        << c.answer.left << "," << c.answer.top << "," << c.answer.right << "," << c.answer.bottom;
  }
  // The origin is no caret even for a window that holds it.
  EXPECT_FALSE(CaretAnswerInside({0, 0, 2, 16}, CaretRect{0, 0, 800, 600}));
  EXPECT_TRUE(CaretAnswerInside({0, 16, 2, 32}, CaretRect{0, 0, 800, 600}));
  // Nor is a caret whose key point would fall on it.
  EXPECT_FALSE(CaretAnswerInside({0, -kCaretPointDrop, 2, 8}, CaretRect{-100, -100, 800, 600}));
  // Windows left of and above the primary monitor have negative coordinates.
  EXPECT_TRUE(CaretAnswerInside({-500, -300, -498, -284}, CaretRect{-800, -400, -100, 0}));
}

TEST(CaretAnswerRules, TheFirstInsideAnswerWinsAndWithoutOneThereIsNone) {
  const CaretRect empty{};
  const CaretRect outside{20, 20, 22, 36};
  const CaretRect first{200, 100, 202, 116};
  const CaretRect second{300, 120, 302, 136};

  const CaretRect inOrder[] = {first, second};
  EXPECT_EQ(FirstInsideAnswer(inOrder, 2, kWindow), 0);
  const CaretRect passedOver[] = {empty, outside, second, first};
  EXPECT_EQ(FirstInsideAnswer(passedOver, 4, kWindow), 2);
  const CaretRect none[] = {empty, outside, {0, 0, 2, 16}};
  EXPECT_EQ(FirstInsideAnswer(none, 3, kWindow), -1);
  EXPECT_EQ(FirstInsideAnswer(nullptr, 0, kWindow), -1);
}

TEST(CaretAnswerRules, TheKeysPointSitsBelowTheCaretsTopAndLateAnswersAreNotUsed) {
  const ScreenPoint point = KeyPointOfCaret({200, 100, 202, 116});
  EXPECT_EQ(point.x, 200);
  EXPECT_EQ(point.y, 100 + kCaretPointDrop);

  EXPECT_TRUE(CaretAnswerInTime(1000, 1000));
  EXPECT_TRUE(CaretAnswerInTime(1000, 1000 + kCaretQuestionBoundMs));
  EXPECT_FALSE(CaretAnswerInTime(1000, 1001 + kCaretQuestionBoundMs));
  // Across the clock's wrap.
  EXPECT_TRUE(CaretAnswerInTime(0xFFFFFFF0u, 0x10u));
  EXPECT_FALSE(CaretAnswerInTime(0xFFFFFFF0u, 0x40u));
}

}  // namespace
