#include "app/main_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/fullscreen_rules.h"
#include "app/hook_library.h"
#include "app/message_loop.h"
#include "app/pause_hotkey.h"
#include "app/settings_store.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "app/version_box.h"
#include "base/app_state.h"
#include "base/settings.h"
#include "base/ui_texts.h"
#include "cells/packed_point.h"
#include "cells/private_messages.h"
#include "cells/program_status.h"
#include "code_page.h"
#include "images/image_set.h"
#include "message_box_watcher.h"
#include "star_test_support.h"
#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/star.h"
#include "stars/star_field.h"
#include "test_png.h"
#include "test_window.h"

namespace {

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Dispatches until done() holds or the time is up; a WM_QUIT met meanwhile is
// noted in quitSeen rather than dispatched.
bool quitSeen = false;
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 60000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quitSeen = true;
        continue;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

int StarCount() { return MainStarField() != nullptr ? MainStarField()->StarCount() : 0; }

// The real main window, started the way the program starts it (without the
// hook library); the settings stay in memory (no INI path).
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quitSeen = false;
    appInstance = GetModuleHandleA(nullptr);
    iniPath[0] = '\0';
    LoadUiTexts();
    RegisterMainWindowClass(appInstance);
    window = CreateMainWindow(appInstance);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(mainWindow, window);
    Pump();  // PWM_START: the star field starts
    field = MainStarField();
    ASSERT_NE(field, nullptr);
    ASSERT_EQ(reactionEnabled, 1);
    ASSERT_EQ(field->StarImageList.Count(), 3) << "the built-in star at three sizes";
  }
  void TearDown() override {
    settingsDialogOpen = 0;
    if (IsWindow(window)) DestroyWindow(window);
    Pump();
    EXPECT_EQ(MainStarField(), nullptr) << "the star field goes with the window";
    mainWindow = nullptr;
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(window, message, wParam, lParam);
  }
  HWND window = nullptr;
  StarField* field = nullptr;
};

TEST_F(MainWindowTest, ClicksMakeStarsOnlyThroughTheGate) {
  Settings.quantity = 2;
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2);
  Send(PWM_HOOK_MOVE, 0, PackPoint(420, 300));
  EXPECT_EQ(StarCount(), 3) << "a move makes one star";

  settingsDialogOpen = 1;
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  Send(PWM_HOOK_KEY, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 3) << "nothing while the settings dialog is open";
  settingsDialogOpen = 0;

  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_EQ(reactionEnabled, 0);
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 3) << "nothing while disabled";
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_EQ(reactionEnabled, 1);
  Send(PWM_HOOK_KEY, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 5);
}

TEST_F(MainWindowTest, NothingMovesWhileTheSettingsDialogIsOpen) {
  Settings.quantity = 1;
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  ASSERT_EQ(StarCount(), 1);
  Star* star = field->Pool().starListHead->next;
  const int32_t x = star->x;
  const int32_t y = star->y;
  settingsDialogOpen = 1;
  Send(WM_TIMER, STAR_TIMER_ID);
  EXPECT_EQ(star->x, x);
  EXPECT_EQ(star->y, y);
  settingsDialogOpen = 0;
  Send(WM_TIMER, STAR_TIMER_ID);
  EXPECT_NE(star->x, x);
}

// What a restart's folder gave is told once its pictures have loaded.
TEST_F(MainWindowTest, ARestartTellsTheUserWhatItsFolderGave) {
  TempFolder folder("restart");
  ASSERT_TRUE(WriteTextFile(folder.File("a.png"), "no picture"));
  std::snprintf(Settings.imageFolder, sizeof Settings.imageFolder, "%s", folder.path().c_str());
  MessageBoxWatcher boxes;
  Send(PWM_RESTART_STAR_FIELD);
  ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1u; }));
  EXPECT_EQ(field->StarImageList.Count(), 3) << "the built-in star stands in";
  EXPECT_EQ(boxes.Texts()[0], std::wstring(UiTexts.slot[TEXT_FOLDER_UNUSABLE]) + L"\n\na.png");

  // A folder that is not there is told apart from one without pictures.
  std::string missing = folder.path() + "\\gone";
  std::snprintf(Settings.imageFolder, sizeof Settings.imageFolder, "%s", missing.c_str());
  Send(PWM_RESTART_STAR_FIELD);
  ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 2u; }));
  EXPECT_EQ(field->StarImageList.Count(), 3);
  EXPECT_EQ(boxes.Texts()[1], std::wstring(UiTexts.slot[TEXT_FOLDER_MISSING]) + L"\n" +
                                  std::wstring(missing.begin(), missing.end()) + L"\n" +
                                  UiTexts.slot[TEXT_USING_DEFAULT]);
  Settings.imageFolder[0] = '\0';
}

