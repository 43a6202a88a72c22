#include "app/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/fullscreen_rules.h"
#include "app/hotkey_rules.h"
#include "app/message_loop.h"
#include "app/pause_hotkey.h"
#include "app/settings_dialog.h"
#include "base/app_state.h"
#include "base/dpi_scale.h"
#include "base/resource_ids.h"
#include "base/settings.h"
#include "base/ui_language_rules.h"
#include "base/ui_texts.h"
#include "cells/packed_point.h"
#include "cells/private_messages.h"
#include "cells/program_status.h"
#include "cells/shared_cells.h"
#include "code_page.h"
#include "images/win32/alpha_bitmap.h"
#include "images/win32/artwork.h"
#include "fake_caret_source.h"
#include "images/win32/image_set.h"
#include "blocking_picture.h"
#include "message_box_watcher.h"
#include "star_test_support.h"
#include "stars/motion_rules.h"
#include "stars/win32/pupil_window.h"
#include "stars/star.h"
#include "stars/win32/win32_star_field.h"
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

// Handles what other threads send to this one (the settings dialog's thread
// waits for that) until done() holds, but leaves the posted messages queued.
bool PumpSentUntil(const std::function<bool()>& done, DWORD timeoutMs = 60000) {
  constexpr UINT kNothingPosted = WM_APP + 0x3FFF;  // a filter no posted message passes
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    PeekMessageA(&message, nullptr, kNothingPosted, kNothingPosted, PM_NOREMOVE);
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_SENDMESSAGE, 0);
  }
}

bool Queued(HWND window, UINT message) {
  MSG found;
  return PeekMessageA(&found, window, message, message, PM_NOREMOVE) != 0;
}

std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A message about a folder the star field found missing.
std::wstring MissingFolderMessage(const std::string& folder) {
  return std::wstring(UiTexts.slot[TEXT_FOLDER_MISSING]) + L"\n" + Widened(folder) + L"\n" +
         UiTexts.slot[TEXT_USING_DEFAULT];
}

// The message of settings that could not be saved to the file.
std::wstring UnsavedMessage(const std::string& file) {
  return std::wstring(UiTexts.slot[TEXT_SETTINGS_UNSAVED]) + L"\n\n" + Widened(file);
}

constexpr wchar_t kTestRunValue[] = L"Tovik2 main window test";

// The Run key's value of the name, as the registry holds it; "<none>" without one.
std::wstring RunValue(const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return value;
}

std::wstring QuotedProgramPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return L"\"" + std::wstring(path) + L"\"";
}

// A fresh main window for each case, made and started the way the program
// does it (without the hook library), the settings in memory unless a case
// gives a file; it goes with the case. Nothing is reset by hand.
class MainWindowTest : public ::testing::Test {
 protected:
  // Every case adds and removes the program's tray icon.
  static void SetUpTestSuite() { trayKeeper = new TrayKeeper; }
  static void TearDownTestSuite() {
    delete trayKeeper;
    trayKeeper = nullptr;
  }
  static inline TrayKeeper* trayKeeper = nullptr;

  void SetUp() override {
    appInstance = GetModuleHandleA(nullptr);  // the process's identity, as WinMain sets it
    LoadUiTexts();
    MainWindow::RegisterMainWindowClass(appInstance);
    Start(MainWindowOptions{});
  }
  void TearDown() override {
    if (shell && shell->SettingsDialogOpen()) {
      PostMessageA(shell->SettingsDialog(), WM_COMMAND, IDCANCEL, 0);
      PumpUntil([this] { return !shell->SettingsDialogOpen(); });
    }
    if (IsWindow(window)) DestroyWindow(window);
    Pump();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kTestRunValue);  // a prefix's boot would start it
    EXPECT_EQ(shell->Field(), nullptr) << "the star field goes with the window";
    shell.reset();
  }
  // Makes a new main window (the one before goes first) and lets PWM_START run.
  void Start(const MainWindowOptions& given) {
    MainWindowOptions options = given;
    options.runValueName = kTestRunValue;  // the program's own value stays as the user has it
    shell.reset();
    shell.emplace(options);
    window = shell->CreateMainWindow(appInstance);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(shell->Window(), window);
    Pump();  // PWM_START: the star field starts
    field = shell->Field();
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(shell->Reacting());
    ASSERT_EQ(field->StarImageList.Count(), 3) << "the built-in star at three sizes";
  }
  // The same with a settings file of the given text.
  void StartWithSettingsFile(const TempFolder& folder, const char* text) {
    ASSERT_TRUE(WriteTextFile(folder.File("tovik2.ini"), text));
    StartWithSettingsFileKept(folder);
  }
  // The same with the file as an earlier start left it.
  void StartWithSettingsFileKept(const TempFolder& folder) {
    const std::string file = folder.File("tovik2.ini");
    MainWindowOptions options;
    iniPath_ = Widened(file);  // the temporary folder's path is ASCII
    options.iniPath = iniPath_.c_str();
    Start(options);
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(window, message, wParam, lParam);
  }
  // What the settings dialog's OK hands the main window: the settings in
  // force, changed; what that changed.
  int Choose(const std::function<void(SettingsRecord&)>& change) {
    SettingsRecord chosen = shell->Settings();
    change(chosen);
    return shell->TakeChosenSettings(chosen);
  }
  int ChooseFolder(const std::string& folder) {
    return Choose([&](SettingsRecord& s) { std::snprintf(s.imageFolder, sizeof s.imageFolder, "%s", folder.c_str()); });
  }
  // The settings dialog, opened from the tray and shown on its thread.
  HWND OpenSettingsDialog() {
    Send(WM_COMMAND, IDM_TRAY_SETTINGS);
    HWND dialog = nullptr;
    EXPECT_TRUE(PumpSentUntil([&] { return (dialog = shell->SettingsDialog()) != nullptr && IsWindowVisible(dialog); }));
    return dialog;
  }
  void CancelSettingsDialog(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([this] { return !shell->SettingsDialogOpen(); }));
  }
  int StarCount() { return shell->Field() != nullptr ? shell->Field()->StarCount() : 0; }

  // Dispatches until done() holds or the time is up; a WM_QUIT met meanwhile
  // is noted in quitSeen rather than dispatched.
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

  std::optional<MainWindow> shell;
  std::wstring iniPath_;
  HWND window = nullptr;
  Win32StarField* field = nullptr;
  bool quitSeen = false;
};

