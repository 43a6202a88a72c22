#include "base/owned_handles.h"

#include <gtest/gtest.h>

#include "images/win32/alpha_bitmap.h"

namespace {

DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(OwnedHandles, AMemoryBitmapFreesItsBitmapAndDCWhateverWayItGoes) {
  const DWORD before = GdiObjects();
  BITMAPV5HEADER header;
  {
    MemoryBitmap picture;
    ASSERT_TRUE(picture.Adopt(CreateBitmapV5(&header, 8, 8)));
    EXPECT_NE(picture.DC(), nullptr);
    EXPECT_EQ(GetCurrentObject(picture.DC(), OBJ_BITMAP), picture.Bitmap()) << "selected into its DC";
    MemoryBitmap moved = std::move(picture);
    EXPECT_FALSE(picture);
    EXPECT_TRUE(moved);
    ASSERT_TRUE(moved.Adopt(CreateBitmapV5(&header, 4, 4))) << "a second picture replaces the first";
  }
  EXPECT_EQ(GdiObjects(), before);

  MemoryBitmap empty;
  EXPECT_FALSE(empty.Adopt(UniqueBitmap()));
  EXPECT_FALSE(empty);
}

TEST(OwnedHandles, ASelectGuardPutsThePreviousObjectBack) {
  UniqueDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BITMAP);
  BITMAPV5HEADER header;
  UniqueBitmap bitmap = CreateBitmapV5(&header, 2, 2);
  {
    SelectGuard selection(dc.Get(), bitmap.Get());
    ASSERT_TRUE(selection);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
}

}  // namespace