// The folder loads off the main window's thread, marked for the watchdog the
// whole time; its pictures are shown once it has loaded.
TEST_F(MainWindowTest, ARestartMarksItsPicturesAsLoadingForTheWatchdog) {
  TempFolder folder("marked");
  ASSERT_TRUE(WriteTestPng(folder.File("mine.png"), 2048, 1024));
  std::snprintf(Settings.imageFolder, sizeof Settings.imageFolder, "%s", folder.path().c_str());
  const LONG before = pictureLoadsDone;
  Send(PWM_RESTART_STAR_FIELD);
  EXPECT_EQ(picturesLoading, 1) << "marked while the worker loads";
  EXPECT_TRUE(PumpUntil([&] { return !field->PicturesPending(); }));
  EXPECT_EQ(pictureLoadsDone, before + 1);
  EXPECT_EQ(picturesLoading, 0) << "and the mark ends with it";
  ASSERT_EQ(field->StarImageList.Count(), 1);
  EXPECT_EQ(field->StarImageList.Get(0)->frameWidth, 72);
  EXPECT_EQ(field->StarImageList.Get(0)->frameHeight, 35);
  Settings.imageFolder[0] = '\0';
}

// While a folder of large pictures loads, the main window answers: clicks
// make built-in stars, the tray's commands work; exit stops the load, ends
// the program in order and tells nothing of the abandoned folder.
TEST_F(MainWindowTest, TheWindowAnswersWhileTheFolderLoadsAndExitStopsTheLoad) {
  TempFolder folder("loading");
  for (const char* name : {"a.png", "b.png", "c.png"}) ASSERT_TRUE(WriteTestPng(folder.File(name), 2048, 2048));
  ASSERT_TRUE(WriteTextFile(folder.File("broken.png"), "no picture"));
  std::snprintf(Settings.imageFolder, sizeof Settings.imageFolder, "%s", folder.path().c_str());
  MessageBoxWatcher boxes;
  Send(PWM_RESTART_STAR_FIELD);
  ASSERT_TRUE(field->PicturesPending());
  Settings.quantity = 2;
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2);
  for (Star* s = field->Pool().starListHead->next; s != field->Pool().starListTail; s = s->next) {
    EXPECT_LT(s->imageIndex, 3) << "a built-in star";
  }
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_EQ(reactionEnabled, 0);
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_EQ(reactionEnabled, 1);
  ASSERT_EQ(picturesLoading, 1) << "the folder loaded before the exit could stop it";

  Send(WM_COMMAND, IDM_TRAY_EXIT);
  Settings.imageFolder[0] = '\0';
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(MainStarField(), nullptr);
  EXPECT_EQ(picturesLoading, 0) << "the worker has ended";
  Pump();
  EXPECT_TRUE(boxes.Texts().empty()) << "nothing is told of a load that was stopped";
}

// The user chooses exit from the tray while the box about the restart's
// folder shows: the program ends in order, and the start tells nothing more.
TEST_F(MainWindowTest, ExitWhileTheStartTellsOfItsFolderEndsInOrder) {
  TempFolder folder("exit_in_box");
  ASSERT_TRUE(WriteTextFile(folder.File("a.png"), "no picture"));
  std::snprintf(Settings.imageFolder, sizeof Settings.imageFolder, "%s", folder.path().c_str());
  HWND main = window;
  {
    MessageBoxWatcher boxes([main](HWND) { PostMessageA(main, WM_COMMAND, IDM_TRAY_EXIT, 0); });
    Send(PWM_RESTART_STAR_FIELD);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(main); }));
    EXPECT_EQ(boxes.Texts().size(), 1u);
  }
  Settings.imageFolder[0] = '\0';
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(reactionEnabled, 0);
  EXPECT_EQ(MainStarField(), nullptr) << "the star field the start made is freed, pictures and all";
  EXPECT_FALSE(trayIcon.Modify(0, L"Pipwink2")) << "the tray icon is gone";
  MSG message;
  EXPECT_TRUE(quitSeen || PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) { return -1; }