TEST_F(MainWindowTest, ClicksMakeStarsOnlyThroughTheGate) {
  ASSERT_EQ(shell->Settings().quantity, 2);
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2);
  Send(PWM_HOOK_MOVE, 0, PackPoint(420, 300));
  EXPECT_EQ(StarCount(), 3) << "a move makes one star";

  HWND dialog = OpenSettingsDialog();
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  Send(PWM_HOOK_KEY, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 3) << "nothing while the settings dialog is open";
  CancelSettingsDialog(dialog);

  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_FALSE(shell->Reacting());
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 3) << "nothing while disabled";
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_TRUE(shell->Reacting());
  Send(PWM_HOOK_KEY, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 5);
}

// A click the hook's send could not hand over in time comes again, posted
// under its serial: its stars are made once, whichever copy comes first, and
// a click overtaken by a later one makes none of its own.
TEST_F(MainWindowTest, EachClickSerialMakesItsStarsOnce) {
  Send(PWM_HOOK_CLICK, 7, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2);
  PostMessageA(window, PWM_HOOK_CLICK, 7, static_cast<LPARAM>(PackPoint(400, 300)));
  Pump();
  EXPECT_EQ(StarCount(), 2) << "the posted copy of a click taken already";
  PostMessageA(window, PWM_HOOK_CLICK, 8, static_cast<LPARAM>(PackPoint(400, 300)));
  Pump();
  EXPECT_EQ(StarCount(), 4) << "a click whose send was not taken makes its stars from the queue";
  Send(PWM_HOOK_CLICK, 8, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 4) << "the late send of a click taken from the queue";
  Send(PWM_HOOK_CLICK, 6, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 4) << "an older click overtaken by a later one";
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 6) << "a click without serial always counts";
}

// The hook posts the next move or key only once the program has taken the
// one before: a handler that forgot its pending cell would silence it.
TEST_F(MainWindowTest, TakingAMoveOrAKeyClearsItsPendingCell) {
  SharedCells cells;
  for (CellKey pending : {CELL_HOOKPENDING, CELL_KEYPENDING}) {
    ASSERT_EQ(cells.WriteCellInt(4321, cellNames[pending]), 1) << cellNames[pending];
  }
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  int32_t value = -1;
  ASSERT_EQ(cells.ReadCellInt(&value, cellNames[CELL_HOOKPENDING]), 1);
  EXPECT_EQ(value, 4321) << "a click is sent, not posted: it takes no turn";

  Send(PWM_HOOK_MOVE, 0, PackPoint(420, 300));
  ASSERT_EQ(cells.ReadCellInt(&value, cellNames[CELL_HOOKPENDING]), 1);
  EXPECT_EQ(value, 0) << "the move was taken";
  ASSERT_EQ(cells.ReadCellInt(&value, cellNames[CELL_KEYPENDING]), 1);
  EXPECT_EQ(value, 4321) << "a move is no key";

  // Taken even while the settings dialog is open and nothing is made of it.
  HWND dialog = OpenSettingsDialog();
  Send(PWM_HOOK_KEY, 0, PackPoint(400, 300));
  ASSERT_EQ(cells.ReadCellInt(&value, cellNames[CELL_KEYPENDING]), 1);
  EXPECT_EQ(value, 0) << "the key was taken";
  CancelSettingsDialog(dialog);
}

// A key in a window without a Win32 caret: the caret thread asks its ways in
// turn, and the key's stars go where the first inside answer says.
TEST_F(MainWindowTest, AKeyWithoutCaretMakesStarsWhereTheCaretThreadFindsIt) {
  FakeCaretSource empty(false, CaretRect{});
  FakeCaretSource inside(true, CaretRect{300, 200, 302, 216});
  CaretQueryOptions question;
  question.sources = {&empty, &inside};
  question.findScene = FakeCaretScene;
  MainWindowOptions options;
  options.caretQuestion = &question;
  Start(options);
  SharedCells cells;
  ASSERT_EQ(cells.WriteCellInt(4321, cellNames[CELL_KEYPENDING]), 1);
  Send(PWM_HOOK_KEY_NO_CARET);
  int32_t value = -1;
  ASSERT_EQ(cells.ReadCellInt(&value, cellNames[CELL_KEYPENDING]), 1);
  EXPECT_EQ(value, 0) << "the key's turn is given back while its caret is asked";
  ASSERT_TRUE(PumpUntil([&] { return StarCount() == 2; }, 10000)) << "the caret's answer made no stars";
  EXPECT_EQ(empty.calls, 1);
  EXPECT_EQ(inside.calls, 1);
  for (Star* star = field->Pool().starListHead->next; star != field->Pool().starListTail; star = star->next) {
    EXPECT_LT(std::abs(star->x - 300), 200) << "a star far from the caret";
    EXPECT_LT(std::abs(star->y - (200 + kCaretPointDrop)), 200) << "a star far from the caret";
  }

  // While the settings dialog is open the caret is not even asked.
  HWND dialog = OpenSettingsDialog();
  const uint32_t settled = shell->CaretQuestionsSettled();
  Send(PWM_HOOK_KEY_NO_CARET);
  CancelSettingsDialog(dialog);
  Send(WM_COMMAND, IDM_TRAY_ENABLE);  // nor while disabled
  Send(PWM_HOOK_KEY_NO_CARET);
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  Pump();
  EXPECT_EQ(empty.calls, 1);
  EXPECT_EQ(shell->CaretQuestionsSettled(), settled);
}

TEST_F(MainWindowTest, AKeyWhoseCaretNoWayFindsMakesNoStars) {
  FakeCaretSource empty(false, CaretRect{});
  FakeCaretSource outside(true, CaretRect{20, 20, 22, 36});
  CaretQueryOptions question;
  question.sources = {&empty, &outside};
  question.findScene = FakeCaretScene;
  MainWindowOptions options;
  options.caretQuestion = &question;
  Start(options);
  Send(PWM_HOOK_KEY_NO_CARET);
  ASSERT_TRUE(PumpUntil([&] { return shell->CaretQuestionsSettled() == 1; }, 10000));
  Pump();  // an answer would have been posted before the question settled
  EXPECT_EQ(outside.calls, 1);
  EXPECT_EQ(StarCount(), 0) << "stars without a caret";
}

