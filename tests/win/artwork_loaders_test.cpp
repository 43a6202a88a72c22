#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "base/app_state.h"
#include "base/dpi_scale.h"
#include "images/win32/alpha_bitmap.h"
#include "images/win32/artwork.h"
#include "test_window.h"

namespace {

// Top-down 0xAARRGGBB pixels of any bitmap, read back through a DIB request.
std::vector<DWORD> PixelsOf(HBITMAP bitmap, int width, int height) {
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = width;
  request.bmiHeader.biHeight = -height;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, height, pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return pixels;
}

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

class ArtworkTest : public ::testing::Test {
 protected:
  StarArtwork artwork;
};

TEST_F(ArtworkTest, EveryResourceInflatesToExactlyItsSize) {
  const struct { int id, width, height; } resources[] = {
      {143, 240, 32}, {144, 240, 32}, {145, 128, 640}, {149, 72, 72}, {156, 310, 230}, {243, 144, 144}, {244, 310, 230}};
  for (const auto& r : resources) {
    UniqueBitmap bitmap = PrepairAlphaBitmapFromResource(r.id, r.width, r.height);
    ASSERT_TRUE(bitmap) << r.id;
    EXPECT_EQ(SizeOf(bitmap.Get()).cx, r.width);
    // One row fewer asks for fewer bytes than the stream holds: refused, not cut.
    EXPECT_FALSE(PrepairAlphaBitmapFromResource(r.id, r.width, r.height - 1)) << r.id;
    EXPECT_FALSE(PrepairAlphaBitmapFromResource(r.id, r.width, r.height + 1)) << r.id;
  }
  EXPECT_FALSE(PrepairAlphaBitmapFromResource(4242, 8, 8));
}

TEST_F(ArtworkTest, DefaultStarIsPremultipliedWithAnOpaqueHeartAndClearCorners) {
  UniqueBitmap star = PrepairAlphaBitmapFromResource(149, 72, 72);
  ASSERT_TRUE(star);
  const auto* bits = static_cast<const uint8_t*>(AlphaBitmapBits(star.Get()));
  ASSERT_NE(bits, nullptr);
  for (int i = 0; i < 72 * 72; ++i) {
    const uint8_t* p = bits + i * 4;
    ASSERT_LE(p[0], p[3]);
    ASSERT_LE(p[1], p[3]);
    ASSERT_LE(p[2], p[3]);
  }
  EXPECT_EQ(bits[(36 * 72 + 36) * 4 + 3], 255);
  EXPECT_EQ(bits[3], 0);
}

TEST_F(ArtworkTest, PoofFramesAreTheFiveSlicesFromTheTopEachInItsOwnDC) {
  artwork.PrepairPoofImage();
  EXPECT_EQ(artwork.poofFrameSize.width, 128);
  EXPECT_EQ(artwork.poofFrameSize.height, 128);
  for (int k = 0; k < kPoofFrameCount; ++k) {
    const MemoryBitmap* frame = artwork.PoofFrame(k);
    ASSERT_NE(frame, nullptr) << k;
    EXPECT_EQ(GetCurrentObject(frame->DC(), OBJ_BITMAP), frame->Bitmap()) << k;
    for (int other = 0; other < k; ++other) EXPECT_NE(frame->DC(), artwork.PoofFrame(other)->DC());
  }
  EXPECT_EQ(artwork.PoofFrame(kPoofFrameCount), nullptr);

  UniqueBitmap picture = PrepairAlphaBitmapFromResource(145, 128, 640);
  ASSERT_TRUE(picture);
  std::vector<DWORD> whole = PixelsOf(picture.Get(), 128, 640);
  for (int k : {0, 4}) {
    std::vector<DWORD> frame = PixelsOf(artwork.poofFrames[k].Bitmap(), 128, 128);
    int differing = 0;
    for (int y = 0; y < 128; ++y) {
      for (int x = 0; x < 128; ++x) differing += frame[y * 128 + x] != whole[(128 * k + y) * 128 + x];
    }
    EXPECT_EQ(differing, 0) << "frame " << k << " is rows " << 128 * k << " to " << 128 * k + 127;
  }
  // Frame 0 is the full cloud: its centre is opaque white.
  EXPECT_EQ(PixelsOf(artwork.poofFrames[0].Bitmap(), 128, 128)[64 * 128 + 64], 0xFFFFFFFFu);
  artwork.ReleasePoofImage();
  EXPECT_EQ(artwork.PoofFrame(0), nullptr);
  EXPECT_EQ(artwork.poofFrameSize.width, 0);
}

TEST_F(ArtworkTest, DigitStripsCarryTheirCellSizesAndMasksNone) {
  artwork.PrepairNumImage();
  const struct { DigitStrip strip; int width, height, cellWidth, cellHeight; } rows[] = {
      {DIGITS_LARGE_COLOUR, 240, 32, 24, 32}, {DIGITS_LARGE_MASK, 240, 32, 0, 0},
      {DIGITS_MEDIUM_COLOUR, 180, 24, 18, 24}, {DIGITS_MEDIUM_MASK, 180, 24, 0, 0},
      {DIGITS_SMALL_COLOUR, 120, 16, 12, 16},  {DIGITS_SMALL_MASK, 120, 16, 0, 0},
  };
  for (const auto& row : rows) {
    const ImageSet& strip = artwork.digitStrips[row.strip];
    ASSERT_NE(strip.DC(), nullptr) << row.strip;
    EXPECT_EQ(GetCurrentObject(strip.DC(), OBJ_BITMAP), strip.Bitmap()) << row.strip;
    EXPECT_EQ(SizeOf(strip.Bitmap()).cx, row.width) << row.strip;
    EXPECT_EQ(SizeOf(strip.Bitmap()).cy, row.height) << row.strip;
    EXPECT_EQ(strip.frameWidth, row.cellWidth) << row.strip;
    EXPECT_EQ(strip.frameHeight, row.cellHeight) << row.strip;
  }
  // Full-size mask: two-valued, and transparent exactly where the colour strip draws.
  std::vector<DWORD> mask = PixelsOf(artwork.digitStrips[DIGITS_LARGE_MASK].Bitmap(), 240, 32);
  std::vector<DWORD> colour = PixelsOf(artwork.digitStrips[DIGITS_LARGE_COLOUR].Bitmap(), 240, 32);
  for (size_t i = 0; i < mask.size(); ++i) {
    ASSERT_TRUE(mask[i] == 0 || mask[i] == 0xFFFFFFFFu) << i;
    ASSERT_EQ(mask[i] == 0xFFFFFFFFu, colour[i] == 0) << i;
  }
  artwork.ReleaseNumImage();
  EXPECT_EQ(artwork.digitStrips[DIGITS_LARGE_COLOUR].DC(), nullptr);
  EXPECT_EQ(artwork.digitStrips[DIGITS_SMALL_MASK].Bitmap(), nullptr);
  artwork.ReleaseNumImage();  // nothing left: harmless
}

// At 150 % the artwork is made at half again its size, each picture straight
// from its source; the process's scale goes back to 96 afterwards.
class ScaledArtworkTest : public ArtworkTest {
 protected:
  void SetUp() override { SetProcessDpi(144); }
  void TearDown() override { SetProcessDpi(kBaseDpi); }
};

TEST_F(ScaledArtworkTest, PoofFramesAndDigitCellsAreHalfAgainAsLarge) {
  artwork.PrepairPoofImage();
  EXPECT_EQ(artwork.poofFrameSize.width, 192);
  EXPECT_EQ(artwork.poofFrameSize.height, 192);
  for (int k = 0; k < kPoofFrameCount; ++k) {
    ASSERT_NE(artwork.PoofFrame(k), nullptr) << k;
    EXPECT_EQ(SizeOf(artwork.poofFrames[k].Bitmap()).cx, 192) << k;
    EXPECT_EQ(GetCurrentObject(artwork.poofFrames[k].DC(), OBJ_BITMAP), artwork.poofFrames[k].Bitmap()) << k;
  }
  // Frames in showing order: the first is the full cloud, opaque white at
  // its centre, the last the faintest (less cover than the first).
  std::vector<DWORD> first = PixelsOf(artwork.poofFrames[0].Bitmap(), 192, 192);
  std::vector<DWORD> last = PixelsOf(artwork.poofFrames[4].Bitmap(), 192, 192);
  EXPECT_EQ(first[96 * 192 + 96], 0xFFFFFFFFu);
  auto cover = [](const std::vector<DWORD>& pixels) {
    uint64_t sum = 0;
    for (DWORD p : pixels) sum += p >> 24;
    return sum;
  };
  EXPECT_GT(cover(first), cover(last));

  artwork.PrepairNumImage();
  const struct { DigitStrip strip; int width, height, cellWidth, cellHeight; } rows[] = {
      {DIGITS_LARGE_COLOUR, 360, 48, 36, 48}, {DIGITS_LARGE_MASK, 360, 48, 0, 0},
      {DIGITS_MEDIUM_COLOUR, 270, 36, 27, 36}, {DIGITS_MEDIUM_MASK, 270, 36, 0, 0},
      {DIGITS_SMALL_COLOUR, 180, 24, 18, 24},  {DIGITS_SMALL_MASK, 180, 24, 0, 0},
  };
  for (const auto& row : rows) {
    const ImageSet& strip = artwork.digitStrips[row.strip];
    ASSERT_NE(strip.DC(), nullptr) << row.strip;
    EXPECT_EQ(SizeOf(strip.Bitmap()).cx, row.width) << row.strip;
    EXPECT_EQ(SizeOf(strip.Bitmap()).cy, row.height) << row.strip;
    EXPECT_EQ(strip.frameWidth, row.cellWidth) << row.strip;
    EXPECT_EQ(strip.frameHeight, row.cellHeight) << row.strip;
  }
  // The enlarged colour strip still draws only where its mask clears.
  std::vector<DWORD> mask = PixelsOf(artwork.digitStrips[DIGITS_LARGE_MASK].Bitmap(), 360, 48);
  std::vector<DWORD> colour = PixelsOf(artwork.digitStrips[DIGITS_LARGE_COLOUR].Bitmap(), 360, 48);
  int drawnOverWhiteMask = 0;
  for (size_t i = 0; i < mask.size(); ++i) drawnOverWhiteMask += mask[i] == 0xFFFFFFFFu && colour[i] != 0;
  EXPECT_EQ(drawnOverWhiteMask, 0);
}

}  // namespace
