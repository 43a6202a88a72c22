// Enlarging built-in artwork for a scaled display: a worked example, the
// edges and what is refused.
#include <gtest/gtest.h>

#include <vector>

#include "images/enlarge.h"

namespace {

TEST(EnlargeImage, DoublesARowWithCentresMatchedAndEdgesHeld) {
  // Premultiplied: opaque grey 0x40 beside opaque grey 0xC0.
  const uint32_t source[2] = {0xFF404040u, 0xFFC0C0C0u};
  uint32_t target[4] = {};
  ASSERT_EQ(EnlargeImage(target, source, 4, 1, 2, 1), 1);
  // Target centres fall at -0.25, 0.25, 0.75, 1.25 of the source.
  EXPECT_EQ(target[0], 0xFF404040u);
  EXPECT_EQ(target[1], 0xFF606060u);
  EXPECT_EQ(target[2], 0xFFA0A0A0u);
  EXPECT_EQ(target[3], 0xFFC0C0C0u);
}

TEST(EnlargeImage, TransparencyBlendsWithoutFringesAndSameSizeCopies) {
  // Opaque white beside fully transparent (premultiplied 0): the blend stays
  // premultiplied, so colour never exceeds alpha.
  const uint32_t source[2] = {0xFFFFFFFFu, 0x00000000u};
  uint32_t target[3] = {};
  ASSERT_EQ(EnlargeImage(target, source, 3, 1, 2, 1), 1);
  for (uint32_t pixel : target) EXPECT_LE(pixel & 0xFFu, pixel >> 24) << std::hex << pixel;
  EXPECT_EQ(target[0], 0xFFFFFFFFu);
  EXPECT_EQ(target[1], 0x80808080u);
  EXPECT_EQ(target[2], 0x00000000u);

  std::vector<uint32_t> square(9), copy(9);
  for (uint32_t i = 0; i < 9; ++i) square[i] = 0x01010101u * (i * 20);
  ASSERT_EQ(EnlargeImage(copy.data(), square.data(), 3, 3, 3, 3), 1);
  EXPECT_EQ(copy, square);
}

TEST(EnlargeImage, RefusesToShrinkOrWorkOnNothing) {
  uint32_t pixels[4] = {7, 7, 7, 7};
  const uint32_t source[4] = {1, 2, 3, 4};
  EXPECT_EQ(EnlargeImage(pixels, source, 1, 4, 2, 2), 0);
  EXPECT_EQ(EnlargeImage(pixels, source, 4, 1, 2, 2), 0);
  EXPECT_EQ(EnlargeImage(pixels, nullptr, 2, 2, 2, 2), 0);
  EXPECT_EQ(EnlargeImage(pixels, source, 2, 2, 0, 2), 0);
  EXPECT_EQ(pixels[0], 7u) << "a refusal leaves the target alone";
}

}  // namespace
