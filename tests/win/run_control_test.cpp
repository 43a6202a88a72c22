#include "stars/run_control.h"

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "blocking_picture.h"
#include "base/settings.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "images/win32/artwork.h"
#include "images/win32/image_set.h"
#include "message_box_watcher.h"
#include "star_artwork_support.h"
#include "stars/win32/pupil_window.h"
#include "stars/star.h"
#include "stars/win32/win32_star_field.h"
#include "test_png.h"

namespace {

SIZE SizeOf(const Star* star) {
  RECT rect{};
  GetWindowRect(WindowOf(star)->Handle(), &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

bool BuiltInSize(SIZE size) {
  return size.cx == size.cy && (size.cx == 72 || size.cx == 48 || size.cx == 32);
}

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
  // Dispatches until the owner hears that a load has ended; that message's
  // wParam, or 0 when none came in time.
  WPARAM NextLoadedMessage() {
    const int seen = owner.CountOf(PWM_PICTURES_LOADED);
    if (!PumpUntil([&] { return owner.CountOf(PWM_PICTURES_LOADED) > seen; }, 60000)) return 0;
    return LastLoadedMessage();
  }
  WPARAM LastLoadedMessage() const {
    for (auto m = owner.received.rbegin(); m != owner.received.rend(); ++m) {
      if (m->message == PWM_PICTURES_LOADED) return m->wParam;
    }
    return 0;
  }
  // A start whose folder, if any, has loaded and been taken over: what the
  // start and the load found.
  StartReport StartAndLoad() {
    StartReport report = field.StartPipwink();
    if (!report.picturesPending) return report;
    EXPECT_EQ(field.TakeLoadedPictures(NextLoadedMessage(), &report), 1);
    EXPECT_FALSE(field.PicturesPending());
    return report;
  }
  OwnerWindow owner;
  SettingsRecord settings{};
  Win32StarField field{StarFieldHost{owner.handle(), nullptr, &UiTexts, &settings}};
};

TEST_F(RunControlTest, WithoutAFolderTheBuiltInStarIsUsedQuietly) {
  MessageBoxWatcher boxes;
  StartReport report = field.StartPipwink();
  EXPECT_EQ(field.StarImageList.Count(), 3);
  EXPECT_EQ(report.someUnreadable + report.folderUnusable + report.noStarPicture, 0);
  EXPECT_NE(field.Pool().starListHead, nullptr);
  EXPECT_TRUE(field.Reacting());
  EXPECT_NE(field.artwork.PoofFrame(4), nullptr);
  EXPECT_NE(field.artwork.digitStrips[DIGITS_SMALL_MASK].DC(), nullptr);
  EXPECT_TRUE(boxes.Texts().empty());
}

// While the folder loads, the built-in star stands in: the start reports
// nothing yet and clicks make built-in stars. Once loaded, new stars show the
// folder's pictures and the broken file is reported; the stars made meanwhile
// keep the built-in pictures (a caught one stays, a flying one goes when it
// rests), which live on until the field stops.
TEST_F(RunControlTest, TheBuiltInStarStandsInUntilTheFolderHasLoaded) {
  TempFolder folder("own");
  ASSERT_TRUE(WriteTestPng(folder.File("mine.png"), 40, 40));
  ASSERT_TRUE(WriteTextFile(folder.File("broken.png"), "no picture"));
  UseFolder(folder.path());
  MessageBoxWatcher boxes;
  const LONG loadsBefore = pictureLoadsDone;
  StartReport report = field.StartPipwink();
  EXPECT_EQ(report.picturesPending, 1);
  EXPECT_EQ(report.someUnreadable + report.folderUnusable + report.noStarPicture, 0);
  EXPECT_TRUE(field.PicturesPending());
  EXPECT_TRUE(field.Reacting());
  ASSERT_EQ(field.StarImageList.Count(), 3);

  settings.quantity = 6;
  field.GenerateStars(InputKind::kClick, 400, 300);
  std::vector<Star*> standIns;
  for (Star* s = field.Pool().starListHead->next; s != field.Pool().starListTail; s = s->next) standIns.push_back(s);
  ASSERT_EQ(standIns.size(), 6u);
  for (Star* s : standIns) EXPECT_TRUE(BuiltInSize(SizeOf(s))) << SizeOf(s).cx << "x" << SizeOf(s).cy;
  Star* caught = standIns.front();
  WindowOf(caught)->MarkGrabbed();
  const int32_t caughtImage = caught->imageIndex;
  HDC caughtPicture = WindowOf(caught)->SourceDC();

  const WPARAM serial = NextLoadedMessage();
  EXPECT_EQ(picturesLoading, 0);
  EXPECT_EQ(pictureLoadsDone, loadsBefore + 1) << "the watchdog skipped the samples of the load";
  ASSERT_EQ(field.TakeLoadedPictures(serial, &report), 1);
  EXPECT_EQ(report.picturesPending, 0);
  EXPECT_EQ(report.someUnreadable, 1);
  EXPECT_EQ(report.folderUnusable, 0);
  EXPECT_EQ(report.folder.failedFiles, 1);
  EXPECT_STREQ(report.folder.failedNames[0], "broken.png");
  EXPECT_EQ(field.TakeLoadedPictures(serial, &report), 0) << "a load is taken once";
  ASSERT_EQ(field.StarImageList.Count(), 4) << "the built-in star stays while its stars do";
  EXPECT_EQ(field.Pool().firstDrawnImage, 3);

  settings.quantity = 3;
  field.GenerateStars(InputKind::kClick, 300, 300);
  Star* fresh = field.Pool().lastGeneratedStar;
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->imageIndex, 3);
  EXPECT_EQ(SizeOf(fresh).cx, 40);
  EXPECT_EQ(SizeOf(fresh).cy, 40);
  // The worker made the picture's bitmap and DC; they draw on this thread.
  EXPECT_EQ(WindowOf(fresh)->SourceDC(), field.StarImageList.Get(3)->DC());
  MemoryBitmap copy;
  ASSERT_TRUE(copy.Adopt(MakeAlphaBitmap(40, 40, 0u)));
  ASSERT_TRUE(BitBlt(copy.DC(), 0, 0, 40, 40, WindowOf(fresh)->SourceDC(), 0, 0, SRCCOPY));
  EXPECT_EQ(PixelsOf(copy.Bitmap()).At(20, 20), 0xFFFF40C0u) << "the file's colour, opaque";

  // Everything that flies comes to rest: the built-in stars go, the folder's
  // wait in the pool; the caught star still shows its built-in picture.
  for (int tick = 0; tick < 200 && field.TimerRunning(); ++tick) field.MoveStar();
  for (Star* s = field.Pool().starListHead->next; s != field.Pool().starListTail; s = s->next) {
    EXPECT_TRUE(s == caught || s->imageIndex == 3) << "a resting built-in star was kept";
  }
  EXPECT_EQ(field.StarCount(), 4);
  EXPECT_EQ(caught->imageIndex, caughtImage);
  EXPECT_EQ(WindowOf(caught)->SourceDC(), caughtPicture);
  EXPECT_EQ(GetObjectType(caughtPicture), static_cast<DWORD>(OBJ_MEMDC)) << "its picture is alive";
  EXPECT_TRUE(boxes.Texts().empty()) << "the star field tells the user nothing itself";
}

// The stand-in goes as soon as the folder has loaded when no star shows it;
// resting built-in stars go unseen with it.
TEST_F(RunControlTest, WithoutStarsMeanwhileOnlyTheFolderPicturesRemain) {
  TempFolder folder("alone");
  ASSERT_TRUE(WriteTestPng(folder.File("mine.png"), 40, 40));
  UseFolder(folder.path());
  ASSERT_EQ(field.StartPipwink().picturesPending, 1);
  field.GenerateStars(InputKind::kClick, 400, 300);
  ASSERT_EQ(field.StarCount(), 1);
  for (int tick = 0; tick < 200 && field.TimerRunning(); ++tick) field.MoveStar();
  ASSERT_EQ(field.StarCount(), 1) << "at rest in the pool";
  HWND rested = WindowOf(field.Pool().starListHead->next)->Handle();

  StartReport report{};
  ASSERT_EQ(field.TakeLoadedPictures(NextLoadedMessage(), &report), 1);
  EXPECT_EQ(report.someUnreadable + report.folderUnusable, 0);
  ASSERT_EQ(field.StarImageList.Count(), 1);
  EXPECT_EQ(field.StarImageList.Get(0)->frameWidth, 40);
  EXPECT_EQ(field.Pool().firstDrawnImage, 0);
  EXPECT_EQ(field.StarCount(), 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(rested); }));
  field.GenerateStars(InputKind::kClick, 400, 300);
  ASSERT_NE(field.Pool().lastGeneratedStar, nullptr);
  EXPECT_EQ(SizeOf(field.Pool().lastGeneratedStar).cx, 40);
}

