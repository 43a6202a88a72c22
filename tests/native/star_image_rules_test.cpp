#include "images/star_image_rules.h"

#include <gtest/gtest.h>

namespace {

// Shift-JIS lead bytes: 0x81-0x9F and 0xE0-0xFC.
bool ShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool NoLeadBytes(unsigned char) { return false; }

TEST(SearchSubString, FindsMarkersInAsciiPaths) {
  EXPECT_EQ(SearchSubString("C:\\pics\\spin_anm_fix.png", "_fix", ShiftJisLead), 16);
  EXPECT_EQ(SearchSubString("C:\\pics\\spin_anm_fix.png", "_anm", ShiftJisLead), 12);
  EXPECT_EQ(SearchSubString("C:\\pics\\x_ANM.png", "_anm", ShiftJisLead), -1);  // case-sensitive
  EXPECT_EQ(SearchSubString("C:\\my_anm\\a.png", "_anm", ShiftJisLead), 5);     // folder names count
  EXPECT_EQ(SearchSubString("abc", "", ShiftJisLead), -1);
  EXPECT_EQ(SearchSubString("", "_fix", ShiftJisLead), -1);
  EXPECT_EQ(SearchSubString("_fi", "_fix", ShiftJisLead), -1);  // pattern longer than the rest
}

TEST(SearchSubString, NeverMatchesInsideADoubleByteCharacter) {
  // 0x83 0x5F is one katakana character whose trail byte is '_'.
  const char trap[] = "C:\\\x83\x5F" "fix.png";
  EXPECT_EQ(SearchSubString(trap, "_fix", ShiftJisLead), -1);
  EXPECT_EQ(SearchSubString(trap, "_fix", NoLeadBytes), 4);  // what a byte search would wrongly find
  // A real marker right after such a character is found.
  const char real[] = "\x83\x5F_fix.png";
  EXPECT_EQ(SearchSubString(real, "_fix", ShiftJisLead), 2);
  // A double-byte pattern matches whole characters only.
  const char kana[] = "a\x83\x5F\x83\x41.png";
  EXPECT_EQ(SearchSubString(kana, "\x83\x41", ShiftJisLead), 3);
  EXPECT_EQ(SearchSubString(kana, "\x5F\x83", ShiftJisLead), -1);
  // A lead byte at the very end does not step past the terminator.
  EXPECT_EQ(SearchSubString("ab\x83", "x", ShiftJisLead), -1);
}

TEST(ReducedStarSize, WorkedValuesComeOutOnePixelShortOnExactRatios) {
  struct Case { int32_t w, h, rw, rh; } cases[] = {
      {144, 72, 72, 35}, {100, 50, 72, 35}, {96, 64, 72, 47}, {80, 72, 72, 64}, {360, 72, 72, 14},
      {200, 100, 72, 35}, {72, 144, 35, 72}, {300, 300, 72, 72}, {240, 48, 72, 14},
      {72, 72, 72, 72}, {50, 10, 50, 10}, {73, 1, 0, 0},  // too thin to keep a row: not loaded
      {1000, 5, 0, 0}, {5, 1000, 0, 0}, {1000, 14, 72, 1},
  };
  for (const Case& c : cases) {
    PictureSize s = ReducedStarSize(c.w, c.h);
    EXPECT_EQ(s.width, c.rw) << c.w << " x " << c.h;
    EXPECT_EQ(s.height, c.rh) << c.w << " x " << c.h;
  }
}

TEST(ReducedStarSize, AScaledDisplayWidensTheBoxAndAtItsOwnSideKeepsTheOldValues) {
  // 150 %: the box is 108; a picture that fits stays as it is.
  struct Case { int32_t w, h, rw, rh; } cases[] = {
      {300, 300, 108, 108}, {216, 108, 108, 53}, {100, 50, 100, 50}, {108, 108, 108, 108},
      {109, 1, 0, 0}, {1000, 10, 108, 1},
  };
  for (const Case& c : cases) {
    PictureSize s = ReducedStarSize(c.w, c.h, 108);
    EXPECT_EQ(s.width, c.rw) << c.w << " x " << c.h;
    EXPECT_EQ(s.height, c.rh) << c.w << " x " << c.h;
  }
  PictureSize same = ReducedStarSize(144, 72, kStarPictureSide);
  EXPECT_EQ(same.width, 72);
  EXPECT_EQ(same.height, 35);
  PictureSize none = ReducedStarSize(10, 10, 0);
  EXPECT_EQ(none.width, 0);
}

TEST(StripLayout, CutsSquareFramesAlongTheLongSide) {
  FrameLayout spin = StripLayout(240, 48);  // spin_anm_fix
  EXPECT_EQ(spin.frameWidth, 48);
  EXPECT_EQ(spin.frameHeight, 48);
  EXPECT_EQ(spin.frameCount, 5);
  EXPECT_EQ(spin.framesSideBySide, 1);

  FrameLayout reduced = StripLayout(72, 14);  // spin_anm after reduction
  EXPECT_EQ(reduced.frameWidth, 14);
  EXPECT_EQ(reduced.frameCount, 5);

  FrameLayout drop = StripLayout(32, 100);  // drop_anm_fix: the last 4 rows are never shown
  EXPECT_EQ(drop.frameWidth, 32);
  EXPECT_EQ(drop.frameHeight, 32);
  EXPECT_EQ(drop.frameCount, 3);
  EXPECT_EQ(drop.framesSideBySide, 0);

  FrameLayout wide = StripLayout(60, 40);  // no room for two frames
  EXPECT_EQ(wide.frameCount, 1);
  EXPECT_EQ(wide.frameWidth, 60);
  EXPECT_EQ(wide.frameHeight, 40);

  FrameLayout square = StripLayout(64, 64);
  EXPECT_EQ(square.frameCount, 1);
  EXPECT_EQ(square.framesSideBySide, 1);

  FrameLayout two = StripLayout(80, 40);  // exactly two frames
  EXPECT_EQ(two.frameCount, 2);
}

TEST(LayOutTestDisplay, CentresOneRowBelowTheDialog) {
  const int32_t widths[] = {72, 48, 32};
  DisplaySpot spots[3];
  ASSERT_EQ(LayOutTestDisplay(widths, 3, 1280, 1024, 500, spots), 3);
  EXPECT_EQ(spots[0].x, (1280 - 152) / 2);
  EXPECT_EQ(spots[0].y, 504);
  EXPECT_EQ(spots[1].x, spots[0].x + 76);
  EXPECT_EQ(spots[2].x, spots[1].x + 52);
  // A dialog too low on the screen puts the row at the top.
  ASSERT_EQ(LayOutTestDisplay(widths, 3, 1280, 1024, 945, spots), 3);
  EXPECT_EQ(spots[0].y, 0);
}

TEST(LayOutTestDisplay, WrapsRowsAndStopsWhenTheScreenIsFull) {
  // Twelve pictures of 72 on a 400 x 240 screen: they do not fit on one row,
  // so the first starts at x = 0; a row wraps when x passes 400 - 76 = 324.
  int32_t widths[12];
  for (int32_t& w : widths) w = 72;
  DisplaySpot spots[12];
  int placed = LayOutTestDisplay(widths, 12, 400, 240, 10, spots);
  EXPECT_EQ(spots[0].x, 0);
  EXPECT_EQ(spots[0].y, 14);
  EXPECT_EQ(spots[4].x, 304);  // x 304 is not past 324: still on the first row
  EXPECT_EQ(spots[4].y, 14);
  EXPECT_EQ(spots[5].x, 0);    // 380 > 324: a new row 76 lower
  EXPECT_EQ(spots[5].y, 90);
  EXPECT_EQ(spots[9].x, 304);
  // The next wrap reaches y = 166 > 240 - 76: the last two get no place.
  EXPECT_EQ(placed, 10);
}

TEST(LayOutTestDisplay, GapsAndRowsGrowWithTheDpi) {
  // 150 %: gaps of 6, rows 114 apart, wrapping past 600 - 114 = 486.
  int32_t widths[12];
  for (int32_t& w : widths) w = 108;
  DisplaySpot spots[12];
  int placed = LayOutTestDisplay(widths, 12, 600, 300, 10, spots, 144);
  EXPECT_EQ(spots[0].x, 0);
  EXPECT_EQ(spots[0].y, 16);
  EXPECT_EQ(spots[1].x, 114);
  EXPECT_EQ(spots[4].x, 456);  // 456 is not past 486
  EXPECT_EQ(spots[5].x, 0);
  EXPECT_EQ(spots[5].y, 130);
  EXPECT_EQ(spots[9].x, 456);
  // The next wrap reaches y = 244 > 300 - 114: the last two get no place.
  EXPECT_EQ(placed, 10);
}
}  // namespace