TEST_F(MainWindowTest, TheLoopEndsWithTheQuitCodeAndInOrderWhenGettingAMessageFails) {
  PostQuitMessage(7);
  EXPECT_EQ(RunMessageLoop(window), 7);
  EXPECT_TRUE(IsWindow(window));

  ASSERT_EQ(LoadHookLibrary(), 1);
  EXPECT_EQ(RunMessageLoop(window, FailingGetMessage), kExitMessageLoopFailed);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(hookLibrary, nullptr) << "the hooks are ended";
  EXPECT_FALSE(trayIcon.Modify(0, L"Pipwink2")) << "the tray icon is gone";
  EXPECT_EQ(MainStarField(), nullptr);
}

TEST_F(MainWindowTest, NoStarsWhileAFullScreenProgramIsInFrontAndAgainOnceItLeaves) {
  Settings.quantity = 2;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& all = monitor.rcMonitor;
  HWND game = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, all.left, all.top, all.right - all.left,
                              all.bottom - all.top, nullptr, nullptr, appInstance, nullptr);
  ASSERT_NE(game, nullptr);
  SetForegroundWindow(game);
  ASSERT_EQ(GetForegroundWindow(), game);
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 0) << "a full-screen program in front gets no stars";

  Settings.fullscreenPause = 0;
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2) << "FULLSCREENPAUSE=0 keeps the stars coming";
  Settings.fullscreenPause = 1;

  SetWindowPos(game, nullptr, 100, 100, 400, 300, SWP_NOZORDER);
  Sleep(kFullScreenLookMs);  // the watch reuses its last look that long
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 4) << "once it leaves full screen, stars come again";
  DestroyWindow(game);
}

TEST_F(MainWindowTest, ThePauseHotkeyTogglesAsTheTrayDoesAndATakenOneIsToldOnce) {
  Send(WM_HOTKEY, kPauseHotkeyId);
  EXPECT_EQ(reactionEnabled, 0);
  EXPECT_EQ(std::wstring(trayIcon.Tip()), L"Pipwink2 (Disabled)");
  Send(WM_HOTKEY, kPauseHotkeyId);
  EXPECT_EQ(reactionEnabled, 1);
  EXPECT_EQ(std::wstring(trayIcon.Tip()), L"Pipwink2");

  // The default combination belongs to the running window now.
  TestWindow holder;
  EXPECT_EQ(RegisterPauseHotkey(holder.handle(), "Ctrl+Alt+F12"), PAUSE_HOTKEY_TAKEN);
  DestroyWindow(window);
  Pump();
  ASSERT_EQ(RegisterPauseHotkey(holder.handle(), "Ctrl+Alt+F12"), PAUSE_HOTKEY_REGISTERED)
      << "the closed program gave its hotkey back";
  MessageBoxWatcher boxes;
  window = CreateMainWindow(appInstance);
  ASSERT_NE(window, nullptr);
  Pump();
  EXPECT_EQ(reactionEnabled, 1) << "the program goes on without its hotkey";
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_NE(boxes.Texts()[0].find(L"Ctrl+Alt+F12"), std::wstring::npos) << "the message names the key";
  UnregisterPauseHotkey(holder.handle());
}

TEST_F(MainWindowTest, APointLeftOfThePrimaryScreenStaysThere) {
  Settings.quantity = 1;
  Send(PWM_HOOK_CLICK, 0, PackPoint(-300, -20));
  ASSERT_EQ(StarCount(), 1);
  Star* star = field->Pool().starListHead->next;
  // The star starts beside the point, never a screen width away from it.
  EXPECT_LT(star->x, -300 + 72);
  EXPECT_GT(star->x, -300 - 2 * 72);
  EXPECT_LT(star->y, -20 + 72);
}

