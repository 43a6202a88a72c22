#include "app/settings_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/dialog_controls.h"
#include "app/ini_rules.h"
#include "app/mm_file.h"
#include "app/settings_session.h"
#include "app/settings_store.h"
#include "app/test_display.h"
#include "base/app_state.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "cells/shared_cells.h"
#include "code_page.h"
#include "images/win32/image_set.h"
#include "images/win32/star_images.h"
#include "react_cells.h"
#include "star_test_support.h"
#include "stars/star.h"
#include "test_png.h"

namespace {

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, id, text, 512);
  return text;
}

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string IniValue(const std::string& path, const char* key) {
  char value[512] = {};
  GetPrivateProfileStringA("PIPWINK", key, "<missing>", value, sizeof value, path.c_str());
  return value;
}

// The dialog's session with a stand-in main window as its owner, and the
// settings store and cells the main window would hold, pointed into a folder
// of the test's own: what OK chooses is taken by that store, as the main
// window takes it.
class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(owner.handle(), nullptr);
    appInstance = GetModuleHandleA(nullptr);
    LoadUiTexts();
    ASSERT_TRUE(cells.SetUpMMFile(owner.handle()));
    DeleteFileA(iniFile.c_str());
    SettingsRecord settings = DefaultSettings();  // every switch on, moveRange 70
    settings.quantity = 4;
    std::snprintf(settings.imageFolder, sizeof settings.imageFolder, "C:\\Stars");
    Store(settings);
    session = SettingsSession::Make(owner.handle(), nullptr);
    ASSERT_NE(session, nullptr);
  }
  void TearDown() override {
    if (session != nullptr) session->LetGo();
    DeleteFileA(iniFile.c_str());
  }
  // The settings in force, in memory as after a load, without a file written.
  void Store(const SettingsRecord& settings) {
    store.UseIniPath("");
    store.SaveIniInfo(settings);
    store.UseIniPath(iniFile.c_str());
  }
  // Opens the session for a dialog, as the main window does: with a copy of
  // the settings in force.
  void OpenSession() {
    session->Close();
    ASSERT_TRUE(session->Open(store.Current(), store.IniPath()));
  }

  TempFolder storeFolder{"dialog_store"};
  std::string iniFile = storeFolder.File("tovik2.ini");
  OwnerWindow owner;
  ProgramCells cells;
  SettingsStore store{&cells};
  SettingsSession* session = nullptr;
};

// The dialog created modeless on the test's thread, so its controls and the
// reading of them can be checked step by step.
class SettingsDialogControls : public SettingsDialogTest {
 protected:
  void Open() {
    OpenSession();
    // The template of the texts' language, as the dialog's thread takes it.
    dialog = CreateDialogIndirectParamW(appInstance, SettingsDialogTemplate(UiTextLanguage), nullptr,
                                        SettingDialogProc, reinterpret_cast<LPARAM>(session));
    ASSERT_NE(dialog, nullptr);
  }
  void TearDown() override {
    if (dialog != nullptr) DestroyWindow(dialog);
    SettingsDialogTest::TearDown();
  }
  // OK's reading of the controls, and what the main window then does with
  // it: the store takes the choice. What the dialog found changed.
  int TakeDialog() {
    SettingsRecord chosen{};
    int changed = GetIniInfoFromDialog(dialog, &chosen);
    if (changed > 0) store.TakeChosenSettings(chosen);
    return changed;
  }
  HWND Item(int id) const { return GetDlgItem(dialog, id); }
  // The label of the settings file holds its text in the lines it has room
  // for, broken where the path must be, with the dialog's font.
  void ExpectIniFileLabelWhole() {
    HWND label = Item(kIniFileId);
    ASSERT_NE(label, nullptr);
    RECT client{};
    GetClientRect(label, &client);
    std::wstring text = WindowText(label);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, client.right, 0};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    EXPECT_LE(needed.bottom, client.bottom) << "the settings file's label is cut: " << text.size();
    EXPECT_LE(needed.right, client.right);
  }
  void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
  // A press and release on the upper (up) or lower (down) half of the spin.
  void Spin(bool up) {
    HWND spin = Item(kSpinId);
    RECT client{};
    GetClientRect(spin, &client);
    LPARAM at = MAKELPARAM(client.right / 2, up ? client.bottom / 4 : client.bottom * 3 / 4);
    SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(spin, WM_LBUTTONUP, 0, at);
  }
  HWND dialog = nullptr;
};

