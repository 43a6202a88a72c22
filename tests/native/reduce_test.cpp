#include "images/reduce.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "images/star_image_rules.h"

namespace {

constexpr uint32_t Px(uint32_t b, uint32_t g, uint32_t r, uint32_t a) {
  return b | (g << 8) | (r << 16) | (a << 24);
}

std::vector<uint32_t> Reduce(const std::vector<uint32_t>& source, int32_t sw, int32_t sh, int32_t tw,
                             int32_t th) {
  std::vector<uint32_t> target(static_cast<size_t>(tw) * th, 0xDEADBEEF);
  EXPECT_EQ(ReduceImage(target.data(), source.data(), tw, th, sw, sh), 1);
  return target;
}

// The filter by its definition: every target pixel sampled on its own at its
// footprint's centre, the scales divided in double and kept in single.
std::vector<uint32_t> SampleEachPixel(const std::vector<uint32_t>& source, int32_t sw, int32_t sh, int32_t tw,
                                      int32_t th) {
  float sx = static_cast<float>(static_cast<double>(sw) / tw);
  float sy = static_cast<float>(static_cast<double>(sh) / th);
  std::vector<uint32_t> target;
  for (int32_t i = 0; i < th; ++i) {
    for (int32_t j = 0; j < tw; ++j) {
      target.push_back(SampleBox(source.data(), sw, sh, (static_cast<float>(j) + 0.5f) * sx - 0.5f,
                                 (static_cast<float>(i) + 0.5f) * sy - 0.5f, sx, sy));
    }
  }
  return target;
}

}  // namespace

TEST(Reduce, FourByOneToTwoByOneAveragesPairs) {
  std::vector<uint32_t> source = {Px(0, 0, 0, 0), Px(100, 100, 100, 255), Px(200, 0, 0, 200),
                                  Px(10, 20, 30, 40)};
  EXPECT_EQ(Reduce(source, 4, 1, 2, 1),
            (std::vector<uint32_t>{Px(50, 50, 50, 127), Px(105, 10, 15, 120)}));
}

TEST(Reduce, ThreeByThreeToTwoByTwoWeighsEdgesByCoverage) {
  // One byte lit in each of the four pixels around the top-left target's
  // footprint: (0,0) weight 1, (1,0) and (0,1) 0.5, (1,1) 0.25, over area 2.25.
  std::vector<uint32_t> source(9, 0);
  source[0] = Px(200, 0, 0, 0);
  source[1] = Px(0, 200, 0, 0);
  source[3] = Px(0, 0, 200, 0);
  source[4] = Px(0, 0, 0, 200);
  std::vector<uint32_t> target = Reduce(source, 3, 3, 2, 2);
  EXPECT_EQ(target[0], Px(88, 44, 44, 22));  // 200/2.25, 100/2.25, 100/2.25, 50/2.25
  // The centre pixel reaches every target with a quarter of its weight.
  EXPECT_EQ(target[3] >> 24, 22u);
  EXPECT_EQ(target[3] & 0xFFFFFF, 0u);
}

TEST(Reduce, ExactHalvingAveragesEachBlockAlone) {
  // 4 × 4 made of four plain 2 × 2 blocks: nothing of a neighbouring block may
  // leak in through the far edge of a footprint.
  const uint32_t blocks[4] = {Px(10, 20, 30, 40), Px(50, 60, 70, 80), Px(90, 100, 110, 120),
                              Px(130, 140, 150, 160)};
  std::vector<uint32_t> source(16);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) source[y * 4 + x] = blocks[(y / 2) * 2 + x / 2];
  }
  EXPECT_EQ(Reduce(source, 4, 4, 2, 2), std::vector<uint32_t>(blocks, blocks + 4));
}

TEST(Reduce, PlainColoursSurviveEverySize) {
  // Beyond the edges lies transparent white; it must never weigh in, or the
  // last column and row would change colour. Opaque white stays opaque white.
  struct Case { int32_t sw, sh, tw, th; };
  for (uint32_t colour : {0xFFFFFFFFu, Px(10, 20, 30, 40), 0u}) {
    for (Case c : {Case{72, 72, 48, 48}, Case{72, 72, 32, 32}, Case{240, 32, 180, 24},
                   Case{240, 32, 120, 16}, Case{2048, 2048, 72, 72}, Case{7, 5, 3, 2}, Case{9, 9, 9, 9},
                   Case{4100, 3, 2, 1}}) {
      SCOPED_TRACE(::testing::Message() << std::hex << colour << std::dec << " " << c.sw << "x" << c.sh
                                        << " -> " << c.tw << "x" << c.th);
      std::vector<uint32_t> source(static_cast<size_t>(c.sw) * c.sh, colour);
      std::vector<uint32_t> target = Reduce(source, c.sw, c.sh, c.tw, c.th);
      for (size_t i = 0; i < target.size(); ++i) ASSERT_EQ(target[i], colour) << "pixel " << i;
    }
  }
}

TEST(Reduce, EqualSizesCopyAndRowsKeepTheirOrder) {
  std::vector<uint32_t> source(6 * 4);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint32_t>(i * 0x01030507u);
  EXPECT_EQ(Reduce(source, 6, 4, 6, 4), source);

  // A bright first memory row stays first: 6 × 4 → 3 × 2.
  std::vector<uint32_t> striped(6 * 4, 0);
  for (int x = 0; x < 6; ++x) striped[x] = striped[6 + x] = 0xFFFFFFFF;
  std::vector<uint32_t> target = Reduce(striped, 6, 4, 3, 2);
  EXPECT_EQ(target, (std::vector<uint32_t>{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0}));
}

