#include "stars/run_control.h"

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "base/settings.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "images/artwork.h"
#include "images/image_set.h"
#include "message_box_watcher.h"
#include "stars/pupil_window.h"
#include "stars/star.h"
#include "stars/star_field.h"
#include "test_png.h"
#include "test_window.h"

namespace {

class RunControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appInstance = GetModuleHandleA(nullptr);
    LoadUiTexts();
    settings.quantity = 1;
    settings.moveRange = 70;
  }
  void TearDown() override {
    field.StopPipwink();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  void UseFolder(const std::string& folder) {
    std::snprintf(settings.imageFolder, sizeof settings.imageFolder, "%s", folder.c_str());
  }
  TestWindow owner;
  SettingsRecord settings{};
  StarField field{StarFieldHost{owner.handle(), nullptr, &UiTexts, &settings}};
};

TEST_F(RunControlTest, WithoutAFolderTheBuiltInStarIsUsedQuietly) {
  MessageBoxWatcher boxes;
  StartReport report = field.StartPipwink();
  EXPECT_EQ(field.StarImageList.Count(), 3);
  EXPECT_EQ(report.someUnreadable + report.folderUnusable + report.noStarPicture, 0);
  EXPECT_NE(field.starListHead, nullptr);
  EXPECT_EQ(reactionEnabled, 1);
  EXPECT_NE(field.artwork.PoofFrame(4), nullptr);
  EXPECT_NE(field.artwork.digitStrips[DIGITS_SMALL_MASK].DC(), nullptr);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(RunControlTest, AFolderWithAPictureReplacesTheBuiltInStarAndReportsItsBrokenFiles) {
  TempFolder folder("own");
  ASSERT_TRUE(WriteTestPng(folder.File("mine.png"), 40, 40));
  ASSERT_TRUE(WriteTextFile(folder.File("broken.png"), "no picture"));
  UseFolder(folder.path());
  MessageBoxWatcher boxes;
  StartReport report = field.StartPipwink();
  ASSERT_EQ(field.StarImageList.Count(), 1);
  EXPECT_EQ(report.someUnreadable, 1);
  EXPECT_EQ(report.folderUnusable, 0);
  EXPECT_EQ(report.folder.failedFiles, 1);
  EXPECT_STREQ(report.folder.failedNames[0], "broken.png");
  EXPECT_EQ(field.StarImageList.Get(0)->frameWidth, 40);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(RunControlTest, AFolderOfBrokenFilesIsReportedAndTheBuiltInStarUsed) {
  TempFolder folder("broken");
  ASSERT_TRUE(WriteTextFile(folder.File("a.png"), "no picture"));
  UseFolder(folder.path());
  StartReport report = field.StartPipwink();
  EXPECT_EQ(field.StarImageList.Count(), 3);
  EXPECT_EQ(report.folderUnusable, 1);
  EXPECT_EQ(report.someUnreadable, 0);
  EXPECT_EQ(report.noStarPicture, 0);
  EXPECT_EQ(report.folder.folderMissing + report.folder.folderIsFile, 0);

  // A missing folder and a file named as the folder are told as such.
  field.StopPipwink();
  UseFolder(folder.path() + "\\gone");
  report = field.StartPipwink();
  EXPECT_EQ(field.StarImageList.Count(), 3);
  EXPECT_EQ(report.folderUnusable, 1);
  EXPECT_EQ(report.folder.folderMissing, 1);
  field.StopPipwink();
  UseFolder(folder.File("a.png"));
  report = field.StartPipwink();
  EXPECT_EQ(report.folder.folderIsFile, 1);
}

TEST_F(RunControlTest, ARestartWhileDisabledLeavesTheFieldEnabledWithAnEmptyPool) {
  field.StartPipwink();
  field.GenerateStars(PWM_HOOK_CLICK, 300, 300);
  ASSERT_NE(field.lastGeneratedStar, nullptr);
  HWND star = field.lastGeneratedStar->window->Handle();
  field.chainValue = 8;
  field.DisablePipwink();
  EXPECT_EQ(reactionEnabled, 0);

  field.RestartPipwink();
  EXPECT_EQ(reactionEnabled, 1);
  EXPECT_EQ(field.lastGeneratedStar, nullptr);
  ASSERT_NE(field.starListHead, nullptr);
  EXPECT_EQ(field.starListHead->next, field.starListTail) << "every star went with the restart";
  EXPECT_EQ(field.GetFreeStar(0), nullptr);
  EXPECT_EQ(field.chainValue, 8) << "the chase game keeps its value";
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_FALSE(IsWindow(star));
}

TEST_F(RunControlTest, StoppingTwiceIsHarmlessAndLeavesNothing) {
  field.StartPipwink();
  field.StopPipwink();
  field.StopPipwink();
  EXPECT_EQ(field.StarImageList.Count(), 0);
  EXPECT_EQ(field.starListHead, nullptr);
  EXPECT_EQ(field.artwork.PoofFrame(0), nullptr);
  EXPECT_EQ(field.artwork.digitStrips[DIGITS_LARGE_COLOUR].Bitmap(), nullptr);
  EXPECT_EQ(reactionEnabled, 0);
}

}  // namespace
