#include "images/win32/alpha_bitmap.h"

#include <gtest/gtest.h>
#include <png.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string TempFile(const char* name) {
  char folder[MAX_PATH];
  DWORD length = GetTempPathA(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) return name;
  return std::string(folder) + "tovik2_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

// Writes 8-bit RGBA rows (top first) as a PNG file.
bool WriteRgbaPng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
}

std::vector<uint8_t> Bits(HBITMAP bitmap, size_t bytes) {
  const uint8_t* bits = static_cast<const uint8_t*>(AlphaBitmapBits(bitmap));
  return bits == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(bits, bits + bytes);
}

}  // namespace

TEST(AlphaBitmap, HeaderIsFilledAsAlphaBitmapsNeed) {
  BITMAPV5HEADER header;
  memset(&header, 0x5A, sizeof header);
  UniqueBitmap bitmap = CreateBitmapV5(&header, 5, 3);
  ASSERT_NE(bitmap.Get(), nullptr);

  BITMAPV5HEADER expected{};
  expected.bV5Size = 124;
  expected.bV5Width = 5;
  expected.bV5Height = 3;
  expected.bV5Planes = 1;
  expected.bV5BitCount = 32;
  expected.bV5Compression = BI_BITFIELDS;
  expected.bV5RedMask = 0x00FF0000;
  expected.bV5GreenMask = 0x0000FF00;
  expected.bV5BlueMask = 0x000000FF;
  expected.bV5AlphaMask = 0xFF000000;
  EXPECT_EQ(memcmp(&header, &expected, sizeof header), 0);

  DIBSECTION dib{};
  ASSERT_EQ(GetObjectA(bitmap.Get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 5);
  EXPECT_EQ(dib.dsBm.bmHeight, 3);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(dib.dsBmih.biHeight, 3);  // bottom-up
  EXPECT_EQ(dib.dsBmih.biCompression, static_cast<DWORD>(BI_BITFIELDS));
  EXPECT_EQ(dib.dsBitfields[0], 0x00FF0000u);
  EXPECT_EQ(dib.dsBitfields[2], 0x000000FFu);
  EXPECT_EQ(Bits(bitmap.Get(), 5 * 3 * 4), std::vector<uint8_t>(5 * 3 * 4, 0));

  EXPECT_FALSE(CreateBitmapV5(&header, 0, 3));
}

TEST(AlphaBitmap, PngBecomesUprightPremultipliedBitmap) {
  // 3 × 2: top row a, b, c; bottom row d, e, f.
  std::vector<uint8_t> rgba = {255, 255, 255, 128, 200, 100, 1, 100, 10, 20, 30, 0,
                               1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255};
  std::string path = TempFile("3x2.png");
  ASSERT_TRUE(WriteRgbaPng(path, 3, 2, rgba));
  UniqueBitmap bitmap = PrepairAlphaBitmap(path.c_str());
  DeleteFileA(path.c_str());
  ASSERT_NE(bitmap.Get(), nullptr);

  BITMAP info{};
  ASSERT_NE(GetObjectA(bitmap.Get(), sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, 3);
  EXPECT_EQ(info.bmHeight, 2);
  EXPECT_EQ(Bits(bitmap.Get(), 24),
            (std::vector<uint8_t>{3, 2, 1, 255, 6, 5, 4, 255, 9, 8, 7, 255,  // bottom row first
                                  128, 128, 128, 128, 0, 39, 78, 100, 0, 0, 0, 0}));

  EXPECT_FALSE(PrepairAlphaBitmap(TempFile("no such file.png").c_str()));
  EXPECT_FALSE(PrepairAlphaBitmap(nullptr));
}

TEST(AlphaBitmap, BitDataIsCopiedAsItIs) {
  std::vector<uint8_t> data(4 * 2 * 4);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7 + 1);
  UniqueBitmap whole = PrepairAlphaBitmapFromBitData(data.data(), data.size(), 4, 2);
  ASSERT_NE(whole.Get(), nullptr);
  EXPECT_EQ(Bits(whole.Get(), data.size()), data);

  // A short length leaves the rest transparent; a long one is cut to the bitmap.
  UniqueBitmap part = PrepairAlphaBitmapFromBitData(data.data(), 12, 4, 2);
  std::vector<uint8_t> expected(data.size(), 0);
  memcpy(expected.data(), data.data(), 12);
  EXPECT_EQ(Bits(part.Get(), data.size()), expected);
  UniqueBitmap cut = PrepairAlphaBitmapFromBitData(data.data(), data.size(), 2, 2);
  EXPECT_EQ(Bits(cut.Get(), 16), std::vector<uint8_t>(data.begin(), data.begin() + 16));
}

TEST(AlphaBitmap, ReducedBitmapHasTheTargetSize) {
  std::vector<uint32_t> source(72 * 72, 0xFFFFFFFF);
  UniqueBitmap reduced = GetReducedBitmap(48, 32, 72, 72, source.data());
  ASSERT_NE(reduced.Get(), nullptr);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectA(reduced.Get(), sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 48);
  EXPECT_EQ(dib.dsBm.bmHeight, 32);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(Bits(reduced.Get(), 48 * 32 * 4), std::vector<uint8_t>(48 * 32 * 4, 0xFF));
  EXPECT_EQ(source, std::vector<uint32_t>(72 * 72, 0xFFFFFFFF));

  EXPECT_FALSE(GetReducedBitmap(80, 80, 72, 72, source.data()));
}