TEST(Reduce, RefusesWhatIsNotAReduction) {
  std::vector<uint32_t> source(4, 0xFFFFFFFF), target(16, 7);
  EXPECT_EQ(ReduceImage(target.data(), source.data(), 4, 4, 2, 2), 0);
  EXPECT_EQ(ReduceImage(target.data(), source.data(), 0, 1, 2, 2), 0);
  EXPECT_EQ(ReduceImage(target.data(), source.data(), 1, -1, 2, 2), 0);
  EXPECT_EQ(target, std::vector<uint32_t>(16, 7));
}

TEST(Reduce, SourcePixelsOutsideAreTransparentWhite) {
  std::vector<uint32_t> source = {1, 2, 3, 4, 5, 6};  // 3 × 2
  EXPECT_EQ(GetSourcePixel(source.data(), 3, 2, 2, 1), 6u);
  EXPECT_EQ(GetSourcePixel(source.data(), 3, 2, 3, 0), OUTSIDE_PIXEL);
  EXPECT_EQ(GetSourcePixel(source.data(), 3, 2, 0, 2), OUTSIDE_PIXEL);
  EXPECT_EQ(GetSourcePixel(source.data(), 3, 2, -1, 0), OUTSIDE_PIXEL);

  RectF a{0, 0, 2, 2}, b{1, 1.5f, 3, 3}, far{5, 5, 6, 6};
  RectF common = a.Intersect(b);
  EXPECT_FLOAT_EQ(common.Area(), 0.5f);
  RectF none = a.Intersect(far);
  EXPECT_EQ(none.left, 0);
  EXPECT_EQ(none.right, 0);
  EXPECT_EQ(none.Area(), 0);
}

// Rows that arrive one at a time, top of the picture (the last memory row)
// first, give the bytes of every pixel sampled on its own exactly, as does
// ReduceImage, for every ratio and for the sizes the star pictures are
// reduced to: whole pixels summed apart from the partly covered edges must
// not move a single rounding.
TEST(Reduce, RowsArrivingOneByOneGiveTheSameBytes) {
  uint32_t noise = 7;
  auto check = [&](int32_t sw, int32_t sh, int32_t tw, int32_t th) {
    SCOPED_TRACE(::testing::Message() << sw << "x" << sh << " -> " << tw << "x" << th);
    std::vector<uint32_t> source(static_cast<size_t>(sw) * sh);
    for (uint32_t& p : source) {
      noise = noise * 1103515245u + 12345u;
      // Plain opaque and clear stretches among noise, as in artwork.
      p = (noise >> 28) < 4 ? 0xFFFFFFFFu : (noise >> 28) < 8 ? 0u : noise;
    }
    std::vector<uint32_t> expected = SampleEachPixel(source, sw, sh, tw, th);
    std::vector<uint32_t> whole = Reduce(source, sw, sh, tw, th);
    for (size_t i = 0; i < whole.size(); ++i) ASSERT_EQ(whole[i], expected[i]) << "whole, pixel " << i;
    std::vector<uint32_t> got(expected.size(), 0xDEADBEEF);
    RowReducer reducer;
    ASSERT_EQ(reducer.Begin(got.data(), tw, th, sw, sh), 1);
    for (int32_t y = sh - 1; y >= 0; --y) {
      EXPECT_EQ(reducer.Done(), 0);
      reducer.AddRow(source.data() + static_cast<size_t>(y) * sw);
    }
    EXPECT_EQ(reducer.Done(), 1);
    for (size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], expected[i]) << "pixel " << i;
  };
  for (int32_t sw = 1; sw <= 13; ++sw) {
    for (int32_t sh = 1; sh <= 13; ++sh) {
      for (int32_t tw = 1; tw <= sw; ++tw) {
        for (int32_t th = 1; th <= sh; th += 2) check(sw, sh, tw, th);
      }
    }
  }
  for (auto [sw, sh] : {std::pair{200, 100}, {240, 48}, {1000, 73}, {73, 1000}, {641, 479}, {1920, 1080}}) {
    PictureSize size = ReducedStarSize(sw, sh);
    check(sw, sh, size.width, size.height);
  }
  check(72, 72, 48, 48);
  check(72, 72, 32, 32);
  check(240, 32, 180, 24);
  check(240, 32, 120, 16);
  check(2048, 2048, 72, 72);
  // Footprints more than 512 whole pixels wide, and ratios whose edge
  // weights take every bit of a float.
  check(4100, 5, 3, 2);
  check(1237, 999, 71, 67);
  check(997, 13, 997, 5);
  // A footprint of 2^20 columns or more is summed column by column, as
  // SampleBox sums it, rather than whole pixels apart from the edges.
  check((1 << 20) + 5, 2, 1, 1);

  RowReducer refused;
  std::vector<uint32_t> target(16);
  EXPECT_EQ(refused.Begin(target.data(), 4, 4, 2, 2), 0);
  EXPECT_EQ(refused.Begin(target.data(), 0, 1, 2, 2), 0);
}