TEST_F(MainWindowTest, NothingMovesWhileTheSettingsDialogIsOpen) {
  Choose([](SettingsRecord& s) { s.quantity = 1; });
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  ASSERT_EQ(StarCount(), 1);
  Star* star = field->Pool().starListHead->next;
  const int32_t x = star->x;
  const int32_t y = star->y;
  HWND dialog = OpenSettingsDialog();
  Send(WM_TIMER, STAR_TIMER_ID);
  EXPECT_EQ(star->x, x);
  EXPECT_EQ(star->y, y);
  // A second settings command opens no second dialog.
  Send(WM_COMMAND, IDM_TRAY_SETTINGS);
  EXPECT_EQ(shell->SettingsDialog(), dialog);
  CancelSettingsDialog(dialog);
  Send(WM_TIMER, STAR_TIMER_ID);
  EXPECT_NE(star->x, x);
}

// An entry of EXCLUDE that can be no program name is left out alone as the
// settings load; the names beside it still reach the hook library.
TEST_F(MainWindowTest, AnExcludeEntryThatIsNoProgramNameIsDroppedAlone) {
  TempFolder folder("exclude");
  MessageBoxWatcher boxes;
  StartWithSettingsFile(folder, "[PIPWINK]\r\nEXCLUDE=a.exe; C:\\Games\\b.exe ;*;c.exe\r\n");
  wchar_t list[kExcludeCellSize] = {};
  ASSERT_EQ(SharedCells().ReadCellBytes(list, kExcludeWideCellName, sizeof list), 1);
  EXPECT_STREQ(list, L"a.exe;c.exe");
  EXPECT_STREQ(shell->Settings().exclude, "a.exe; C:\\Games\\b.exe ;*;c.exe") << "the file's text is kept";
}

// What a restart's folder gave is told once its pictures have loaded.
TEST_F(MainWindowTest, ARestartTellsTheUserWhatItsFolderGave) {
  TempFolder folder("restart");
  ASSERT_TRUE(WriteTextFile(folder.File("a.png"), "no picture"));
  MessageBoxWatcher boxes;
  ASSERT_EQ(ChooseFolder(folder.path()), 2);
  ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1u; }));
  EXPECT_EQ(field->StarImageList.Count(), 3) << "the built-in star stands in";
  EXPECT_EQ(boxes.Texts()[0], std::wstring(UiTexts.slot[TEXT_FOLDER_UNUSABLE]) + L"\n\na.png");

  // A folder that is not there is told apart from one without pictures.
  std::string missing = folder.path() + "\\gone";
  ASSERT_EQ(ChooseFolder(missing), 2);
  ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 2u; }));
  EXPECT_EQ(field->StarImageList.Count(), 3);
  EXPECT_EQ(boxes.Texts()[1], MissingFolderMessage(missing));
}

// The folder loads off the main window's thread, marked for the watchdog the
// whole time; its pictures are shown once it has loaded.
TEST_F(MainWindowTest, ARestartMarksItsPicturesAsLoadingForTheWatchdog) {
  TempFolder folder("marked");
  ASSERT_TRUE(WriteTestPng(folder.File("mine.png"), 2048, 1024));
  // A read that waits for the test keeps the load running however fast the
  // machine is; once let go, that file reads as unreadable.
  BlockingPicture stuck(folder.path(), "stuck.png");
  ASSERT_TRUE(stuck.Held());
  MessageBoxWatcher boxes;
  const int32_t before = pictureLoadsDone;
  ASSERT_EQ(ChooseFolder(folder.path()), 2);
  EXPECT_EQ(picturesLoading, 1) << "marked while the worker loads";
  ASSERT_TRUE(stuck.Release());
  EXPECT_TRUE(PumpUntil([&] { return !field->PicturesPending(); }));
  EXPECT_EQ(pictureLoadsDone, before + 1);
  EXPECT_EQ(picturesLoading, 0) << "and the mark ends with it";
  ASSERT_EQ(field->StarImageList.Count(), 1);
  EXPECT_EQ(field->StarImageList.Get(0)->frameWidth, 72);
  EXPECT_EQ(field->StarImageList.Get(0)->frameHeight, 35);
}

// While a folder of large pictures loads, the main window answers: clicks
// make built-in stars, the tray's commands work; exit stops the load, ends
// the program in order and tells nothing of the abandoned folder.
TEST_F(MainWindowTest, TheWindowAnswersWhileTheFolderLoadsAndExitStopsTheLoad) {
  TempFolder folder("loading");
  for (const char* name : {"a.png", "b.png", "c.png"}) ASSERT_TRUE(WriteTestPng(folder.File(name), 2048, 2048));
  ASSERT_TRUE(WriteTextFile(folder.File("broken.png"), "no picture"));
  // The load cannot end before the exit, however fast the machine is.
  BlockingPicture stuck(folder.path(), "stuck.png");
  ASSERT_TRUE(stuck.Held());
  MessageBoxWatcher boxes;
  ASSERT_EQ(ChooseFolder(folder.path()), 2);
  ASSERT_TRUE(field->PicturesPending());
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2);
  for (Star* s = field->Pool().starListHead->next; s != field->Pool().starListTail; s = s->next) {
    EXPECT_LT(s->imageIndex, 3) << "a built-in star";
  }
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_FALSE(shell->Reacting());
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_TRUE(shell->Reacting());
  ASSERT_EQ(picturesLoading, 1) << "the folder loaded before the exit could stop it";

  Send(WM_COMMAND, IDM_TRAY_EXIT);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(shell->Field(), nullptr);
  EXPECT_EQ(picturesLoading, 0) << "the exit ends the mark with the load";
  Pump();
  EXPECT_TRUE(boxes.Texts().empty()) << "nothing is told of a load that was stopped";
}

