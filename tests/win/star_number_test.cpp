#include <gtest/gtest.h>
#include <windows.h>

#include "star_artwork_support.h"
#include "stars/win32/win32_star_field.h"

namespace {

using StarNumbers = StarGroupTest;

constexpr uint32_t kStarColour = 0x80402010u;  // what AddStarImage paints

// Checks that digit `digit` stands with its cell corner at (x, y) on the
// picture: its rectangle has the digit's colour right up to its edges, and
// the pixels just outside the rectangle's left and top edges do not.
void ExpectDigitAt(const DcPixels& pixels, int digit, int x, int y, int cellHeight) {
  uint32_t colour = DigitColour(digit);
  int left = x + kDigitLeft;
  int top = y + kDigitTop;
  int right = x + kDigitRight - 1;
  int bottom = y + cellHeight - kDigitTop - 1;
  EXPECT_EQ(pixels.At(left, top), colour) << "digit " << digit << " at x " << x;
  EXPECT_EQ(pixels.At(right, bottom), colour) << "digit " << digit << " at x " << x;
  EXPECT_NE(pixels.At(left - 1, top), colour) << "digit " << digit << " at x " << x;
  EXPECT_NE(pixels.At(left, top - 1), colour) << "digit " << digit << " at x " << x;
}

TEST_F(StarNumbers, LargeDigitsOnA72PixelStar) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* star = GrabbedStar(0, 200, 150);
  field.Chase().SetStarNumber(star, 128);

  PupilWindow* window = WindowOf(star);
  ASSERT_TRUE(window->OwnsPicture());
  EXPECT_EQ(window->FrameCount(), 0);
  DcPixels pixels = PixelsOf(window->SourceDC());
  ASSERT_NE(pixels.bits, nullptr);
  ASSERT_EQ(pixels.width, 72);
  ASSERT_EQ(pixels.height, 72);
  ExpectDigitAt(pixels, 8, 48, 40, 32);
  ExpectDigitAt(pixels, 2, 31, 40, 32);
  ExpectDigitAt(pixels, 1, 14, 40, 32);
  // The star's own picture is everywhere else, alpha included.
  EXPECT_EQ(pixels.At(0, 0), kStarColour);
  EXPECT_EQ(pixels.At(71, 39), kStarColour);
  EXPECT_EQ(pixels.At(13, 71), kStarColour);
  // The window stays where it was, at the picture's size.
  RECT rect = WindowRect(window->Handle());
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 150);
  EXPECT_EQ(rect.right - rect.left, 72);
}

TEST_F(StarNumbers, SmallDigitsWithStepTenOnA40PixelStarReuseOnePicture) {
  ASSERT_NE(AddStarImage(40), nullptr);
  Star* star = GrabbedStar(0, 200, 150);
  field.Chase().SetStarNumber(star, 123);
  HBITMAP picture = WindowOf(star)->OwnPictureBitmap();
  DcPixels pixels = PixelsOf(WindowOf(star)->SourceDC());
  ASSERT_NE(pixels.bits, nullptr);
  ExpectDigitAt(pixels, 3, 28, 24, 16);
  ExpectDigitAt(pixels, 2, 19, 24, 16);
  ExpectDigitAt(pixels, 1, 10, 24, 16);

  // A shorter number overwrites the longer one in the same picture.
  field.Chase().SetStarNumber(star, 45);
  EXPECT_EQ(WindowOf(star)->OwnPictureBitmap(), picture);
  pixels = PixelsOf(WindowOf(star)->SourceDC());
  ExpectDigitAt(pixels, 5, 28, 24, 16);
  ExpectDigitAt(pixels, 4, 19, 24, 16);
  EXPECT_EQ(pixels.At(10 + kDigitLeft, 24 + kDigitTop), kStarColour);

  field.Chase().SetStarNumber(star, 9);
  pixels = PixelsOf(WindowOf(star)->SourceDC());
  ExpectDigitAt(pixels, 9, 28, 24, 16);
  EXPECT_EQ(pixels.At(19 + kDigitLeft, 24 + kDigitTop), kStarColour);
}

TEST_F(StarNumbers, MediumDigitsOnA56PixelStar) {
  ASSERT_NE(AddStarImage(56), nullptr);
  Star* star = GrabbedStar(0, 200, 150);
  field.Chase().SetStarNumber(star, 64);
  DcPixels pixels = PixelsOf(WindowOf(star)->SourceDC());
  ASSERT_NE(pixels.bits, nullptr);
  // 18 x 24 cells, step 14.
  ExpectDigitAt(pixels, 4, 38, 32, 24);
  ExpectDigitAt(pixels, 6, 25, 32, 24);
}

TEST_F(StarNumbers, NumberIsDrawnOnTheFrameTheStarShows) {
  // Three side-by-side frames, each its own colour.
  const uint32_t frameColours[3] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u};
  ImageSet* image = AddStarImage(40, 3);
  ASSERT_NE(image, nullptr);
  DcPixels source = PixelsOf(image->Bitmap());
  for (int frame = 0; frame < 3; ++frame) {
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) source.Set(frame * 40 + x, y, frameColours[frame]);
    }
  }
  Star* star = GrabbedStar(0, 200, 150);
  WindowOf(star)->AdvanceFrame();
  WindowOf(star)->AdvanceFrame();  // at frame 2
  field.Chase().SetStarNumber(star, 2);
  DcPixels pixels = PixelsOf(WindowOf(star)->SourceDC());
  EXPECT_EQ(pixels.At(0, 0), frameColours[2]);
  EXPECT_EQ(pixels.At(39, 0), frameColours[2]);
  ExpectDigitAt(pixels, 2, 28, 24, 16);
  EXPECT_EQ(WindowOf(star)->FrameCount(), 0);  // it stops animating
}

TEST_F(StarNumbers, CountOfOneOrLessShowsNoNumber) {
  ASSERT_NE(AddStarImage(72), nullptr);
  Star* star = GrabbedStar(0, 200, 150);
  HDC imageDC = WindowOf(star)->SourceDC();
  field.Chase().SetStarNumber(star, 1);
  field.Chase().SetStarNumber(star, 0);
  field.Chase().SetStarNumber(star, -3);
  field.Chase().SetStarNumber(nullptr, 5);
  EXPECT_FALSE(WindowOf(star)->OwnsPicture());
  EXPECT_EQ(WindowOf(star)->SourceDC(), imageDC);
}

TEST_F(StarNumbers, NumberedStarThatComesToRestLeavesForGood) {
  ASSERT_NE(AddStarImage(40), nullptr);
  Star* star = field.Pool().CreateNewStar(400, 400, 0);
  HWND window = WindowOf(star)->Handle();
  field.Chase().SetStarNumber(star, 3);
  HDC ownDC = WindowOf(star)->SourceDC();
  for (int tick = 0; tick < 8 && field.GetStarByHWND(window) != nullptr; ++tick) field.MoveStar();
  EXPECT_EQ(field.GetStarByHWND(window), nullptr);
  EXPECT_EQ(GetObjectType(ownDC), 0u);
  EXPECT_EQ(field.Pool().GetFreeStar(0), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
}

}  // namespace
