#include "images/ico32_format.h"

#include <gtest/gtest.h>

namespace {

uint32_t Dword(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(Ico32Format, SizesMatchTheTwoResources) {
  EXPECT_EQ(Ico32Size(32, 32), 4286u);
  EXPECT_EQ(Ico32Size(16, 16), 1150u);
}

TEST(Ico32Format, HeadersPixelsAndMaskOfA16By16Picture) {
  std::vector<uint8_t> rgba(16 * 16 * 4, 0);
  // Top-left pixel: half-transparent orange, kept straight (not premultiplied).
  rgba[0] = 250; rgba[1] = 120; rgba[2] = 10; rgba[3] = 128;
  // Bottom-right pixel: opaque blue.
  size_t last = (15 * 16 + 15) * 4;
  rgba[last + 2] = 255; rgba[last + 3] = 255;

  std::vector<uint8_t> ico = BuildIco32(rgba.data(), 16, 16);
  ASSERT_EQ(ico.size(), 1150u);
  EXPECT_EQ(ico[0], 0xFF);
  EXPECT_EQ(ico[1], 0x00);
  EXPECT_EQ(ico[2] | ico[3] << 8, 1);
  EXPECT_EQ(ico[4] | ico[5] << 8, 1);
  EXPECT_EQ(ico[6], 16);
  EXPECT_EQ(ico[7], 16);
  EXPECT_EQ(ico[12] | ico[13] << 8, 32);
  EXPECT_EQ(Dword(ico, 14), 1150u - 22u);
  EXPECT_EQ(Dword(ico, 18), 22u);
  EXPECT_EQ(Dword(ico, 22), 40u);
  EXPECT_EQ(Dword(ico, 26), 16u);
  EXPECT_EQ(Dword(ico, 30), 32u);

  // Bottom row first: the top-left pixel is in the last stored row.
  const uint8_t* topLeft = &ico[kIco32PixelOffset + 15 * 16 * 4];
  EXPECT_EQ(topLeft[0], 10);   // B
  EXPECT_EQ(topLeft[1], 120);  // G
  EXPECT_EQ(topLeft[2], 250);  // R
  EXPECT_EQ(topLeft[3], 128);  // A
  const uint8_t* bottomRight = &ico[kIco32PixelOffset + 15 * 4];
  EXPECT_EQ(bottomRight[0], 255);
  EXPECT_EQ(bottomRight[3], 255);

  // Mask rows: 4 bytes each, bottom row first; bit set where alpha is 0.
  size_t mask = kIco32PixelOffset + 16 * 16 * 4;
  EXPECT_EQ(ico[mask + 0], 0xFF);           // bottom row: pixels 0..7 transparent
  EXPECT_EQ(ico[mask + 1], 0xFE);           // ...and 8..14, but 15 opaque
  EXPECT_EQ(ico[mask + 15 * 4], 0x7F);      // top row: pixel 0 has alpha
}

TEST(Ico32Format, RefusesSizesTheLayoutCannotHold) {
  std::vector<uint8_t> rgba(64 * 64 * 4, 0);
  EXPECT_TRUE(BuildIco32(rgba.data(), 64, 64).empty());
  EXPECT_TRUE(BuildIco32(rgba.data(), 0, 16).empty());
}

}  // namespace