TEST_F(SettingsDialogControls, OpensWithTheStoredSettingsCentredAndRemembered) {
  SettingsRecord settings = store.Current();
  settings.reactMouseMove = 0;
  settings.reactKey = 0;
  settings.reactEnterKey = 0;
  Store(settings);
  Open();
  EXPECT_EQ(session->Dialog(), dialog);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(IsDlgButtonChecked(dialog, kMouseClickId), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kMouseMoveId), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kKeyId), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kAllKeysId), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog, kEnterKeyId), BST_UNCHECKED);
  // Key input off: its choices and the folder group's caption are grey.
  EXPECT_FALSE(IsWindowEnabled(Item(kEnterKeyId)));
  EXPECT_FALSE(IsWindowEnabled(Item(kAllKeysId)));
  EXPECT_FALSE(IsWindowEnabled(GetWindow(Item(kAllKeysId), GW_HWNDNEXT)));
  EXPECT_TRUE(IsWindowEnabled(Item(kFolderEditId)));
  EXPECT_EQ(ItemText(dialog, kFolderEditId), L"C:\\Stars");
  EXPECT_EQ(ItemText(dialog, kCountLabelId), L"4");
  RECT rect{};
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
}

TEST_F(SettingsDialogControls, KeyInputCheckBoxGreysAndRestoresTheKeyChoices) {
  Open();
  ASSERT_TRUE(IsWindowEnabled(Item(kEnterKeyId)));
  HWND folderGroup = GetWindow(Item(kAllKeysId), GW_HWNDNEXT);
  Click(kKeyId);
  EXPECT_FALSE(IsWindowEnabled(Item(kEnterKeyId)));
  EXPECT_FALSE(IsWindowEnabled(Item(kAllKeysId)));
  EXPECT_FALSE(IsWindowEnabled(folderGroup));
  EXPECT_TRUE(IsWindowEnabled(Item(kFolderEditId)));
  Click(kKeyId);
  EXPECT_TRUE(IsWindowEnabled(Item(kEnterKeyId)));
  EXPECT_TRUE(IsWindowEnabled(Item(kAllKeysId)));
  EXPECT_TRUE(IsWindowEnabled(folderGroup));
}

TEST_F(SettingsDialogControls, NothingChangedReturnsZeroAndWritesNothing) {
  Open();
  EXPECT_EQ(TakeDialog(), 0);
  EXPECT_FALSE(FileExists(iniFile));
}

TEST_F(SettingsDialogControls, AChangedCheckBoxIsSavedAndReachesTheCells) {
  Open();
  Click(kMouseClickId);
  Click(kAllKeysId);
  EXPECT_EQ(TakeDialog(), 1);
  EXPECT_EQ(store.Current().reactMouseClick, 0);
  EXPECT_EQ(store.Current().reactEnterKey, 0);
  EXPECT_EQ(store.Current().moveRange, 70);
  EXPECT_EQ(IniValue(iniFile, "MOUSECLICK"), "0");
  EXPECT_EQ(IniValue(iniFile, "ENTERKEY"), "0");
  EXPECT_EQ(IniValue(iniFile, "IMAGEFOLDER"), "<missing>") << "a key nobody changed is not written";
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{0, 1, 1, 0}));
}

TEST_F(SettingsDialogControls, AChangedFolderReturnsTwoAndIsSaved) {
  Open();
  SetDlgItemTextA(dialog, kFolderEditId, "C:\\stars");  // letter case counts
  EXPECT_EQ(TakeDialog(), 2);
  EXPECT_STREQ(store.Current().imageFolder, "C:\\stars");
  EXPECT_EQ(IniValue(iniFile, "IMAGEFOLDER"), "C:\\stars");

  SetDlgItemTextA(dialog, kFolderEditId, "");
  EXPECT_EQ(TakeDialog(), 2);
  EXPECT_EQ(IniValue(iniFile, "IMAGEFOLDER"), "");
}