// The user chooses exit from the tray while the box about the restart's
// folder shows: the program ends in order, and the start tells nothing more.
TEST_F(MainWindowTest, ExitWhileTheStartTellsOfItsFolderEndsInOrder) {
  TempFolder folder("exit_in_box");
  ASSERT_TRUE(WriteTextFile(folder.File("a.png"), "no picture"));
  HWND main = window;
  {
    MessageBoxWatcher boxes([main](HWND) { PostMessageA(main, WM_COMMAND, IDM_TRAY_EXIT, 0); });
    ASSERT_EQ(ChooseFolder(folder.path()), 2);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(main); }));
    EXPECT_EQ(boxes.Texts().size(), 1u);
  }
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(shell->Reacting());
  EXPECT_EQ(shell->Field(), nullptr) << "the star field the start made is freed, pictures and all";
  EXPECT_FALSE(shell->Tray().Modify(0, L"Pipwink2")) << "the tray icon is gone";
  MSG message;
  EXPECT_TRUE(quitSeen || PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// The single-copy mutex is held while the program runs and let go as soon as
// the window has stopped, before the object goes; a second start meanwhile
// makes the running copy show a balloon in the interface's language.
TEST_F(MainWindowTest, TheSingleCopyMutexGoesWithTheWindowAndASecondStartShowsTheIcon) {
  constexpr char kTestMutex[] = "tovik2 test single copy";
  MainWindowOptions options;
  options.singleCopy = CreateMutexA(nullptr, FALSE, kTestMutex);
  ASSERT_NE(options.singleCopy, nullptr);
  Start(options);
  auto nameHeld = [&] {
    UniqueHandle probe(CreateMutexA(nullptr, FALSE, kTestMutex));
    return GetLastError() == ERROR_ALREADY_EXISTS;
  };
  EXPECT_TRUE(nameHeld()) << "the running window holds the name";

  PostMessageA(window, PWM_ANOTHER_START, 0, 0);
  Pump();
  EXPECT_STREQ(shell->Tray().Balloon(), UiTexts.slot[TEXT_ALREADY_RUNNING]);
  EXPECT_NE(shell->Tray().Balloon()[0], L'\0');

  PostMessageA(window, WM_COMMAND, IDM_TRAY_EXIT, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window); }));
  EXPECT_FALSE(nameHeld()) << "the stopped window still holds the name: a new start would do nothing";
}

// A folder load ends while the settings dialog's OK changes the folder and
// the save fails, so a box holds the change half done: the load's message
// names the folder that was loaded, the new folder's names the new one, and
// the settings end up whole.
TEST_F(MainWindowTest, SettingsChangedWhileALoadRunsAreNeitherTornNorToldForTheWrongFolder) {
  TempFolder store("race");
  const std::string loaded = store.File("loaded");  // missing: its load ends at once, with a message
  const std::string chosen = store.File("chosen");
  StartWithSettingsFile(store, "[PIPWINK]\r\n");
  ASSERT_EQ(ChooseFolder(loaded), 2);
  ASSERT_TRUE(PumpSentUntil([&] { return Queued(window, PWM_PICTURES_LOADED); }));
  ASSERT_TRUE(DeleteFileA(store.File("tovik2.ini").c_str()));
  ASSERT_TRUE(CreateDirectoryA(store.File("tovik2.ini").c_str(), nullptr)) << "saves fail from now on";

  // The box that says the change could not be saved is answered only once a
  // message about a folder has come, so that message is told while it shows.
  HWND unsavedBox = nullptr;
  bool folderTold = false;
  MessageBoxWatcher boxes([&](HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    if (std::wstring(text) == UnsavedMessage(store.File("tovik2.ini"))) unsavedBox = box;
    if (unsavedBox != box) {
      folderTold = true;
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    if (unsavedBox != nullptr && folderTold) PostMessageA(unsavedBox, WM_COMMAND, IDOK, 0);
  });
  HWND dialog = OpenSettingsDialog();
  ASSERT_NE(dialog, nullptr);
  SetDlgItemTextA(dialog, kFolderEditId, chosen.c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpSentUntil([&] { return !boxes.Texts().empty(); }));
  ASSERT_TRUE(PumpUntil([&] { return !shell->SettingsDialogOpen() && boxes.Texts().size() >= 3u; }));

  const std::vector<std::wstring> told = boxes.Texts();
  EXPECT_EQ(told.size(), 3u);
  EXPECT_EQ(std::count(told.begin(), told.end(), UnsavedMessage(store.File("tovik2.ini"))), 1);
  EXPECT_EQ(std::count(told.begin(), told.end(), MissingFolderMessage(loaded)), 1)
      << "the load under way is told with the folder it loaded";
  EXPECT_EQ(std::count(told.begin(), told.end(), MissingFolderMessage(chosen)), 1);
  EXPECT_EQ(told.back(), MissingFolderMessage(chosen)) << "the new folder's load comes last";
  EXPECT_STREQ(shell->Settings().imageFolder, chosen.c_str()) << "the chosen settings, whole";
  RemoveDirectoryA(store.File("tovik2.ini").c_str());
}

BOOL WINAPI FailingGetMessage(LPMSG, HWND, UINT, UINT) { return -1; }

TEST_F(MainWindowTest, TheLoopEndsWithTheQuitCodeAndInOrderWhenGettingAMessageFails) {
  PostQuitMessage(7);
  EXPECT_EQ(RunMessageLoop(window), 7);
  EXPECT_TRUE(IsWindow(window));

  ASSERT_EQ(shell->LoadHookLibrary(), 1);
  EXPECT_EQ(RunMessageLoop(window, FailingGetMessage), kExitMessageLoopFailed);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(shell->HookModule(), nullptr) << "the hooks are ended";
  EXPECT_FALSE(shell->Tray().Modify(0, L"Pipwink2")) << "the tray icon is gone";
  EXPECT_EQ(shell->Field(), nullptr);
}

// A window covering the primary monitor in front, as a game's.
HWND ShowFullScreenGame() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& all = monitor.rcMonitor;
  HWND game = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, all.left, all.top, all.right - all.left,
                              all.bottom - all.top, nullptr, nullptr, appInstance, nullptr);
  if (game != nullptr) SetForegroundWindow(game);
  return game;
}

TEST_F(MainWindowTest, NoStarsWhileAFullScreenProgramIsInFrontAndAgainOnceItLeaves) {
  HWND game = ShowFullScreenGame();
  ASSERT_NE(game, nullptr);
  ASSERT_EQ(GetForegroundWindow(), game);
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 0) << "a full-screen program in front gets no stars";

  SetWindowPos(game, nullptr, 100, 100, 400, 300, SWP_NOZORDER);
  Sleep(kFullScreenLookMs);  // the watch reuses its last look that long
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2) << "once it leaves full screen, stars come again";
  DestroyWindow(game);

  TempFolder settings("fullscreen");
  StartWithSettingsFile(settings, "[PIPWINK]\r\nFULLSCREENPAUSE=0\r\n");
  game = ShowFullScreenGame();
  ASSERT_EQ(GetForegroundWindow(), game);
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2) << "FULLSCREENPAUSE=0 keeps the stars coming";
  DestroyWindow(game);
}