TEST_F(RunControlTest, AFolderOfBrokenFilesIsReportedAndTheBuiltInStarUsed) {
  TempFolder folder("broken");
  ASSERT_TRUE(WriteTextFile(folder.File("a.png"), "no picture"));
  UseFolder(folder.path());
  StartReport report = StartAndLoad();
  EXPECT_EQ(field.StarImageList.Count(), 3);
  EXPECT_EQ(field.Pool().firstDrawnImage, 0);
  EXPECT_EQ(report.folderUnusable, 1);
  EXPECT_EQ(report.someUnreadable, 0);
  EXPECT_EQ(report.noStarPicture, 0);
  EXPECT_EQ(report.folder.folderMissing + report.folder.folderIsFile, 0);

  // A missing folder and a file named as the folder are told as such.
  field.StopPipwink();
  UseFolder(folder.path() + "\\gone");
  report = StartAndLoad();
  EXPECT_EQ(field.StarImageList.Count(), 3);
  EXPECT_EQ(report.folderUnusable, 1);
  EXPECT_EQ(report.folder.folderMissing, 1);
  field.StopPipwink();
  UseFolder(folder.File("a.png"));
  report = StartAndLoad();
  EXPECT_EQ(report.folder.folderIsFile, 1);
}

// Without a thread to load on (or a window to tell), the folder loads within
// the start, which then reports it at once.
TEST_F(RunControlTest, WithoutAWindowToTellTheFolderLoadsWithinTheStart) {
  TempFolder folder("in_place");
  ASSERT_TRUE(WriteTestPng(folder.File("mine.png"), 40, 40));
  ASSERT_TRUE(WriteTextFile(folder.File("broken.png"), "no picture"));
  UseFolder(folder.path());
  Win32StarField alone{StarFieldHost{nullptr, nullptr, &UiTexts, &settings}};
  const LONG loadsBefore = pictureLoadsDone;
  StartReport report = alone.StartPipwink();
  EXPECT_EQ(report.picturesPending, 0);
  EXPECT_EQ(report.someUnreadable, 1);
  EXPECT_FALSE(alone.PicturesPending());
  EXPECT_EQ(pictureLoadsDone, loadsBefore + 1) << "the watchdog skipped the load";
  ASSERT_EQ(alone.StarImageList.Count(), 1);
  EXPECT_EQ(alone.StarImageList.Get(0)->frameWidth, 40);
}