TEST_F(SettingsDialogControls, TypedFolderStopsAt259Characters) {
  Open();
  SetDlgItemTextA(dialog, kFolderEditId, "");
  for (int i = 0; i < 300; ++i) SendMessageA(Item(kFolderEditId), WM_CHAR, 'a', 0);
  EXPECT_EQ(ItemText(dialog, kFolderEditId), std::wstring(259, L'a'));
  EXPECT_EQ(TakeDialog(), 2);
  EXPECT_EQ(std::string(store.Current().imageFolder), std::string(259, 'a'));
}

TEST_F(SettingsDialogControls, UpArrowCountsToNineAndDownStopsAtOne) {
  Open();
  for (int i = 0; i < 7; ++i) Spin(true);
  EXPECT_EQ(ItemText(dialog, kCountLabelId), L"9");
  EXPECT_EQ(TakeDialog(), 1);
  EXPECT_EQ(store.Current().quantity, 9);
  EXPECT_EQ(IniValue(iniFile, "QUANTITY"), "9");
  for (int i = 0; i < 10; ++i) Spin(false);
  EXPECT_EQ(ItemText(dialog, kCountLabelId), L"1");
}

// OK never changes what the user left alone: a count the arrows cannot
// reach, a switch stored as 2, a folder longer than the edit holds.
TEST_F(SettingsDialogControls, OkKeepsEveryValueTheUserDidNotTouch) {
  const std::string longFolder = "C:\\" + std::string(300, 'f');
  WritePrivateProfileStringA("PIPWINK", "QUANTITY", "25", iniFile.c_str());
  WritePrivateProfileStringA("PIPWINK", "MOUSEMOVE", "2", iniFile.c_str());
  WritePrivateProfileStringA("PIPWINK", "IMAGEFOLDER", longFolder.c_str(), iniFile.c_str());
  store.GetIniInfo();
  ASSERT_EQ(store.Current().quantity, 25);
  Open();
  EXPECT_EQ(ItemText(dialog, kCountLabelId), L"25");
  EXPECT_EQ(IsDlgButtonChecked(dialog, kMouseMoveId), BST_CHECKED) << "a stored 2 reacts, so it shows checked";
  EXPECT_EQ(TakeDialog(), 0) << "nothing was touched";

  Click(kMouseClickId);  // the one change
  EXPECT_EQ(TakeDialog(), 1);
  EXPECT_EQ(store.Current().quantity, 25);
  EXPECT_EQ(store.Current().reactMouseMove, 2);
  EXPECT_EQ(IniValue(iniFile, "MOUSECLICK"), "0");
  EXPECT_EQ(IniValue(iniFile, "QUANTITY"), "25");
  EXPECT_EQ(IniValue(iniFile, "MOUSEMOVE"), "2");
  EXPECT_EQ(IniValue(iniFile, "IMAGEFOLDER"), longFolder) << "the folder is not written back cut";
  DestroyWindow(dialog);

  // A seven-digit count shows the 99 a click makes, and the file keeps what
  // the user wrote when another value changes.
  WritePrivateProfileStringA("PIPWINK", "QUANTITY", "1234567", iniFile.c_str());
  store.GetIniInfo();
  Open();
  EXPECT_EQ(ItemText(dialog, kCountLabelId), L"99");
  Click(kMouseClickId);
  EXPECT_EQ(TakeDialog(), 1);
  EXPECT_EQ(store.Current().quantity, 99);
  EXPECT_EQ(IniValue(iniFile, "QUANTITY"), "1234567");

  // Unchecking the stored 2 stores 0.
  Click(kMouseMoveId);
  EXPECT_EQ(TakeDialog(), 1);
  EXPECT_EQ(IniValue(iniFile, "MOUSEMOVE"), "0");
}

