#include "app/caret_answer_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

// UI Automation's answer: bounding rectangles of a text range, as doubles.
TEST(CaretAnswerRules, ATextRangesRectanglesGiveACaretLineOnTheChosenEdge) {
  CaretRect caret{};
  // A caret range's own rectangle: a line with no width.
  const double line[] = {120.0, 80.0, 0.0, 16.0};
  ASSERT_TRUE(CaretFromTextRectangles(line, 4, CaretEdge::kLeft, &caret));
  EXPECT_EQ(caret.left, 120);
  EXPECT_EQ(caret.right, 120);
  EXPECT_EQ(caret.top, 80);
  EXPECT_EQ(caret.bottom, 96);

  // The character after the caret: its left edge; the one before it: its right edge.
  const double character[] = {120.4, 80.6, 7.2, 16.0};
  ASSERT_TRUE(CaretFromTextRectangles(character, 4, CaretEdge::kLeft, &caret));
  EXPECT_EQ(caret.left, 120);
  EXPECT_EQ(caret.top, 81);
  EXPECT_EQ(caret.bottom, 97);
  ASSERT_TRUE(CaretFromTextRectangles(character, 4, CaretEdge::kRight, &caret));
  EXPECT_EQ(caret.left, 128);
  EXPECT_EQ(caret.right, 128);

  // A selection over two lines: the first line's rectangle, from its left.
  const double twoLines[] = {300.0, 200.0, 150.0, 18.0, 100.0, 218.0, 90.0, 18.0};
  ASSERT_TRUE(CaretFromTextRectangles(twoLines, 8, CaretEdge::kLeft, &caret));
  EXPECT_EQ(caret.left, 300);
  EXPECT_EQ(caret.top, 200);

  // Left of and above the primary monitor.
  const double negative[] = {-500.0, -300.0, 0.0, 16.0};
  ASSERT_TRUE(CaretFromTextRectangles(negative, 4, CaretEdge::kLeft, &caret));
  EXPECT_EQ(caret.left, -500);
  EXPECT_EQ(caret.top, -300);

  // A line thinner than a pixel keeps one.
  const double thin[] = {120.0, 80.0, 0.0, 0.3};
  ASSERT_TRUE(CaretFromTextRectangles(thin, 4, CaretEdge::kLeft, &caret));
  EXPECT_EQ(caret.bottom - caret.top, 1);
}

TEST(CaretAnswerRules, UnusableRectanglesArePassedOverAndADegenerateRangeHasNone) {
  CaretRect caret{1, 2, 3, 4};
  EXPECT_FALSE(CaretFromTextRectangles(nullptr, 0, CaretEdge::kLeft, &caret)) << "a degenerate range";
  const double incomplete[] = {120.0, 80.0, 0.0};
  EXPECT_FALSE(CaretFromTextRectangles(incomplete, 3, CaretEdge::kLeft, &caret));
  const double flat[] = {120.0, 80.0, 5.0, 0.0};
  EXPECT_FALSE(CaretFromTextRectangles(flat, 4, CaretEdge::kLeft, &caret));
  EXPECT_EQ(caret.left, 1) << "a refused answer left the caret as it was";

  const double nan = std::nan("");
  const double inf = std::numeric_limits<double>::infinity();
  const double bad[] = {
      120.0, 80.0, 5.0, 0.0,    // no height
      120.0, 80.0, -5.0, 16.0,  // a negative width
      120.0, 80.0, 5.0, -16.0,  // a negative height
      nan, 80.0, 5.0, 16.0,     // not a number
      120.0, inf, 5.0, 16.0,    // not finite
      1e12, 80.0, 5.0, 16.0,    // beyond any screen
      200.0, 100.0, 6.0, 16.0,  // the first usable one
      300.0, 100.0, 6.0, 16.0,
  };
  ASSERT_TRUE(CaretFromTextRectangles(bad, sizeof(bad) / sizeof(bad[0]), CaretEdge::kLeft, &caret));
  EXPECT_EQ(caret.left, 200);
  EXPECT_EQ(caret.top, 100);
  // Only unusable ones: no caret.
  EXPECT_FALSE(CaretFromTextRectangles(bad, 24, CaretEdge::kLeft, &caret));
}