// A stop, a restart or the end of the field while the folder loads: the
// worker gives up, every picture it made is released, the watchdog's mark
// ends, and a late message of a superseded load changes nothing.
TEST_F(RunControlTest, AStopOrRestartWhileTheFolderLoadsLeavesNothingBehind) {
  TempFolder folder("big");
  ASSERT_TRUE(WriteTestPng(folder.File("a.png"), 2048, 2048));
  ASSERT_TRUE(WriteTestPng(folder.File("b.png"), 2048, 2048));
  UseFolder(folder.path());
  // A first load and stop makes what the process keeps for good (Wine's own).
  StartAndLoad();
  field.StopPipwink();
  const int gdiBefore = GdiObjectCount();

  ASSERT_EQ(field.StartPipwink().picturesPending, 1);
  EXPECT_EQ(picturesLoading, 1) << "the watchdog skips its samples while the worker loads";
  field.StopPipwink();
  EXPECT_FALSE(field.PicturesPending());
  EXPECT_EQ(picturesLoading, 0);
  EXPECT_EQ(GdiObjectCount(), gdiBefore) << "what the stopped load made is released";

  // A load that has ended, stopped before its message was taken: its
  // pictures are released with it.
  ASSERT_EQ(field.StartPipwink().picturesPending, 1);
  ASSERT_NE(NextLoadedMessage(), 0u);
  field.StopPipwink();
  EXPECT_EQ(GdiObjectCount(), gdiBefore) << "what the untaken load made is released";

  // A load that ran to its end, then a restart: its late message (here sent
  // once more) is passed over, and the restart's own load is taken.
  ASSERT_EQ(StartAndLoad().someUnreadable, 0);
  ASSERT_EQ(field.StarImageList.Count(), 2);
  const WPARAM old = LastLoadedMessage();
  ASSERT_EQ(field.RestartPipwink().picturesPending, 1);
  StartReport report{};
  EXPECT_EQ(field.TakeLoadedPictures(old, &report), 0);
  EXPECT_EQ(field.StarImageList.Count(), 3) << "still the built-in star";
  EXPECT_TRUE(field.PicturesPending());
  // Restarted again at once: of the messages that come, one load is taken.
  ASSERT_EQ(field.RestartPipwink().picturesPending, 1);
  int taken = 0;
  while (field.PicturesPending()) {
    const WPARAM serial = NextLoadedMessage();
    ASSERT_NE(serial, 0u) << "the restart's load never came";
    taken += field.TakeLoadedPictures(serial, &report);
  }
  EXPECT_EQ(taken, 1);
  EXPECT_EQ(field.StarImageList.Count(), 2);
  field.StopPipwink();
  EXPECT_EQ(GdiObjectCount(), gdiBefore);

  // The field ends while it loads (the program exits).
  {
    Win32StarField leaving{StarFieldHost{owner.handle(), nullptr, &UiTexts, &settings}};
    ASSERT_EQ(leaving.StartPipwink().picturesPending, 1);
  }
  EXPECT_EQ(picturesLoading, 0);
  EXPECT_EQ(GdiObjectCount(), gdiBefore);
}