// Every text the dialog shows is the Japanese of its template, read wide
// (this case also runs under a Western code page), and no label is cut by
// the font the system gives it.
TEST_F(SettingsDialogControls, ShowsItsJapaneseTextsWholeUnderAnyCodePage) {
  ExpectCodePageOfThisRun();
  Open();
  EXPECT_EQ(WindowText(dialog), L"Pipwink2");
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(WindowText(child));
    if (child == Item(kIniFileId)) continue;  // it breaks into lines: below
    RECT rect{};
    GetWindowRect(child, &rect);
    EXPECT_LE(LabelWidthNeeded(child), rect.right - rect.left) << "cut: " << texts.size() - 1;
  }
  const std::wstring iniFile = store.IniPath();
  const std::vector<std::wstring> expected = {
      L"OK", L"キャンセル", L"マウス", L"キーボード (β版)", L"マウスクリックに反応", L"キー入力に反応",
      L"マウスカーソルの動きに反応", L"エンターキーのみ", L"全てのキー", L"イメージフォルダの指定 (PNG 画像のみ)",
      L"C:\\Stars", L"...", L"テスト表示", L"★の数", L"", L" 1 クリック / タイプで発生する数", L"4",
      L"設定ファイル: " + iniFile, L"言語", L"日本語"};
  EXPECT_EQ(texts, expected);
  ExpectIniFileLabelWhole();
}

// With LANGUAGE=en the dialog is the English template, its choices English,
// and nothing is cut (this case also runs under a Western code page).
TEST_F(SettingsDialogControls, ShowsItsEnglishTextsWholeInEnglish) {
  ExpectCodePageOfThisRun();
  SettingsRecord settings = store.Current();
  settings.language = LANGUAGE_ENGLISH;
  Store(settings);
  LoadUiTexts(UI_ENGLISH);
  Open();
  EXPECT_EQ(WindowText(dialog), L"Pipwink2");
  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    texts.push_back(WindowText(child));
    if (child == Item(kIniFileId)) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    EXPECT_LE(LabelWidthNeeded(child), rect.right - rect.left) << "cut: " << texts.back();
  }
  const std::vector<std::wstring> expected = {
      L"OK", L"Cancel", L"Mouse", L"Keyboard (beta)", L"React to mouse clicks", L"React to key input",
      L"React to mouse movement", L"Enter key only", L"Every key", L"Picture folder (PNG pictures only)",
      L"C:\\Stars", L"...", L"Test display", L"Number of stars", L"", L" Stars per click or key", L"4",
      L"Settings file: " + std::wstring(store.IniPath()), L"Language", L"English"};
  EXPECT_EQ(texts, expected);
  ExpectIniFileLabelWhole();
  std::vector<std::wstring> choices;
  for (int i = 0; i < SendMessageW(Item(kLanguageId), CB_GETCOUNT, 0, 0); ++i) {
    wchar_t text[128] = {};
    SendMessageW(Item(kLanguageId), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    choices.push_back(text);
  }
  EXPECT_EQ(choices, (std::vector<std::wstring>{L"日本語", L"English", L"Automatic (the Windows display language)"}));
}

// The language is chosen in the dialog and saved like the other settings;
// leaving the choice alone writes nothing.
TEST_F(SettingsDialogControls, ALanguageChoiceIsSavedLikeTheOtherSettings) {
  Open();
  EXPECT_EQ(SendMessageW(Item(kLanguageId), CB_GETCURSEL, 0, 0), 0) << "Japanese, the default";
  EXPECT_EQ(TakeDialog(), 0);
  SendMessageW(Item(kLanguageId), CB_SETCURSEL, 2, 0);
  EXPECT_EQ(TakeDialog(), 1);
  EXPECT_EQ(store.Current().language, LANGUAGE_AUTO);
  EXPECT_EQ(IniValue(iniFile, "LANGUAGE"), "auto");
  EXPECT_EQ(IniValue(iniFile, "QUANTITY"), "<missing>") << "only the language changed";
  DestroyWindow(dialog);
  Open();
  EXPECT_EQ(SendMessageW(Item(kLanguageId), CB_GETCURSEL, 0, 0), 2) << "the saved choice shows again";
}