// A load that ends while a full-screen program is in front keeps its report
// (a box that comes to the front) until the program has left; the report then
// names the folder whose load it tells of.
TEST_F(MainWindowTest, ALoadsReportWaitsForAFullScreenProgramToLeaveAndNamesTheFolder) {
  TempFolder folder("held");
  ASSERT_TRUE(WriteTestPng(folder.File("good.png"), 40, 40));
  ASSERT_TRUE(WriteTextFile(folder.File("broken.png"), "no picture"));
  HWND game = ShowFullScreenGame();
  ASSERT_NE(game, nullptr);
  ASSERT_EQ(GetForegroundWindow(), game);
  MessageBoxWatcher boxes;
  ASSERT_EQ(ChooseFolder(folder.path()), 2);
  // The box would be answered within the handler that takes the load.
  ASSERT_TRUE(PumpUntil([&] { return !field->PicturesPending(); }));
  EXPECT_TRUE(boxes.Texts().empty()) << "a report came over the full-screen program";
  EXPECT_EQ(field->StarImageList.Count(), 1) << "the pictures are in use meanwhile";

  DestroyWindow(game);
  ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1u; }, 10000)) << "the held report never came";
  EXPECT_EQ(boxes.Texts()[0], std::wstring(UiTexts.slot[TEXT_FOLDER_LOADED]) + L"\n" + Widened(folder.path()) +
                                  L"\n\n" + UiTexts.slot[TEXT_SOME_UNREADABLE] + L"\n\nbroken.png");
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_EQ(StarCount(), 2) << "the folder's stars come once the program has left";
}

TEST_F(MainWindowTest, ThePauseHotkeyTogglesAsTheTrayDoesAndATakenOneIsToldOnce) {
  Send(WM_HOTKEY, kPauseHotkeyId);
  EXPECT_FALSE(shell->Reacting());
  EXPECT_EQ(std::wstring(shell->Tray().Tip()), L"Pipwink2 (Disabled)");
  Send(WM_HOTKEY, kPauseHotkeyId);
  EXPECT_TRUE(shell->Reacting());
  EXPECT_EQ(std::wstring(shell->Tray().Tip()), L"Pipwink2");

  // The default combination belongs to the running window now.
  TestWindow holder;
  EXPECT_EQ(RegisterPauseHotkey(holder.handle(), "Ctrl+Alt+Shift+F8"), PAUSE_HOTKEY_TAKEN);
  DestroyWindow(window);
  Pump();
  ASSERT_EQ(RegisterPauseHotkey(holder.handle(), "Ctrl+Alt+Shift+F8"), PAUSE_HOTKEY_REGISTERED)
      << "the closed program gave its hotkey back";
  MessageBoxWatcher boxes;
  Start(MainWindowOptions{});
  EXPECT_TRUE(shell->Reacting()) << "the program goes on without its hotkey";
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_NE(boxes.Texts()[0].find(L"Ctrl+Alt+Shift+F8"), std::wstring::npos) << "the message names the key";
  UnregisterPauseHotkey(holder.handle());
}

// A shell not ready at sign-in refuses the first icon: it is added again
// until the shell takes it, and then no more.
std::atomic<int> trayAdds{0};
BOOL WINAPI ShellReadyOnTheThirdAdd(DWORD message, PNOTIFYICONDATAW data) {
  if (message == NIM_ADD && ++trayAdds < 3) return FALSE;
  return Shell_NotifyIconW(message, data);
}

TEST_F(MainWindowTest, ATrayIconTheShellRefusesAtFirstIsAddedAgainUntilItIsTaken) {
  DestroyWindow(window);
  Pump();
  trayAdds = 0;
  MainWindowOptions options;
  options.trayNotify = ShellReadyOnTheThirdAdd;
  Start(options);
  ASSERT_TRUE(PumpUntil([] { return trayAdds.load() >= 3; }, 20000)) << "the refused icon was never added again";
  EXPECT_TRUE(shell->Tray().Modify(0, L"Pipwink2")) << "the shell holds the icon";
  EXPECT_FALSE(KillTimer(window, MainWindow::kTrayRetryTimerId)) << "adding goes on after the shell took the icon";
  EXPECT_EQ(trayAdds.load(), 3);
}

// A driver that holds the combination holds it at every start: the user
// hears of it once, and again only for another combination.
TEST_F(MainWindowTest, ATakenHotkeyIsToldOncePerCombinationAcrossStarts) {
  TempFolder folder("taken_hotkey");
  TestWindow holder, secondHolder;
  ASSERT_EQ(RegisterPauseHotkey(holder.handle(), "Ctrl+Alt+F11"), PAUSE_HOTKEY_REGISTERED);
  ASSERT_EQ(RegisterPauseHotkey(secondHolder.handle(), "Alt+Shift+F10"), PAUSE_HOTKEY_REGISTERED);
  MessageBoxWatcher boxes;
  auto startWith = [&](const char* text) {
    DestroyWindow(window);
    Pump();
    StartWithSettingsFile(folder, text);
  };
  startWith("[PIPWINK]\r\nHOTKEY=Ctrl+Alt+F11\r\n");
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_NE(boxes.Texts()[0].find(L"Ctrl+Alt+F11"), std::wstring::npos);
  // The settings file is written anew by each start below; the note stays.
  char told[kHotkeyTextSize] = {};
  GetPrivateProfileStringA("TOLD", "HOTKEYTAKEN", "", told, sizeof told, folder.File("tovik2.ini").c_str());
  EXPECT_STREQ(told, "Ctrl+Alt+F11");
  DestroyWindow(window);
  Pump();
  StartWithSettingsFileKept(folder);
  EXPECT_EQ(boxes.Texts().size(), 1u) << "the same taken hotkey was told again";
  startWith("[PIPWINK]\r\nHOTKEY=Alt+Shift+F10\r\n[TOLD]\r\nHOTKEYTAKEN=Ctrl+Alt+F11\r\n");
  ASSERT_EQ(boxes.Texts().size(), 2u) << "another taken hotkey is told";
  EXPECT_NE(boxes.Texts()[1].find(L"Alt+Shift+F10"), std::wstring::npos);
  UnregisterPauseHotkey(holder.handle());
  UnregisterPauseHotkey(secondHolder.handle());
}

std::wstring StringOf(unsigned id) {
  wchar_t text[kTextSize] = {};
  LoadStringW(appInstance, id, text, kTextSize);
  return text;
}