TEST_F(MainWindowTest, ManyStarsQuestionAnswersExactlyZeroOrOne) {
  Settings.quantity = 3;
  Send(PWM_HOOK_CLICK, 0, PackPoint(500, 500));
  EXPECT_EQ(Send(PWM_QUERY_MANY_STARS), 0);
  std::vector<Star*> stars;
  for (Star* s = field->Pool().starListHead->next; s != field->Pool().starListTail; s = s->next) stars.push_back(s);
  ASSERT_EQ(stars.size(), 3u);
  WindowOf(stars[0])->MarkGrabbed();
  EXPECT_EQ(Send(PWM_QUERY_MANY_STARS), 0);
  WindowOf(stars[1])->MarkGrabbed();
  WindowOf(stars[2])->MarkGrabbed();
  EXPECT_EQ(Send(PWM_QUERY_MANY_STARS), 1);
}

std::vector<std::wstring> MenuTexts(HMENU menu) {
  std::vector<std::wstring> texts;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 64;
    GetMenuItemInfoW(menu, i, TRUE, &item);
    texts.push_back((item.fType & MFT_SEPARATOR) ? std::wstring(L"-") : std::to_wstring(item.wID) + L" " + text);
  }
  return texts;
}

// The menu as the tray shows it, read while it is up; it is closed at once.
std::vector<std::wstring> ShownTrayMenu(HWND window) {
  static std::vector<std::wstring> seen;
  seen.clear();
  UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (trayMenu == nullptr) return;
    KillTimer(nullptr, id);
    seen = MenuTexts(trayMenu);
    EndMenu();
  });
  SendMessageA(window, PWM_TRAY, 0, WM_RBUTTONUP);
  KillTimer(nullptr, timer);
  return seen;
}

// The menu's texts are the Japanese of the string table, read wide (this
// case also runs under a Western code page); the switch offers the opposite
// of the current state; after the menu the window gets a message, so that
// the menu of the notification area closes properly.
TEST_F(MainWindowTest, TrayMenuShowsItsJapaneseTextsAndOffersTheOppositeOfTheState) {
  ExpectCodePageOfThisRun();
  const std::vector<std::wstring> expectEnabled = {L"115 バージョン情報", L"-", L"129 設定", L"-", L"114 無効化",
                                                   L"102 終了"};
  EXPECT_EQ(ShownTrayMenu(window), expectEnabled);
  EXPECT_EQ(trayMenu, nullptr) << "the menu goes once it is closed";
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, window, WM_NULL, WM_NULL, PM_REMOVE)) << "no WM_NULL after the menu";

  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  std::vector<std::wstring> disabled = ShownTrayMenu(window);
  ASSERT_EQ(disabled.size(), 6u);
  EXPECT_EQ(disabled[4], L"114 有効化");
}

TEST_F(MainWindowTest, TheTipSaysWhetherTheStarFieldReacts) {
  EXPECT_STREQ(trayIcon.Tip(), L"Pipwink2");
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_STREQ(trayIcon.Tip(), L"Pipwink2 (Disabled)");
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_STREQ(trayIcon.Tip(), L"Pipwink2");
}

// A restart from the settings dialog (a new folder) while the reaction was
// off gives a star field that reacts: the tip and the menu say so.
TEST_F(MainWindowTest, ARestartWhileDisabledReactsAgainAndTheTipSaysSo) {
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  ASSERT_STREQ(trayIcon.Tip(), L"Pipwink2 (Disabled)");
  Send(PWM_RESTART_STAR_FIELD);
  EXPECT_EQ(reactionEnabled, 1);
  EXPECT_STREQ(trayIcon.Tip(), L"Pipwink2");
  InitMenu();
  ASSERT_NE(trayMenu, nullptr);
  std::vector<std::wstring> texts = MenuTexts(trayMenu);
  DestroyMenu(trayMenu);
  trayMenu = nullptr;
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[4], L"114 無効化");
}

TEST_F(MainWindowTest, DisablingHidesGrabbedStarsAndEnablingShowsThemAgain) {
  Settings.quantity = 2;
  Send(PWM_HOOK_CLICK, 0, PackPoint(600, 400));
  Star* grabbed = field->Pool().starListHead->next;
  Star* flying = grabbed->next;
  WindowOf(grabbed)->MarkGrabbed();
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_FALSE(IsWindowVisible(WindowOf(grabbed)->Handle()));
  EXPECT_TRUE(IsWindowVisible(WindowOf(flying)->Handle())) << "a flying star finishes its flight";
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_TRUE(IsWindowVisible(WindowOf(grabbed)->Handle()));
}