// A read that never ends (a pipe named like a picture, as a file on a share
// that went offline behaves) holds up neither a restart nor the field's end:
// each waits about kStopWaitMs and leaves the stuck worker behind, which
// ends on its own once the read does, releasing what it made.
TEST_F(RunControlTest, AStopOrRestartDoesNotWaitForAStuckRead) {
  TempFolder stuckFolder("stuck");
  TempFolder goodFolder("good");
  ASSERT_TRUE(WriteTestPng(goodFolder.File("mine.png"), 40, 40));
  UseFolder(goodFolder.path());
  StartAndLoad();  // what the process keeps for good (Wine's own) is made before counting
  field.StopPipwink();
  const int gdiBefore = GdiObjectCount();
  BlockingPicture pipe(stuckFolder.path(), "a.png");
  ASSERT_TRUE(pipe.Held()) << "no pipe held open";
  UseFolder(stuckFolder.path());

  ASSERT_EQ(field.StartPipwink().picturesPending, 1);
  UseFolder(goodFolder.path());
  DWORD began = GetTickCount();
  ASSERT_EQ(field.RestartPipwink().picturesPending, 1);
  DWORD took = GetTickCount() - began;
  // The margin is for a busy machine; the read itself never ends.
  EXPECT_LT(took, kStopWaitMs + 4000) << "the restart waited for the stuck read";
  std::printf("a restart beside a stuck read took %lu ms\n", took);
  EXPECT_EQ(FolderLoad::AbandonedWorkers(), 1);
  StartReport report{};
  ASSERT_EQ(field.TakeLoadedPictures(NextLoadedMessage(), &report), 1);
  ASSERT_EQ(field.StarImageList.Count(), 1) << "the new folder's picture is in use";
  EXPECT_EQ(picturesLoading, 0) << "the abandoned load keeps no mark for the watchdog";

  // The field ends (the program exits) while its load is stuck.
  UseFolder(stuckFolder.path());
  began = GetTickCount();
  {
    Win32StarField leaving{StarFieldHost{owner.handle(), nullptr, &UiTexts, &settings}};
    ASSERT_EQ(leaving.StartPipwink().picturesPending, 1);
  }
  took = GetTickCount() - began;
  EXPECT_LT(took, kStopWaitMs + 4000) << "the field's end waited for the stuck read";
  std::printf("the field's end beside a stuck read took %lu ms\n", took);
  EXPECT_EQ(FolderLoad::AbandonedWorkers(), 2);
  EXPECT_EQ(picturesLoading, 0);

  ASSERT_TRUE(pipe.Release());
  // A pipe left behind would hold a later run's pipe from being made.
  EXPECT_EQ(GetFileAttributesA(stuckFolder.File("a.png").c_str()), INVALID_FILE_ATTRIBUTES)
      << "the pipe outlived its test";
  EXPECT_TRUE(PumpUntil([] { return FolderLoad::AbandonedWorkers() == 0; }, 20000))
      << "abandoned workers still running: " << FolderLoad::AbandonedWorkers();
  field.StopPipwink();
  EXPECT_EQ(GdiObjectCount(), gdiBefore) << "nothing is left of the abandoned loads";
  EXPECT_EQ(owner.CountOf(PWM_PICTURES_LOADED), 2) << "an abandoned load tells nothing";
}

