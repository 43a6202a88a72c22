#include "images/win32/star_images.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/test_display.h"
#include "base/app_state.h"
#include "base/dpi_scale.h"
#include "base/resource_ids.h"
#include "base/ui_texts.h"
#include "images/win32/alpha_bitmap.h"
#include "images/win32/artwork.h"
#include "message_box_watcher.h"
#include "stars/win32/pupil_window.h"
#include "stars/star.h"
#include "test_png.h"
#include "test_window.h"

namespace {

// The process drawn at another DPI for the object's life.
struct ScaledProcess {
  explicit ScaledProcess(int32_t dpi) { SetProcessDpi(dpi); }
  ~ScaledProcess() { SetProcessDpi(kBaseDpi); }
};

class StarImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appInstance = GetModuleHandleA(nullptr);
    LoadUiTexts();
  }
  void TearDown() override {
    ReleaseImageList(&list);
    display.CleanUpImageList();
  }
  // The test display below no dialog, its windows and boxes owned by owner.
  void ShowTestDisplay(const std::string& folder) {
    display.ViewImageListInFolder(folder.c_str(), TestDisplayHost{owner.handle(), nullptr, nullptr});
  }
  ImageSet* Load(const TempFolder& folder, const char* name, int width, int height) {
    std::string path = folder.File(name);
    if (!WriteTestPng(path, width, height)) return nullptr;
    int before = list.Count();
    if (!PrepairStarImageByFile(path.c_str(), &list) || list.Count() != before + 1) return nullptr;
    return list.Get(before);
  }
  TestWindow owner;
  ImageList<ImageSet> list;
  TestDisplay display;
};

TEST_F(StarImagesTest, FixKeepsTheSizeAndOtherPicturesAreReducedToFit) {
  TempFolder folder("sizes");  // folder names count for the markers too
  ImageSet* fixed = Load(folder, "star_fix.png", 200, 100);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->frameWidth, 200);
  EXPECT_EQ(fixed->frameHeight, 100);
  ImageSet* reduced = Load(folder, "star.png", 200, 100);
  ASSERT_NE(reduced, nullptr);
  EXPECT_EQ(reduced->frameWidth, 72);
  EXPECT_EQ(reduced->frameHeight, 35);
  BITMAP info{};
  GetObjectA(reduced->Bitmap(), sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 72) << "the reduced bitmap replaced the full one";
  ImageSet* small = Load(folder, "small.png", 40, 30);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->frameWidth, 40);
}

TEST_F(StarImagesTest, AnimationStripsAreCutIntoSquareFrames) {
  TempFolder folder("strips");
  ImageSet* spinFix = Load(folder, "spin_anm_fix.png", 240, 48);
  ASSERT_NE(spinFix, nullptr);
  EXPECT_EQ(spinFix->frameWidth, 48);
  EXPECT_EQ(spinFix->frameCount, 5);
  EXPECT_EQ(spinFix->framesSideBySide, 1);
  ImageSet* spin = Load(folder, "spin_anm.png", 240, 48);
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->frameWidth, 14);
  EXPECT_EQ(spin->frameHeight, 14);
  EXPECT_EQ(spin->frameCount, 5);
  ImageSet* drop = Load(folder, "drop_anm_fix.png", 32, 100);
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(drop->frameCount, 3);
  EXPECT_EQ(drop->framesSideBySide, 0);
  ImageSet* wide = Load(folder, "wide_anm_fix.png", 60, 40);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->frameCount, 1);
  EXPECT_EQ(wide->frameWidth, 60);
  ImageSet* upper = Load(folder, "x_ANM.png", 64, 32);
  ASSERT_NE(upper, nullptr);
  EXPECT_EQ(upper->frameCount, 1) << "the marker is case-sensitive";
}