TEST_F(MainWindowTest, VersionBoxShowsCentredOnceAndClosesOnItsMessage) {
  Send(WM_COMMAND, IDM_TRAY_VERSION);
  ASSERT_EQ(versionBoxOpen, 1);
  ASSERT_NE(versionBox, nullptr);
  HWND box = versionBox->Handle();
  RECT rect{};
  GetWindowRect(box, &rect);
  EXPECT_EQ(rect.right - rect.left, 310);
  EXPECT_EQ(rect.bottom - rect.top, 230);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 310) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 230) / 2);
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST);

  Send(WM_COMMAND, IDM_TRAY_VERSION);
  EXPECT_EQ(versionBox->Handle(), box) << "a second command shows no second box";

  PostMessageA(window, PWM_ABOUT_CLOSED, 0, reinterpret_cast<LPARAM>(box));
  Pump();
  EXPECT_EQ(versionBoxOpen, 0);
  EXPECT_EQ(versionBox, nullptr);
  EXPECT_FALSE(IsWindow(box));
  Send(WM_COMMAND, IDM_TRAY_VERSION);
  EXPECT_EQ(versionBoxOpen, 1) << "after closing, the command works again";
  PostMessageA(window, PWM_ABOUT_CLOSED, 0, 0);
  Pump();
}

TEST_F(MainWindowTest, ARestartedTaskbarGetsTheIconBackAndTheOldIconIsFreed) {
  ASSERT_TRUE(trayIcon.Modify(0, L"Pipwink2"));
  trayIcon.Remove();  // as if the shell had lost it
  EXPECT_FALSE(trayIcon.Modify(0, L"Pipwink2"));
  HICON before = trayIcon.Icon();
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(before, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  Send(RegisterWindowMessageA("TaskbarCreated"));
  EXPECT_TRUE(trayIcon.Modify(0, L"Pipwink2"));
  EXPECT_NE(trayIcon.Icon(), before);
  EXPECT_FALSE(GetIconInfo(before, &info)) << "the icon it replaced is destroyed";
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndStopsTheStarField) {
  Settings.quantity = 1;
  Send(PWM_HOOK_CLICK, 0, PackPoint(300, 300));
  HWND star = WindowOf(field->Pool().starListHead->next)->Handle();
  Send(WM_COMMAND, IDM_TRAY_EXIT);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(reactionEnabled, 0);
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  Pump();
  EXPECT_FALSE(IsWindow(star));
}

}  // namespace

// Observers (the end-to-end probe) wait on what the window says of itself:
// stars in motion, posted input not yet taken, a handler that shows a box, and
// every motion tick, also those in which the stars stand still.
TEST_F(MainWindowTest, TheStatusQuerySaysWhatMovesWaitsAndHowManyTicksRan) {
  auto status = [this] { return UnpackStatus(static_cast<uint64_t>(Send(PWM_QUERY_STATUS))); };
  const ProgramStatus idle = status();
  EXPECT_FALSE(idle.moving);
  EXPECT_FALSE(idle.insideHandler);
  EXPECT_FALSE(idle.queued);
  EXPECT_FALSE(idle.loading);

  Settings.quantity = 1;
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_TRUE(status().moving);
  settingsDialogOpen = 1;
  Send(WM_TIMER, STAR_TIMER_ID);
  settingsDialogOpen = 0;
  EXPECT_EQ(status().ticks, idle.ticks + 1) << "a tick while the dialog is open counts too";

  PostMessageA(window, PWM_HOOK_MOVE, 0, static_cast<LPARAM>(PackPoint(410, 300)));
  EXPECT_TRUE(status().queued) << "a posted move waits";
  {
    HandlerRunning messageBoxShownByAHandler;
    EXPECT_TRUE(status().insideHandler);
  }
  ASSERT_TRUE(PumpUntil([&] { return !status().moving && !status().queued; }))
      << "the stars come to rest and the move is taken";
  EXPECT_GT(status().ticks, idle.ticks + 1);
}