TEST_F(RunControlTest, ARestartWhileDisabledLeavesTheFieldEnabledWithAnEmptyPool) {
  field.StartPipwink();
  field.GenerateStars(InputKind::kClick, 300, 300);
  ASSERT_NE(field.Pool().lastGeneratedStar, nullptr);
  HWND star = WindowOf(field.Pool().lastGeneratedStar)->Handle();
  field.Chase().chainValue = 8;
  field.DisablePipwink();
  EXPECT_FALSE(field.Reacting());

  field.RestartPipwink();
  EXPECT_TRUE(field.Reacting());
  EXPECT_EQ(field.Pool().lastGeneratedStar, nullptr);
  ASSERT_NE(field.Pool().starListHead, nullptr);
  EXPECT_EQ(field.Pool().starListHead->next, field.Pool().starListTail) << "every star went with the restart";
  EXPECT_EQ(field.Pool().GetFreeStar(0), nullptr);
  EXPECT_EQ(field.Chase().chainValue, 8) << "the chase game keeps its value";
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_FALSE(IsWindow(star));
}

TEST_F(RunControlTest, StoppingTwiceIsHarmlessAndLeavesNothing) {
  field.StartPipwink();
  field.StopPipwink();
  field.StopPipwink();
  EXPECT_EQ(field.StarImageList.Count(), 0);
  EXPECT_EQ(field.Pool().starListHead, nullptr);
  EXPECT_EQ(field.artwork.PoofFrame(0), nullptr);
  EXPECT_EQ(field.artwork.digitStrips[DIGITS_LARGE_COLOUR].Bitmap(), nullptr);
  EXPECT_FALSE(field.Reacting());
}

}  // namespace