TEST_F(StarImagesTest, TooThinOrUnreadableFilesAreNotLoaded) {
  TempFolder folder("thin");
  ASSERT_TRUE(WriteTestPng(folder.File("thin.png"), 1000, 5));
  EXPECT_EQ(PrepairStarImageByFile(folder.File("thin.png").c_str(), &list), 0);
  ASSERT_TRUE(WriteTextFile(folder.File("text.png"), "not a picture"));
  EXPECT_EQ(PrepairStarImageByFile(folder.File("text.png").c_str(), &list), 0);
  EXPECT_EQ(PrepairStarImageByFile("", &list), 0);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(StarImagesTest, AFolderWithOneBrokenFileGivesTheOthersAndNamesTheBrokenOne) {
  TempFolder folder("mixed");
  ASSERT_TRUE(WriteTestPng(folder.File("a.png"), 32, 32));
  ASSERT_TRUE(WriteTestPng(folder.File("b.png"), 48, 48));
  ASSERT_TRUE(WriteTestPng(folder.File("c.png"), 72, 72));
  ASSERT_TRUE(WriteTextFile(folder.File("broken.png"), "\x89PNG\r\n\x1a\n truncated"));
  ASSERT_TRUE(WriteTextFile(folder.File("notes.txt"), "ignored: not *.png"));
  // A folder named like a picture is no broken picture.
  ASSERT_TRUE(CreateDirectoryA(folder.File("album.png").c_str(), nullptr));
  MessageBoxWatcher boxes;
  FolderScanReport report{};
  report.failedFiles = -1;
  EXPECT_NE(PrepairStarImageByFolder(folder.path().c_str(), &list, &report), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(report.failedFiles, 1);
  EXPECT_STREQ(report.failedNames[0], "broken.png");
  EXPECT_EQ(report.folderMissing + report.folderIsFile, 0);
  EXPECT_TRUE(boxes.Texts().empty()) << "telling the user is the caller's business";
}

TEST_F(StarImagesTest, AFolderOfBrokenFilesOrNoneGivesNothingAndSaysWhy) {
  TempFolder folder("broken");
  ASSERT_TRUE(WriteTextFile(folder.File("one.png"), "no"));
  ASSERT_TRUE(WriteTextFile(folder.File("two.png"), "no"));
  MessageBoxWatcher boxes;
  FolderScanReport report{};
  EXPECT_EQ(PrepairStarImageByFolder(folder.path().c_str(), &list, &report), 0);
  EXPECT_EQ(report.failedFiles, 2);
  EXPECT_EQ(report.folderMissing + report.folderIsFile, 0);
  EXPECT_EQ(PrepairStarImageByFolder((folder.path() + "\\missing").c_str(), &list, &report), 0);
  EXPECT_EQ(report.folderMissing, 1);
  EXPECT_EQ(report.failedFiles, 0);
  EXPECT_EQ(PrepairStarImageByFolder(folder.File("one.png").c_str(), &list, &report), 0);
  EXPECT_EQ(report.folderIsFile, 1);
  EXPECT_EQ(report.folderMissing, 0);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(boxes.Texts().empty());
}

// The big picture is reduced while it is decoded; what comes out is a star of
// the reduced size with the picture's colour, and a "_fix" twin keeps its size.
TEST_F(StarImagesTest, ALargePictureBecomesAStarOfItsReducedSize) {
  TempFolder folder("large");
  ASSERT_TRUE(WriteTestPng(folder.File("wide.png"), 3000, 1000, 0x204080FFu));
  ImageSet* wide = nullptr;
  ASSERT_EQ(PrepairStarImageByFile(folder.File("wide.png").c_str(), &list), 1);
  wide = list.Get(0);
  EXPECT_EQ(wide->frameWidth, 72);
  EXPECT_EQ(wide->frameHeight, 23);
  const uint32_t* pixels = static_cast<const uint32_t*>(AlphaBitmapBits(wide->Bitmap()));
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels[0], 0xFF204080u);
  EXPECT_EQ(pixels[72 * 23 - 1], 0xFF204080u);
  ASSERT_TRUE(WriteTestPng(folder.File("wide_fix.png"), 3000, 1000));
  ASSERT_EQ(PrepairStarImageByFile(folder.File("wide_fix.png").c_str(), &list), 1);
  EXPECT_EQ(list.Get(1)->frameWidth, 3000);
}

TEST_F(StarImagesTest, DefaultStarGivesThreeSizesInOrder) {
  ASSERT_EQ(PrepairStarImage(149, 72, 72, &list), 1);
  ASSERT_EQ(list.Count(), 3);
  const int sides[] = {72, 48, 32};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(list.Get(k)->frameWidth, sides[k]);
    EXPECT_EQ(list.Get(k)->frameHeight, sides[k]);
    EXPECT_EQ(list.Get(k)->frameCount, 1);
  }
}

