#include "app/tray_icon.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/app_state.h"
#include "base/display_dpi.h"
#include "base/resource_ids.h"
#include "test_window.h"

namespace {

struct IconFacts {
  int width = 0;
  int height = 0;
  BOOL isIcon = FALSE;
  DWORD hotX = 0;
  DWORD hotY = 0;
  std::vector<DWORD> pixels;  // top-down 0xAARRGGBB
};

IconFacts Inspect(HICON icon) {
  IconFacts facts;
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return facts;
  BITMAP bitmap{};
  GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
  facts.width = bitmap.bmWidth;
  facts.height = bitmap.bmHeight;
  facts.isIcon = info.fIcon;
  facts.hotX = info.xHotspot;
  facts.hotY = info.yHotspot;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = bitmap.bmWidth;
  request.bmiHeader.biHeight = -bitmap.bmHeight;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  facts.pixels.resize(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, facts.pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return facts;
}

TEST(TrayIcon, MakeIconGivesASixteenPixelAlphaIconOfTheStar) {
  TrayIcon tray;
  HICON icon = tray.MakeIcon(IDR_TRAY_ART);
  ASSERT_NE(icon, nullptr);
  IconFacts facts = Inspect(icon);
  EXPECT_EQ(facts.width, 16);
  EXPECT_EQ(facts.height, 16);
  EXPECT_TRUE(facts.isIcon);
  ASSERT_EQ(facts.pixels.size(), 256u);
  EXPECT_EQ(facts.pixels[0] >> 24, 0u) << "a corner of the star is transparent";
  EXPECT_EQ(facts.pixels[8 * 16 + 8] >> 24, 255u) << "the heart of the star is opaque";
  DestroyIcon(icon);
  EXPECT_EQ(tray.MakeIcon(9999), nullptr);
}

TEST(TrayIcon, AScaledDisplayGetsTheStarAtItsOwnSmallIconSize) {
  TrayIcon tray;
  for (int size : {20, 24, 32}) {
    HICON icon = tray.MakeIconAt(IDR_TRAY_ART, size);
    ASSERT_NE(icon, nullptr) << size;
    IconFacts facts = Inspect(icon);
    EXPECT_EQ(facts.width, size);
    EXPECT_EQ(facts.height, size);
    ASSERT_EQ(facts.pixels.size(), static_cast<size_t>(size * size));
    EXPECT_EQ(facts.pixels[0] >> 24, 0u) << size << ": a corner of the star is transparent";
    EXPECT_EQ(facts.pixels[(size / 2) * size + size / 2] >> 24, 255u) << size << ": its heart is opaque";
    DestroyIcon(icon);
  }
  EXPECT_EQ(tray.MakeIconAt(9999, 24), nullptr);
  // The display's own size: 16 on the tests' unscaled display.
  HICON own = tray.MakeIcon(IDR_TRAY_ART);
  EXPECT_EQ(Inspect(own).width, GetSystemMetrics(SM_CXSMICON));
  DestroyIcon(own);
  // Sizes are taken for the DPI of now, not the sign-in's.
  EXPECT_EQ(MetricAtDpi(SM_CXSMICON, 96), 16);
  EXPECT_EQ(MetricAtDpi(SM_CXSMICON, 144), 24);
  EXPECT_EQ(MetricAtDpi(SM_CXSMICON, 192), 32);
  EXPECT_GT(MetricAtDpi(SM_CXMENUCHECK, 192), MetricAtDpi(SM_CXMENUCHECK, 96));
}

TEST(TrayIcon, StarCursorHasItsHotSpotAtTheArrowTip) {
  appInstance = GetModuleHandleA(nullptr);
  HCURSOR cursor = PrepairAlphaIcon(IDR_CURSOR_ART, 4, 1);
  ASSERT_NE(cursor, nullptr);
  IconFacts facts = Inspect(cursor);
  EXPECT_EQ(facts.width, 32);
  EXPECT_EQ(facts.height, 32);
  EXPECT_FALSE(facts.isIcon);
  EXPECT_EQ(facts.hotX, 4u);
  EXPECT_EQ(facts.hotY, 1u);
  EXPECT_GE(facts.pixels[1 * 32 + 4] >> 24, 200u) << "the hot spot pixel is the arrow's tip";
  EXPECT_EQ(facts.pixels[1 * 32 + 3] >> 24, 0u) << "nothing left of the tip";
  DestroyCursor(cursor);
}

TEST(TrayIcon, AddModifyRemoveReachTheShell) {
  TestWindow owner;
  TrayIcon tray;
  EXPECT_TRUE(tray.Add(owner.handle(), IDR_TRAY_ART, WM_APP + 100, L"Pipwink2"));
  EXPECT_TRUE(tray.Modify(IDR_TRAY_ART, L"Pipwink2 (Disabled)"));
  EXPECT_TRUE(tray.Modify(0, L"Pipwink2"));
  EXPECT_FALSE(tray.Modify(0, nullptr));  // nothing to change
  EXPECT_TRUE(tray.Remove());
  EXPECT_FALSE(tray.Remove());  // already gone
}

}  // namespace
