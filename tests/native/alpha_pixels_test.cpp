#include "images/alpha_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<uint8_t> Convert(const std::vector<uint8_t>& decoded, int32_t w, int32_t h, int32_t channels) {
  std::vector<uint8_t> out(AlphaPixelBytes(w, h), 0xAB);
  EXPECT_EQ(ConvertToAlphaPixels(out.data(), decoded.data(), w, h, channels), 1);
  return out;
}

}  // namespace

TEST(AlphaPixels, PremultipliesRoundingDown) {
  std::vector<uint8_t> decoded = {255, 255, 255, 128, 200, 100, 1, 100, 10, 20, 30, 0};
  EXPECT_EQ(Convert(decoded, 3, 1, 4),
            (std::vector<uint8_t>{128, 128, 128, 128, 0, 39, 78, 100, 0, 0, 0, 0}));
  // Where rounding to nearest would go up: 200 × 200 / 255 = 156.9 and
  // 1 × 200 / 255 = 0.78 stay 156 and 0.
  EXPECT_EQ(Convert({200, 128, 1, 200}, 1, 1, 4), (std::vector<uint8_t>{0, 100, 156, 200}));

  // Opaque pixels keep their colour byte for byte, in B,G,R order; and no
  // colour byte ever exceeds its alpha.
  std::vector<uint8_t> all;
  for (int c = 0; c < 256; ++c) {
    for (int a = 0; a < 256; ++a) all.insert(all.end(), {uint8_t(c), uint8_t(255 - c), uint8_t(c / 2), uint8_t(a)});
  }
  std::vector<uint8_t> out = Convert(all, 256, 256, 4);
  for (size_t i = 0; i < out.size(); i += 4) {
    ASSERT_LE(out[i], out[i + 3]);
    ASSERT_LE(out[i + 1], out[i + 3]);
    ASSERT_LE(out[i + 2], out[i + 3]);
    if (out[i + 3] == 255) {
      // Rows are flipped, but an opaque pixel's bytes are its own reversed.
      ASSERT_EQ(out[i + 2] + out[i + 1], 255);
    }
  }
}

// Each colour channel on its own, in a pixel where rounding to nearest would
// give one more: 200 × 200 / 255 = 156.86 must stay 156 in R, in G and in B.
// The row is long enough that every pixel comes once at each place a row is
// worked through in (groups of pixels and the leftover ones at its end).
TEST(AlphaPixels, EveryChannelRoundsDownOnItsOwn) {
  const uint8_t cases[3][4] = {{200, 0, 0, 200}, {0, 200, 0, 200}, {0, 0, 200, 200}};
  const uint8_t expected[3][4] = {{0, 0, 156, 200}, {0, 156, 0, 200}, {156, 0, 0, 200}};
  for (int32_t width = 1; width <= 19; ++width) {
    for (int32_t at = 0; at < width; ++at) {
      for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(::testing::Message() << "width " << width << ", pixel " << at << ", channel " << k);
        std::vector<uint8_t> decoded(static_cast<size_t>(width) * 4, 0);
        for (int i = 0; i < 4; ++i) decoded[static_cast<size_t>(at) * 4 + i] = cases[k][i];
        std::vector<uint8_t> out = Convert(decoded, width, 1, 4);
        std::vector<uint8_t> want(out.size(), 0);
        for (int i = 0; i < 4; ++i) want[static_cast<size_t>(at) * 4 + i] = expected[k][i];
        ASSERT_EQ(out, want);
      }
    }
  }
}

// Every colour value under every alpha, in each channel: B,G,R each the
// product rounded down, as ⌊c × a / 255⌋ says, with no exception anywhere.
TEST(AlphaPixels, PremultipliesEveryValueUnderEveryAlpha) {
  std::vector<uint8_t> decoded;
  for (int c = 0; c < 256; ++c) {
    for (int a = 0; a < 256; ++a) {
      decoded.insert(decoded.end(), {uint8_t(c), uint8_t((c + 85) % 256), uint8_t((c + 170) % 256), uint8_t(a)});
    }
  }
  // One row: no flip between where a pixel goes in and where it comes out.
  std::vector<uint8_t> out = Convert(decoded, 256 * 256, 1, 4);
  for (size_t i = 0; i < out.size(); i += 4) {
    unsigned a = decoded[i + 3];
    ASSERT_EQ(out[i], decoded[i + 2] * a / 255) << "B of pixel " << i / 4;
    ASSERT_EQ(out[i + 1], decoded[i + 1] * a / 255) << "G of pixel " << i / 4;
    ASSERT_EQ(out[i + 2], decoded[i] * a / 255) << "R of pixel " << i / 4;
    ASSERT_EQ(out[i + 3], a) << "A of pixel " << i / 4;
  }
}

TEST(AlphaPixels, RowsAreTurnedUpsideDown) {
  // Top row a, b, c; bottom row d, e, f (opaque, so colours stay as they are).
  std::vector<uint8_t> decoded;
  for (uint8_t v = 1; v <= 6; ++v) decoded.insert(decoded.end(), {v, uint8_t(v + 10), uint8_t(v + 20), 255});
  std::vector<uint8_t> out = Convert(decoded, 3, 2, 4);
  std::vector<uint8_t> expected;
  for (uint8_t v : {4, 5, 6, 1, 2, 3}) expected.insert(expected.end(), {uint8_t(v + 20), uint8_t(v + 10), v, 255});
  EXPECT_EQ(out, expected);
}

TEST(AlphaPixels, ThreeChannelsAreColourKeyedOnTopLeft) {
  // White key: every white pixel goes, also one inside the figure.
  std::vector<uint8_t> decoded = {255, 255, 255, 1, 2, 3, 255, 255, 255,  // top row
                                  255, 255, 254, 255, 255, 255, 9, 8, 7};
  std::vector<uint8_t> out = Convert(decoded, 3, 2, 3);
  EXPECT_EQ(out, (std::vector<uint8_t>{254, 255, 255, 255, 0, 0, 0, 0, 7, 8, 9, 255,  // bottom row first
                                       0, 0, 0, 0, 3, 2, 1, 255, 0, 0, 0, 0}));

  // A 1 × 1 picture is nothing but its key colour.
  EXPECT_EQ(Convert({40, 50, 60}, 1, 1, 3), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(AlphaPixels, RefusesWhatItCannotConvert) {
  std::vector<uint8_t> buffer(64);
  EXPECT_EQ(ConvertToAlphaPixels(buffer.data(), buffer.data(), 2, 2, 2), 0);
  EXPECT_EQ(ConvertToAlphaPixels(buffer.data(), buffer.data(), 0, 2, 4), 0);
  EXPECT_EQ(AlphaPixelBytes(16384, 16384), size_t{16384} * 16384 * 4);
  EXPECT_EQ(AlphaPixelBytes(-1, 5), 0u);
  EXPECT_EQ(AlphaPixelBytes(INT32_MAX, INT32_MAX), sizeof(size_t) == 8 ? size_t{INT32_MAX} * INT32_MAX * 4 : 0u);
}