TEST_F(StarImagesTest, AtOneHundredFiftyPercentTheStarsAndTheFitBoxAreHalfAgainAsLarge) {
  ImageSet* large = nullptr;
  ImageSet* small = nullptr;
  TempFolder folder("scaled");
  {
    ScaledProcess scaled(144);
    ASSERT_EQ(PrepairStarImage(149, 72, 72, &list), 1);
    large = Load(folder, "large.png", 432, 216);
    small = Load(folder, "small.png", 60, 60);
  }
  ASSERT_EQ(list.Count(), 5);
  const int sides[] = {108, 72, 48};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(list.Get(k)->frameWidth, sides[k]);
    EXPECT_EQ(list.Get(k)->frameHeight, sides[k]);
  }
  // The enlarged star keeps its shape: clear corners, an opaque heart.
  const uint32_t* star = static_cast<const uint32_t*>(AlphaBitmapBits(list.Get(0)->Bitmap()));
  ASSERT_NE(star, nullptr);
  EXPECT_EQ(star[0] >> 24, 0u);
  EXPECT_EQ(star[54 * 108 + 54] >> 24, 255u);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(large->frameWidth, 108) << "reduced from its source to the wider box";
  EXPECT_EQ(large->frameHeight, 53);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->frameWidth, 60) << "a picture that fits is never enlarged";
}

// The built-in star is drawn at 72 and at 144 pixels. At 100 % it is the
// 72 pixel source itself; at 200 % the 144 pixel one, pixel for pixel, so no
// scale up to 200 % enlarges it; at 150 % it is reduced from the larger one.
TEST_F(StarImagesTest, TheBuiltInStarIsReducedFromTheSourceThatFitsItsScale) {
  auto samePixels = [](HBITMAP made, int id, int32_t side) {
    UniqueBitmap source = PrepairAlphaBitmapFromResource(id, side, side);
    const auto* a = static_cast<const uint32_t*>(AlphaBitmapBits(made));
    const auto* b = static_cast<const uint32_t*>(AlphaBitmapBits(source.Get()));
    return a != nullptr && b != nullptr && std::equal(a, a + side * side, b);
  };
  ASSERT_EQ(PrepairBuiltInStar(&list), 1);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_TRUE(samePixels(list.Get(0)->Bitmap(), IDR_STAR_ART, 72)) << "unscaled, today's star";
  for (int32_t dpi : {144, 192}) {
    ImageList<ImageSet> scaled;
    {
      ScaledProcess scale(dpi);
      ASSERT_EQ(PrepairBuiltInStar(&scaled), 1);
    }
    ASSERT_EQ(scaled.Count(), 3);
    const int32_t side = 72 * dpi / 96;
    EXPECT_EQ(scaled.Get(0)->frameWidth, side);
    EXPECT_EQ(scaled.Get(2)->frameWidth, 32 * dpi / 96);
    if (dpi == 192) EXPECT_TRUE(samePixels(scaled.Get(0)->Bitmap(), IDR_STAR_LARGE_ART, 144)) << "the large source itself";
    const auto* star = static_cast<const uint32_t*>(AlphaBitmapBits(scaled.Get(0)->Bitmap()));
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star[0] >> 24, 0u) << dpi;
    EXPECT_EQ(star[(side / 2) * side + side / 2] >> 24, 255u) << dpi;
  }
}