// A HOTKEY that would take keys from every program's typing is told once at
// start, with its reason; the default is registered in its place, and the
// file keeps what the user wrote.
TEST_F(MainWindowTest, ARefusedHotkeyIsToldWithItsReasonAndTheDefaultIsUsed) {
  TempFolder folder("refused_hotkey");
  // While the box shows, the default already works: another thread cannot
  // take it.
  std::atomic<int> heldWhileTold{-1};
  MessageBoxWatcher boxes([&](HWND box) {
    if (heldWhileTold.load() < 0) {
      const PauseHotkeyResult tried = RegisterPauseHotkey(nullptr, kDefaultHotkey);
      if (tried == PAUSE_HOTKEY_REGISTERED) UnregisterPauseHotkey(nullptr);
      heldWhileTold = tried == PAUSE_HOTKEY_TAKEN ? 1 : 0;
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  // Each window's end posts WM_QUIT, which would end the next start's box at
  // once: it is taken before each start.
  auto startWith = [&](const char* text) {
    DestroyWindow(window);
    Pump();
    StartWithSettingsFile(folder, text);
  };
  startWith("[PIPWINK]\r\nHOTKEY=Ctrl+C\r\n");
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(heldWhileTold.load(), 1) << "the default was not registered before the box was told";
  const std::wstring told = boxes.Texts()[0];
  EXPECT_NE(told.find(L"Ctrl+C"), std::wstring::npos) << "the message names the refused text";
  EXPECT_NE(told.find(StringOf(IDS_HOTKEY_RESERVED)), std::wstring::npos) << "and says why";
  EXPECT_EQ(told.find(StringOf(IDS_HOTKEY_ALTGR)), std::wstring::npos);
  EXPECT_NE(told.find(L"Ctrl+Alt+Shift+F8"), std::wstring::npos) << "and what is used instead";
  EXPECT_STREQ(shell->Settings().hotkey, "Ctrl+Alt+Shift+F8");
  TestWindow holder;
  EXPECT_EQ(RegisterPauseHotkey(holder.handle(), "Ctrl+Alt+Shift+F8"), PAUSE_HOTKEY_TAKEN) << "the default is in force";
  char kept[kHotkeyTextSize] = {};
  GetPrivateProfileStringA("PIPWINK", "HOTKEY", "", kept, sizeof kept, folder.File("tovik2.ini").c_str());
  EXPECT_STREQ(kept, "Ctrl+C");

  // AltGr's combination, with its own reason; a usable text tells nothing.
  startWith("[PIPWINK]\r\nHOTKEY=Ctrl+Alt+Q\r\n");
  ASSERT_EQ(boxes.Texts().size(), 2u);
  EXPECT_NE(boxes.Texts()[1].find(StringOf(IDS_HOTKEY_ALTGR)), std::wstring::npos);
  startWith("[PIPWINK]\r\nHOTKEY=Ctrl+Alt+F11\r\n");
  EXPECT_EQ(boxes.Texts().size(), 2u);
}

TEST_F(MainWindowTest, APointLeftOfThePrimaryScreenStaysThere) {
  Choose([](SettingsRecord& s) { s.quantity = 1; });
  Send(PWM_HOOK_CLICK, 0, PackPoint(-300, -20));
  ASSERT_EQ(StarCount(), 1);
  Star* star = field->Pool().starListHead->next;
  // The star starts beside the point, never a screen width away from it.
  EXPECT_LT(star->x, -300 + 72);
  EXPECT_GT(star->x, -300 - 2 * 72);
  EXPECT_LT(star->y, -20 + 72);
}

TEST_F(MainWindowTest, ManyStarsQuestionAnswersExactlyZeroOrOne) {
  Choose([](SettingsRecord& s) { s.quantity = 3; });
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
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
    item.dwTypeData = text;
    item.cch = 64;
    GetMenuItemInfoW(menu, i, TRUE, &item);
    const std::wstring mark = (item.fState & MFS_CHECKED) ? L" [x]" : L"";
    texts.push_back((item.fType & MFT_SEPARATOR) ? std::wstring(L"-") : std::to_wstring(item.wID) + L" " + text + mark);
  }
  return texts;
}

// The menu as the tray shows it, read while it is up; it is closed at once.
std::vector<std::wstring> ShownTrayMenu(const MainWindow& shell) {
  static const MainWindow* showing = nullptr;
  static std::vector<std::wstring> seen;
  showing = &shell;
  seen.clear();
  UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (showing->TrayMenu() == nullptr) return;
    KillTimer(nullptr, id);
    seen = MenuTexts(showing->TrayMenu());
    EndMenu();
  });
  SendMessageA(shell.Window(), PWM_TRAY, 0, WM_RBUTTONUP);
  KillTimer(nullptr, timer);
  return seen;
}

// The menu's texts are the Japanese of the string table, read wide (this
// case also runs under a Western code page); the switch offers the opposite
// of the current state; after the menu the window gets a message, so that
// the menu of the notification area closes properly.
TEST_F(MainWindowTest, TrayMenuShowsItsJapaneseTextsAndOffersTheOppositeOfTheState) {
  ExpectCodePageOfThisRun();
  const std::vector<std::wstring> expectEnabled = {L"115 バージョン情報", L"-", L"129 設定", L"1250 サインイン時に起動",
                                                   L"-", L"114 無効化", L"102 終了"};
  EXPECT_EQ(ShownTrayMenu(*shell), expectEnabled);
  EXPECT_EQ(shell->TrayMenu(), nullptr) << "the menu goes once it is closed";
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, window, WM_NULL, WM_NULL, PM_REMOVE)) << "no WM_NULL after the menu";

  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  std::vector<std::wstring> disabled = ShownTrayMenu(*shell);
  ASSERT_EQ(disabled.size(), 7u);
  EXPECT_EQ(disabled[5], L"114 有効化");
}

// The menu's start at sign-in sets and clears the Run key's value, and its
// mark shows what the registry says when the menu opens, even a change made
// elsewhere meanwhile.
TEST_F(MainWindowTest, StartAtSignInWritesTheRunKeyAndTheMarkReadsIt) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kTestRunValue);
  EXPECT_EQ(ShownTrayMenu(*shell).at(3), L"1250 サインイン時に起動");
  Send(WM_COMMAND, IDM_TRAY_SIGN_IN);
  EXPECT_EQ(RunValue(kTestRunValue), QuotedProgramPath());
  EXPECT_EQ(ShownTrayMenu(*shell).at(3), L"1250 サインイン時に起動 [x]");

  ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kTestRunValue), ERROR_SUCCESS);
  EXPECT_EQ(ShownTrayMenu(*shell).at(3), L"1250 サインイン時に起動") << "the registry, not a memory, says";
  Send(WM_COMMAND, IDM_TRAY_SIGN_IN);
  EXPECT_EQ(RunValue(kTestRunValue), QuotedProgramPath());
  Send(WM_COMMAND, IDM_TRAY_SIGN_IN);
  EXPECT_EQ(RunValue(kTestRunValue), L"<none>");
  EXPECT_EQ(ShownTrayMenu(*shell).at(3), L"1250 サインイン時に起動");
}

