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
    mainWindow = owner.handle();
    LoadUiTexts();
    Settings = SettingsRecord{};
    Settings.quantity = 1;
    Settings.moveRange = 70;
  }
  void TearDown() override {
    StopPipwink();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Settings = SettingsRecord{};
    mainWindow = nullptr;
  }
  void UseFolder(const std::string& folder) {
    std::snprintf(Settings.imageFolder, sizeof Settings.imageFolder, "%s", folder.c_str());
  }
  TestWindow owner;
};

TEST_F(RunControlTest, WithoutAFolderTheBuiltInStarIsUsedQuietly) {
  MessageBoxWatcher boxes;
  StartReport report = StartPipwink();
  EXPECT_EQ(StarImageList.Count(), 3);
  EXPECT_EQ(report.someUnreadable + report.folderUnusable + report.noStarPicture, 0);
  EXPECT_NE(starListHead, nullptr);
  EXPECT_EQ(reactionEnabled, 1);
  EXPECT_NE(poofFrames[4], nullptr);
  EXPECT_NE(digitStrips[DIGITS_SMALL_MASK].dc, nullptr);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(RunControlTest, AFolderWithAPictureReplacesTheBuiltInStarAndReportsItsBrokenFiles) {
  TempFolder folder("own");
  ASSERT_TRUE(WriteTestPng(folder.File("mine.png"), 40, 40));
  ASSERT_TRUE(WriteTextFile(folder.File("broken.png"), "no picture"));
  UseFolder(folder.path());
  MessageBoxWatcher boxes;
  StartReport report = StartPipwink();
  ASSERT_EQ(StarImageList.Count(), 1);
  EXPECT_EQ(report.someUnreadable, 1);
  EXPECT_EQ(report.folderUnusable, 0);
  EXPECT_EQ(report.folder.failedFiles, 1);
  EXPECT_STREQ(report.folder.failedNames[0], "broken.png");
  EXPECT_EQ(StarImageList.Get(0)->frameWidth, 40);
  EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(RunControlTest, AFolderOfBrokenFilesIsReportedAndTheBuiltInStarUsed) {
  TempFolder folder("broken");
  ASSERT_TRUE(WriteTextFile(folder.File("a.png"), "no picture"));
  UseFolder(folder.path());
  StartReport report = StartPipwink();
  EXPECT_EQ(StarImageList.Count(), 3);
  EXPECT_EQ(report.folderUnusable, 1);
  EXPECT_EQ(report.someUnreadable, 0);
  EXPECT_EQ(report.noStarPicture, 0);
  EXPECT_EQ(report.folder.folderMissing + report.folder.folderIsFile, 0);

  // A missing folder and a file named as the folder are told as such.
  StopPipwink();
  UseFolder(folder.path() + "\\gone");
  report = StartPipwink();
  EXPECT_EQ(StarImageList.Count(), 3);
  EXPECT_EQ(report.folderUnusable, 1);
  EXPECT_EQ(report.folder.folderMissing, 1);
  StopPipwink();
  UseFolder(folder.File("a.png"));
  report = StartPipwink();
  EXPECT_EQ(report.folder.folderIsFile, 1);
}

TEST_F(RunControlTest, ARestartWhileDisabledLeavesTheFieldEnabledWithAnEmptyPool) {
  StartPipwink();
  GenerateStars(PWM_HOOK_CLICK, 300, 300);
  ASSERT_NE(lastGeneratedStar, nullptr);
  HWND star = lastGeneratedStar->window->hwnd;
  chainValue = 8;
  DisablePipwink();
  EXPECT_EQ(reactionEnabled, 0);

  RestartPipwink();
  EXPECT_EQ(reactionEnabled, 1);
  EXPECT_EQ(lastGeneratedStar, nullptr);
  ASSERT_NE(starListHead, nullptr);
  EXPECT_EQ(starListHead->next, starListTail) << "every star went with the restart";
  EXPECT_EQ(GetFreeStar(0), nullptr);
  EXPECT_EQ(chainValue, 8) << "the chase game keeps its value";
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_FALSE(IsWindow(star));
}

TEST_F(RunControlTest, StoppingTwiceIsHarmlessAndLeavesNothing) {
  StartPipwink();
  StopPipwink();
  StopPipwink();
  EXPECT_EQ(StarImageList.Count(), 0);
  EXPECT_EQ(starListHead, nullptr);
  EXPECT_EQ(poofChain, nullptr);
  EXPECT_EQ(digitStrips[DIGITS_LARGE_COLOUR].bitmap, nullptr);
  EXPECT_EQ(reactionEnabled, 0);
}

}  // namespace