TEST(CaretAnswerRules, ATextRangesCaretCountsOnlyInsideTheFocusedWindow) {
  CaretRect caret{};
  const double inside[] = {300.4, 200.0, 7.0, 16.0};
  ASSERT_TRUE(CaretFromTextRectangles(inside, 4, CaretEdge::kLeft, &caret));
  ASSERT_TRUE(CaretAnswerInside(caret, kWindow));
  const ScreenPoint point = KeyPointOfCaret(caret);
  EXPECT_EQ(point.x, 300);
  EXPECT_EQ(point.y, 200 + kCaretPointDrop);

  // The right edge of the window's last character lies on its border: outside.
  const double lastCharacter[] = {893.0, 600.0, 7.0, 16.0};
  ASSERT_TRUE(CaretFromTextRectangles(lastCharacter, 4, CaretEdge::kLeft, &caret));
  EXPECT_TRUE(CaretAnswerInside(caret, kWindow));
  ASSERT_TRUE(CaretFromTextRectangles(lastCharacter, 4, CaretEdge::kRight, &caret));
  EXPECT_FALSE(CaretAnswerInside(caret, kWindow));

  // Another window's text, and a provider that answers the screen's origin.
  const double elsewhere[] = {20.0, 20.0, 0.0, 16.0};
  ASSERT_TRUE(CaretFromTextRectangles(elsewhere, 4, CaretEdge::kLeft, &caret));
  EXPECT_FALSE(CaretAnswerInside(caret, kWindow));
  const double origin[] = {0.0, 0.0, 0.0, 16.0};
  ASSERT_TRUE(CaretFromTextRectangles(origin, 4, CaretEdge::kLeft, &caret));
  EXPECT_FALSE(CaretAnswerInside(caret, CaretRect{0, 0, 800, 600}));
}

TEST(CaretQuestionRules, WebEngineWindowsAreToldByTheirClass) {
  for (const char* engine : {"Chrome_WidgetWin_1", "Chrome_WidgetWin_0", "chrome_widgetwin_2",
                             "Chrome_RenderWidgetHostHWND"}) {
    EXPECT_TRUE(IsWebEngineWindowClass(engine)) << engine;
  }
  for (const char* other : {"Notepad", "Edit", "RichEditD2DPT", "Chrome_Widget", "Chrome_WidgetWin", ""}) {
    EXPECT_FALSE(IsWebEngineWindowClass(other)) << other;
  }
  EXPECT_FALSE(IsWebEngineWindowClass(nullptr));
}

TEST(CaretQuestionRules, OneWindowIsAskedAFewTimesASecondAtMost) {
  ProgramQuestionPace pace;
  EXPECT_TRUE(pace.Allows(0x10, 1000));
  EXPECT_FALSE(pace.Allows(0x10, 1000 + kProgramQuestionSpacingMs - 1)) << "a key typed fast asks again";
  EXPECT_TRUE(pace.Allows(0x20, 1001)) << "another window may be asked at once";
  EXPECT_FALSE(pace.Allows(0x20, 1002));
  EXPECT_TRUE(pace.Allows(0x20, 1001 + kProgramQuestionSpacingMs));
  // Refused questions do not push the next one further away.
  ProgramQuestionPace steady;
  int asked = 0;
  for (uint32_t now = 0; now < 1000; now += 10) asked += steady.Allows(0x10, now) ? 1 : 0;
  EXPECT_EQ(asked, static_cast<int>(1000 / kProgramQuestionSpacingMs));
  // Across the clock's wrap.
  ProgramQuestionPace wrapping;
  EXPECT_TRUE(wrapping.Allows(0x10, 0xFFFFFFF0u));
  EXPECT_FALSE(wrapping.Allows(0x10, 0x10u));
  EXPECT_TRUE(wrapping.Allows(0x10, 0xFFFFFFF0u + kProgramQuestionSpacingMs));
}

}  // namespace