// The label names the file the settings live in, however long its path and
// whatever characters it holds (this case also runs under a Western code page).
TEST_F(SettingsDialogControls, NamesTheSettingsFileByItsWidePathWhole) {
  const std::wstring appData = L"C:\\users\\ソフィア・エリザベス\\AppData\\Roaming\\Tovik2\\tovik2.ini";
  store.UseIniPath(appData.c_str());
  Open();
  EXPECT_EQ(ItemText(dialog, kIniFileId), L"設定ファイル: " + appData);
  ExpectIniFileLabelWhole();
}

// The dialog on its own thread, as the tray command runs it, owned by the
// stand-in main window, which takes what OK chose as the main window does
// (the store takes it) and notes what it saw then.
class SettingsDialogThread : public SettingsDialogTest {
 protected:
  void SetUp() override {
    SettingsDialogTest::SetUp();
    owner.onMessage = [this](UINT message, WPARAM, LPARAM) {
      SettingsRecord chosen{};
      if (message != PWM_SETTINGS_CHOSEN || !session->TakeChoice(&chosen)) return;
      changed = store.TakeChosenSettings(chosen);
      openWhenTaken = session->IsOpen();
    };
  }
  void Start() {
    OpenSession();
    thread = StartSettingDialog(session);
    ASSERT_TRUE(thread);
    ASSERT_TRUE(PumpUntil([this] { return session->Dialog() != nullptr && IsWindowVisible(session->Dialog()); }));
    dialog = session->Dialog();
  }
  // Presses a button the way a click does: its command reaches the dialog.
  void Press(int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  bool Ended() { return PumpUntil([this] { return WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0; }, 5000); }
  void TearDown() override {
    if (thread && WaitForSingleObject(thread.Get(), 0) != WAIT_OBJECT_0) {
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      Ended();
    }
    thread.Reset();
    SettingsDialogTest::TearDown();
  }
  UniqueHandle thread;
  HWND dialog = nullptr;
  int changed = -1;  // what the taken choice changed; -1 while none was taken
  bool openWhenTaken = false;
};

TEST_F(SettingsDialogThread, OkWithANewFolderHandsItToTheMainWindowWhileTheDialogWaits) {
  Start();
  SetDlgItemTextA(dialog, kFolderEditId, "D:\\Other");
  Press(IDOK);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(owner.CountOf(PWM_SETTINGS_CHOSEN), 1);
  EXPECT_EQ(changed, 2) << "a new folder: the main window starts the star field again";
  EXPECT_STREQ(store.Current().imageFolder, "D:\\Other");
  EXPECT_TRUE(openWhenTaken) << "stars stay still until the main window is done with it";
  EXPECT_FALSE(session->IsOpen());
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(IniValue(iniFile, "IMAGEFOLDER"), "D:\\Other");
}

TEST_F(SettingsDialogThread, OkWithAChangedSwitchSavesWithoutRestart) {
  Start();
  SendMessageA(GetDlgItem(dialog, kMouseMoveId), BM_CLICK, 0, 0);
  Press(IDOK);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(owner.CountOf(PWM_SETTINGS_CHOSEN), 1);
  EXPECT_EQ(changed, 1) << "the folder stays: no restart";
  EXPECT_EQ(store.Current().reactMouseMove, 0);
  EXPECT_EQ(IniValue(iniFile, "MOUSEMOVE"), "0");
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{1, 0, 1, 1}));
}

// The dialog edits a copy: whatever it shows, the settings in force stay
// until OK hands the copy over, and cancel hands nothing.
TEST_F(SettingsDialogThread, CancelStoresNothing) {
  Start();
  SetDlgItemTextA(dialog, kFolderEditId, "D:\\Other");
  SendMessageA(GetDlgItem(dialog, kMouseClickId), BM_CLICK, 0, 0);
  EXPECT_STREQ(store.Current().imageFolder, "C:\\Stars");
  Press(IDCANCEL);
  ASSERT_TRUE(Ended());
  EXPECT_FALSE(session->IsOpen());
  EXPECT_EQ(owner.CountOf(PWM_SETTINGS_CHOSEN), 0);
  EXPECT_STREQ(store.Current().imageFolder, "C:\\Stars");
  EXPECT_EQ(store.Current().reactMouseClick, 1);
  EXPECT_FALSE(FileExists(iniFile));
}