TEST_F(StarImagesTest, MissingDefaultArtworkIsReportedAndNothingElse) {
  MessageBoxWatcher boxes;
  EXPECT_EQ(PrepairStarImage(4242, 72, 72, &list), 0);
  EXPECT_EQ(list.Count(), 0);
  MSG message;
  EXPECT_FALSE(PeekMessageA(&message, owner.handle(), WM_CLOSE, WM_CLOSE, PM_REMOVE))
      << "ending the program is the shell's decision";
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(StarImagesTest, TestDisplayShowsEachPictureSideBySideAndCleansUp) {
  TempFolder folder("display");
  ASSERT_TRUE(WriteTestPng(folder.File("a.png"), 40, 40));
  ASSERT_TRUE(WriteTestPng(folder.File("b.png"), 20, 20));
  ASSERT_TRUE(WriteTestPng(folder.File("c_anm_fix.png"), 90, 30));
  ShowTestDisplay(folder.path());
  ASSERT_EQ(display.Pictures().Count(), 3);
  ASSERT_EQ(display.Stars().Count(), 3);

  int total = 0;
  for (int k = 0; k < 3; ++k) total += display.Pictures().Get(k)->frameWidth;
  EXPECT_EQ(total, 90);  // 40 + 20 + one 30-pixel frame
  int x = (GetSystemMetrics(SM_CXSCREEN) - total) / 2;
  std::vector<HWND> windows;
  for (int k = 0; k < 3; ++k) {
    PupilWindow* star = display.Stars().Get(k);
    ASSERT_NE(star, nullptr);
    HWND window = star->Handle();
    windows.push_back(window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(star->HasMenu()) << "no context menu on the test display";
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, x) << k;
    EXPECT_EQ(rect.top, 4) << k;  // no dialog: just below the top
    EXPECT_EQ(rect.right - rect.left, display.Pictures().Get(k)->frameWidth);
    x += display.Pictures().Get(k)->frameWidth + 4;
  }

  display.CleanUpImageList();
  EXPECT_EQ(display.Pictures().Count(), 0);
  EXPECT_EQ(display.Stars().Count(), 0);
  MSG message;
  for (int i = 0; i < 100; ++i) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    bool any = false;
    for (HWND w : windows) any = any || IsWindow(w);
    if (!any) break;
    Sleep(10);
  }
  for (HWND w : windows) EXPECT_FALSE(IsWindow(w));
}

// A test display that can show nothing says why: no picture in the folder
// (naming the files that failed), or no such folder.
TEST_F(StarImagesTest, TestDisplayOfNothingSaysSo) {
  TempFolder folder("nothing");
  ASSERT_TRUE(WriteTextFile(folder.File("bad.png"), "no picture"));
  {
    MessageBoxWatcher boxes;
    ShowTestDisplay(folder.path());
    EXPECT_EQ(display.Stars().Count(), 0);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], std::wstring(UiTexts.slot[TEXT_NO_PICTURE]) + L"\n\nbad.png");
  }
  display.CleanUpImageList();
  {
    MessageBoxWatcher boxes;
    std::string missing = folder.path() + "\\gone";
    ShowTestDisplay(missing);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], std::wstring(UiTexts.slot[TEXT_FOLDER_MISSING]) + L"\n" +
                                    std::wstring(missing.begin(), missing.end()));
  }
  {
    MessageBoxWatcher boxes;
    TempFolder empty("empty");
    ShowTestDisplay(empty.path());
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], UiTexts.slot[TEXT_NO_PICTURE]);
  }
}

}  // namespace