// A value the registry refuses (its name is longer than a value's may be)
// is told to the user, and the mark stays as the registry is.
TEST_F(MainWindowTest, StartAtSignInThatCannotBeWrittenIsTold) {
  const std::wstring refused(20000, L'v');
  MainWindowOptions options;
  options.runValueName = refused.c_str();
  shell.reset();
  shell.emplace(options);
  window = shell->CreateMainWindow(appInstance);
  ASSERT_NE(window, nullptr);
  Pump();
  MessageBoxWatcher boxes;
  Send(WM_COMMAND, IDM_TRAY_SIGN_IN);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], UiTexts.slot[TEXT_SIGN_IN_UNSAVED]);
  EXPECT_EQ(ShownTrayMenu(*shell).at(3), L"1250 サインイン時に起動");
}

// LANGUAGE=en in the settings file: the menu and the messages are English
// from the start (this case also runs under a Western code page).
TEST_F(MainWindowTest, WithLanguageEnglishTheMenuAndMessagesReadEnglish) {
  ExpectCodePageOfThisRun();
  TempFolder folder("english");
  StartWithSettingsFile(folder, "[PIPWINK]\r\nLANGUAGE=en\r\n");
  const std::vector<std::wstring> english = {L"115 About Pipwink2", L"-", L"129 Settings", L"1250 Start at sign-in",
                                             L"-", L"114 Disable", L"102 Exit"};
  EXPECT_EQ(ShownTrayMenu(*shell), english);
  MessageBoxWatcher boxes;
  const std::string missing = folder.File("missing");
  ASSERT_EQ(ChooseFolder(missing), 2);
  ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
  EXPECT_EQ(boxes.Texts()[0], L"The chosen folder was not found.\n" + Widened(missing) + L"\nThe built-in picture is used.");

  // The version picture's line on how to close it is English too.
  Send(WM_COMMAND, IDM_TRAY_VERSION);
  ASSERT_TRUE(shell->Version().IsOpen());
  UniqueBitmap picture = PrepairAlphaBitmapFromResource(IDR_VERSION_EN_ART, 310, 230);
  const auto* shown = static_cast<const uint32_t*>(AlphaBitmapBits(shell->Version().Picture().Bitmap()));
  const auto* drawn = static_cast<const uint32_t*>(AlphaBitmapBits(picture.Get()));
  ASSERT_NE(shown, nullptr);
  ASSERT_NE(drawn, nullptr);
  EXPECT_TRUE(std::equal(shown, shown + 310 * 230, drawn)) << "the English version picture";
  PostMessageA(window, PWM_ABOUT_CLOSED, 0, 0);
  Pump();
}

// A language chosen in the settings applies to the menus and messages at
// once, and to the settings dialog the next time it opens; LANGUAGE=ja (or
// none) gives exactly the Japanese of before.
TEST_F(MainWindowTest, AChosenLanguageAppliesAtOnceAndTheDialogFollowsAtItsNextOpening) {
  TempFolder folder("language_change");
  StartWithSettingsFile(folder, "[PIPWINK]\r\nLANGUAGE=ja\r\n");
  EXPECT_EQ(ShownTrayMenu(*shell).at(2), L"129 設定");
  HWND dialog = OpenSettingsDialog();
  ASSERT_NE(dialog, nullptr);
  wchar_t cancel[64] = {};
  GetDlgItemTextW(dialog, IDCANCEL, cancel, 64);
  EXPECT_STREQ(cancel, L"キャンセル");
  SendDlgItemMessageW(dialog, kLanguageId, CB_SETCURSEL, LANGUAGE_ENGLISH, 0);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpSentUntil([&] { return !shell->SettingsDialogOpen(); }));
  EXPECT_EQ(shell->Settings().language, LANGUAGE_ENGLISH);
  EXPECT_EQ(ShownTrayMenu(*shell).at(2), L"129 Settings") << "the menu follows at once";
  EXPECT_STREQ(UiTexts.slot[TEXT_ERASE], L"Erase") << "the star menu reads the same texts";

  dialog = OpenSettingsDialog();
  ASSERT_NE(dialog, nullptr);
  GetDlgItemTextW(dialog, IDCANCEL, cancel, 64);
  EXPECT_STREQ(cancel, L"Cancel") << "the dialog opens in the new language";
  SendDlgItemMessageW(dialog, kLanguageId, CB_SETCURSEL, LANGUAGE_JAPANESE, 0);
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpSentUntil([&] { return !shell->SettingsDialogOpen(); }));
  EXPECT_EQ(ShownTrayMenu(*shell).at(2), L"129 設定");
  char saved[16] = {};
  GetPrivateProfileStringA("PIPWINK", "LANGUAGE", "", saved, sizeof saved, folder.File("tovik2.ini").c_str());
  EXPECT_STREQ(saved, "ja");
}

TEST_F(MainWindowTest, TheTipSaysWhetherTheStarFieldReacts) {
  EXPECT_STREQ(shell->Tray().Tip(), L"Pipwink2");
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_STREQ(shell->Tray().Tip(), L"Pipwink2 (Disabled)");
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  EXPECT_STREQ(shell->Tray().Tip(), L"Pipwink2");
}

// A restart from the settings dialog (a new folder) while the reaction was
// off gives a star field that reacts: the tip and the menu say so.
TEST_F(MainWindowTest, ARestartWhileDisabledReactsAgainAndTheTipSaysSo) {
  Send(WM_COMMAND, IDM_TRAY_ENABLE);
  ASSERT_STREQ(shell->Tray().Tip(), L"Pipwink2 (Disabled)");
  TempFolder folder("restart_disabled");
  ASSERT_TRUE(WriteTestPng(folder.File("a.png"), 20, 20));
  ASSERT_EQ(ChooseFolder(folder.path()), 2);
  EXPECT_TRUE(shell->Reacting());
  EXPECT_STREQ(shell->Tray().Tip(), L"Pipwink2");
  ASSERT_TRUE(PumpUntil([&] { return !field->PicturesPending(); }));
  std::vector<std::wstring> texts = ShownTrayMenu(*shell);
  ASSERT_EQ(texts.size(), 7u);
  EXPECT_EQ(texts[5], L"114 無効化");
}