// A message box of this process other than the dialog, or null.
HWND FindMessageBox(HWND dialog) {
  struct Search {
    HWND dialog;
    HWND found;
  } search{dialog, nullptr};
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (window != s->dialog && process == GetCurrentProcessId() && IsWindowVisible(window) &&
            std::strcmp(className, "#32770") == 0) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A folder the settings' ANSI code page cannot spell is refused with a
// message, by OK and by the test button alike; the dialog stays for another.
TEST_F(SettingsDialogThread, AFolderTheAnsiCodePageCannotSpellIsRefusedWithAJapaneseMessage) {
  ExpectCodePageOfThisRun();
  Start();
  SetDlgItemTextW(dialog, kFolderEditId, L"C:\\한국");
  for (int button : {kTestDisplayId, static_cast<int>(IDOK)}) {
    Press(button);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBox(dialog)) != nullptr; })) << button;
    EXPECT_EQ(ItemText(box, 0xFFFF), UiTexts.slot[TEXT_FOLDER_NOT_ANSI]);
    EXPECT_EQ(WindowText(box), L"Pipwink2");
    EXPECT_NE(std::wstring(UiTexts.slot[TEXT_FOLDER_NOT_ANSI]).find(L"文字コード"), std::wstring::npos);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return FindMessageBox(dialog) == nullptr; }));
  }
  EXPECT_TRUE(IsWindow(dialog)) << "the dialog stays open";
  EXPECT_EQ(session->Display().Stars().Count(), 0);
  EXPECT_STREQ(store.Current().imageFolder, "C:\\Stars");
  EXPECT_FALSE(FileExists(iniFile));
  EXPECT_EQ(owner.CountOf(PWM_SETTINGS_CHOSEN), 0);
}

TEST_F(SettingsDialogThread, TestButtonReadsDashesWhileWorkingThenShowsThePicturesSideBySide) {
  TempFolder pictures("dialog_test_display");
  ASSERT_TRUE(WriteTestPng(pictures.File("a.png"), 20, 20));
  ASSERT_TRUE(WriteTestPng(pictures.File("b.png"), 28, 28));
  ASSERT_TRUE(WriteTestPng(pictures.File("c.png"), 36, 36));
  // A broken file makes the display tell the user while it is still at work.
  ASSERT_TRUE(WriteTextFile(pictures.File("broken.png"), "not a picture"));
  Start();
  HWND button = GetDlgItem(dialog, kTestDisplayId);
  const std::wstring caption = ItemText(dialog, kTestDisplayId);
  ASSERT_FALSE(caption.empty());
  SetDlgItemTextA(dialog, kFolderEditId, pictures.path().c_str());
  Press(kTestDisplayId);

  HWND box = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (box = FindMessageBox(dialog)) != nullptr; }));
  EXPECT_EQ(ItemText(dialog, kTestDisplayId), L"---");
  EXPECT_EQ(caption, L"テスト表示");
  EXPECT_EQ(ItemText(box, 0xFFFF), std::wstring(UiTexts.slot[TEXT_SOME_UNREADABLE]) + L"\n\nbroken.png");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(PumpUntil([&] { return ItemText(dialog, kTestDisplayId) == caption; }));

  const ImageList<PupilWindow>& stars = session->Display().Stars();
  ASSERT_EQ(stars.Count(), 3);
  std::vector<HWND> windows;
  RECT dialogRect{};
  GetWindowRect(dialog, &dialogRect);
  int nextLeft = -1;
  for (int k = 0; k < 3; ++k) {
    HWND window = stars.Get(k)->Handle();
    windows.push_back(window);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(rect.top, dialogRect.bottom + 4) << "just below the dialog";
    if (nextLeft >= 0) {
      EXPECT_EQ(rect.left, nextLeft);
    }
    nextLeft = rect.right + 4;
  }
  EXPECT_TRUE(IsWindow(button));

  Press(IDCANCEL);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(session->Display().Stars().Count(), 0);
  EXPECT_EQ(session->Display().Pictures().Count(), 0);
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window)) << "test pictures go with the dialog";
}

}  // namespace