TEST_F(MainWindowTest, DisablingHidesGrabbedStarsAndEnablingShowsThemAgain) {
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
  ASSERT_TRUE(shell->Version().IsOpen());
  HWND box = shell->Version().Window();
  ASSERT_NE(box, nullptr);
  RECT rect{};
  GetWindowRect(box, &rect);
  EXPECT_EQ(rect.right - rect.left, 310);
  EXPECT_EQ(rect.bottom - rect.top, 230);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 310) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 230) / 2);
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_TRUE(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST);

  Send(WM_COMMAND, IDM_TRAY_VERSION);
  EXPECT_EQ(shell->Version().Window(), box) << "a second command shows no second box";

  PostMessageA(window, PWM_ABOUT_CLOSED, 0, reinterpret_cast<LPARAM>(box));
  Pump();
  EXPECT_FALSE(shell->Version().IsOpen());
  EXPECT_EQ(shell->Version().Window(), nullptr);
  EXPECT_FALSE(IsWindow(box));
  Send(WM_COMMAND, IDM_TRAY_VERSION);
  EXPECT_TRUE(shell->Version().IsOpen()) << "after closing, the command works again";
  PostMessageA(window, PWM_ABOUT_CLOSED, 0, 0);
  Pump();
}

TEST_F(MainWindowTest, AtOneHundredFiftyPercentTheVersionBoxIsHalfAgainAsLarge) {
  SetProcessDpi(144);
  Send(WM_COMMAND, IDM_TRAY_VERSION);
  SetProcessDpi(kBaseDpi);
  ASSERT_TRUE(shell->Version().IsOpen());
  HWND box = shell->Version().Window();
  RECT rect{};
  GetWindowRect(box, &rect);
  EXPECT_EQ(rect.right - rect.left, 465);
  EXPECT_EQ(rect.bottom - rect.top, 345);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 465) / 2);
  PostMessageA(window, PWM_ABOUT_CLOSED, 0, reinterpret_cast<LPARAM>(box));
  Pump();
  EXPECT_FALSE(shell->Version().IsOpen());
}

TEST_F(MainWindowTest, ARestartedTaskbarGetsTheIconBackAndTheOldIconIsFreed) {
  TrayIcon& tray = shell->Tray();
  ASSERT_TRUE(tray.Modify(0, L"Pipwink2"));
  tray.Remove();  // as if the shell had lost it
  EXPECT_FALSE(tray.Modify(0, L"Pipwink2"));
  HICON before = tray.Icon();
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(before, &info));
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  Send(RegisterWindowMessageA("TaskbarCreated"));
  EXPECT_TRUE(tray.Modify(0, L"Pipwink2"));
  EXPECT_NE(tray.Icon(), before);
  EXPECT_FALSE(GetIconInfo(before, &info)) << "the icon it replaced is destroyed";
}

TEST_F(MainWindowTest, ExitClosesTheWindowAndStopsTheStarField) {
  Choose([](SettingsRecord& s) { s.quantity = 1; });
  Send(PWM_HOOK_CLICK, 0, PackPoint(300, 300));
  HWND star = WindowOf(field->Pool().starListHead->next)->Handle();
  Send(WM_COMMAND, IDM_TRAY_EXIT);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(shell->Reacting());
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  Pump();
  EXPECT_FALSE(IsWindow(star));
}

// A star window of the test's: at its end it notes what the main window
// holds then, and hands the main window a click, as the hook does when it
// sends one while the program waits inside the window system.
struct DyingStarWatch {
  static inline WNDPROC original = nullptr;
  static inline MainWindow* shell = nullptr;
  static inline bool ended = false;
  static inline Win32StarField* fieldAtEnd = nullptr;
  static inline int starsMadeAtEnd = -1;
  static LRESULT CALLBACK Proc(HWND star, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && !ended) {
      ended = true;
      fieldAtEnd = shell->Field();
      const int before = fieldAtEnd != nullptr ? fieldAtEnd->StarCount() : 0;
      SendMessageA(GetParent(star), PWM_HOOK_CLICK, 0, static_cast<LPARAM>(PackPoint(300, 300)));
      starsMadeAtEnd = (shell->Field() != nullptr ? shell->Field()->StarCount() : 0) - before;
    }
    return CallWindowProcA(original, star, message, wParam, lParam);
  }
};

// Exit stops the input and the star field before the windows go: a star
// window that goes finds no field, and a click that comes then makes nothing.
TEST_F(MainWindowTest, NoHandlerReachesAStarFieldThatIsStopping) {
  Send(PWM_HOOK_CLICK, 0, PackPoint(300, 300));
  HWND star = WindowOf(field->Pool().starListHead->next)->Handle();
  ASSERT_TRUE(IsWindow(star));
  DyingStarWatch::shell = &*shell;
  DyingStarWatch::ended = false;
  DyingStarWatch::fieldAtEnd = field;
  DyingStarWatch::starsMadeAtEnd = -1;
  DyingStarWatch::original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(star, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DyingStarWatch::Proc)));
  Send(WM_COMMAND, IDM_TRAY_EXIT);
  Pump();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(star));
  EXPECT_TRUE(DyingStarWatch::ended);
  EXPECT_EQ(DyingStarWatch::fieldAtEnd, nullptr) << "a star that goes at exit finds no field left";
  EXPECT_EQ(DyingStarWatch::starsMadeAtEnd, 0) << "a click during the exit makes no stars";
  EXPECT_EQ(shell->Field(), nullptr);
}

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

  EXPECT_FALSE(idle.settingsOpen);
  Choose([](SettingsRecord& s) { s.quantity = 1; });
  Send(PWM_HOOK_CLICK, 0, PackPoint(400, 300));
  EXPECT_TRUE(status().moving);
  HWND dialog = OpenSettingsDialog();
  EXPECT_TRUE(status().settingsOpen);
  Send(WM_TIMER, STAR_TIMER_ID);
  EXPECT_EQ(status().ticks, idle.ticks + 1) << "a tick while the dialog is open counts too";
  CancelSettingsDialog(dialog);
  EXPECT_FALSE(status().settingsOpen);

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

}  // namespace
