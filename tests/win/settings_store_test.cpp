#include "app/settings_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/ini_place.h"
#include "app/mm_file.h"
#include "base/app_state.h"
#include "base/ui_language_rules.h"
#include "base/ui_texts.h"
#include "code_page.h"
#include "cells/shared_cells.h"
#include "message_box_watcher.h"
#include "react_cells.h"
#include "test_window.h"

namespace {

constexpr char kJapaneseFolder[] = "D:\\\x95\x5C\x8E\xA6";

// Each case gets a folder of its own in the temporary directory and a store
// whose INI path points into it, mirroring into cells of its own.
class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    folder_ = std::string(temp) + "tovik2_settings_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(GetTickCount64());
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    file_ = folder_ + "\\tovik2.ini";
    ASSERT_TRUE(cells_.SetUpMMFile(window_.handle()));
    store_.UseIniPath(file_.c_str());
  }

  void TearDown() override {
    DeleteFileA(file_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  void WriteIni(const std::string& text) {
    HANDLE file = CreateFileA(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  }

  std::string ReadIni() {
    std::string text;
    HANDLE file = CreateFileA(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[1024];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
  }

  std::vector<std::string> FileLines() {
    std::vector<std::string> lines;
    std::string text = ReadIni();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) lines.push_back(line);
      start = end + 1;
    }
    return lines;
  }

  void SetReactCells(int32_t value) {
    SharedCells cells;
    for (CellKey key : {CELL_REACTMOUSECLICK, CELL_REACTMOUSEMOVE, CELL_REACTKEY, CELL_REACTENTERKEY}) {
      cells.WriteCellInt(value, cellNames[key]);
    }
  }

  TestWindow window_;
  ProgramCells cells_;
  ::SettingsStore store_{&cells_};
  std::string folder_;
  std::string file_;
};

TEST_F(SettingsStore, AMissingFileIsCreatedWithTheDefaultKeysInOrder) {
  SetReactCells(0);
  store_.GetIniInfo();

  const std::vector<std::string> expected = {
      "[PIPWINK]",   "IMAGEFOLDER=",      "QUANTITY=2",          "MOVERANGE=70", "MOUSECLICK=1", "MOUSEMOVE=1",
      "KEYENTRY=1",  "ENTERKEY=1",        "FULLSCREENPAUSE=1",   "HOTKEY=Ctrl+Alt+Shift+F8", "EXCLUDE=",
      "LANGUAGE=ja", "WEBCARET=0"};
  EXPECT_EQ(FileLines(), expected);
  EXPECT_EQ(store_.Current().quantity, 2);
  EXPECT_EQ(store_.Current().moveRange, 70);
  EXPECT_STREQ(store_.Current().imageFolder, "");
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{1, 1, 1, 1}));
}

TEST_F(SettingsStore, AnExistingFileLoadsWithItsLimitsAndTheCellsFollow) {
  WriteIni(
      "[PIPWINK]\r\nIMAGEFOLDER=C:\\Pictures\\Stars\r\nQUANTITY=-3\r\nMOVERANGE=12\r\n"
      "MOUSECLICK=0\r\nMOUSEMOVE=1\r\nKEYENTRY=0\r\nENTERKEY=3\r\n");
  SetReactCells(-1);
  store_.GetIniInfo();
  EXPECT_STREQ(store_.Current().imageFolder, "C:\\Pictures\\Stars");
  EXPECT_EQ(store_.Current().quantity, 2) << "a negative count takes the default";
  EXPECT_EQ(store_.Current().moveRange, 70);
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{0, 1, 0, 3}));

  WriteIni("[PIPWINK]\r\nQUANTITY=123456\r\nMOVERANGE=71\r\nMOUSECLICK=yes\r\n");
  store_.GetIniInfo();
  EXPECT_EQ(store_.Current().quantity, 99) << "the count a click makes";
  EXPECT_EQ(store_.Current().reactMouseClick, 1) << "a switch that is no number takes the default";
  EXPECT_EQ(store_.Current().moveRange, 71);

  WriteIni("[PIPWINK]\r\nMOVERANGE=99999\r\n");
  store_.GetIniInfo();
  EXPECT_EQ(store_.Current().moveRange, 32767);
}

// A file that lacks keys (empty, another section, garbage, or some keys
// only) gives the missing ones their defaults, keeps those present, and is
// not rewritten.
TEST_F(SettingsStore, MissingKeysTakeTheirDefaultsAndTheFileIsNotRewritten) {
  for (const std::string& text : {std::string(""), std::string("[PIPWINK]\r\n"),
                                 std::string("[OTHER]\r\nQUANTITY=7\r\n"),
                                 std::string("\x89PNG\r\n\x1a\n garbage = = [\r\n")}) {
    WriteIni(text);
    SetReactCells(0);
    ASSERT_EQ(store_.GetIniInfo(), 1);
    EXPECT_EQ(store_.Current().quantity, 2) << text;
    EXPECT_EQ(store_.Current().moveRange, 70);
    EXPECT_EQ(store_.Current().reactMouseClick, 1);
    EXPECT_STREQ(store_.Current().imageFolder, "");
    EXPECT_EQ(ReactCells(), (std::vector<int32_t>{1, 1, 1, 1})) << text;
    EXPECT_EQ(ReadIni(), text);
  }

  const std::string some = "[PIPWINK]\r\nQUANTITY=5\r\nMOUSECLICK=0\r\nKEYENTRY=\r\n";
  WriteIni(some);
  store_.GetIniInfo();
  EXPECT_EQ(store_.Current().quantity, 5);
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{0, 1, 0, 1})) << "click and key as stored, the others default";
  EXPECT_EQ(ReadIni(), some);
}

// The keys after a line of thousands of characters read as written, and a
// file in UTF-16 reads as its text.
TEST_F(SettingsStore, EveryKeyReadsWhateverItsNeighboursLength) {
  const std::string text = "[PIPWINK]\r\nIMAGEFOLDER=\r\nNOTE=" + std::string(3000, 'n') + "\r\n" +
                           std::string(5000, 'k') + "\r\nQUANTITY=7\r\nMOUSEMOVE=0\r\nLANGUAGE=en\r\n";
  WriteIni(text);
  ASSERT_EQ(store_.GetIniInfo(), 1);
  EXPECT_EQ(store_.Current().quantity, 7);
  EXPECT_EQ(store_.Current().reactMouseMove, 0);
  EXPECT_EQ(store_.Current().language, LANGUAGE_ENGLISH);
  char hotkey[64];
  store_.GetPps("LANGUAGE", hotkey, sizeof hotkey);
  EXPECT_STREQ(hotkey, "en");

  const wchar_t wide[] = L"\xFEFF[PIPWINK]\r\nQUANTITY=4\r\nMOUSECLICK=0\r\n";
  WriteIni(std::string(reinterpret_cast<const char*>(wide), sizeof wide - sizeof(wchar_t)));
  ASSERT_EQ(store_.GetIniInfo(), 1);
  EXPECT_EQ(store_.Current().quantity, 4);
  EXPECT_EQ(store_.Current().reactMouseClick, 0);
}

// A file that cannot be written (its folder is gone) is reported once, not
// at every save; a save that succeeds makes the next failure news again.
TEST_F(SettingsStore, SettingsThatCannotBeSavedAreReportedOnce) {
  appInstance = GetModuleHandleA(nullptr);
  LoadUiTexts();
  const std::wstring good = store_.IniPath();
  const std::string gone = folder_ + "\\gone\\tovik2.ini";
  store_.UseIniPath(gone.c_str());
  MessageBoxWatcher boxes;
  EXPECT_EQ(store_.GetIniInfo(), 0);
  EXPECT_EQ(store_.Current().quantity, 2) << "the defaults hold in memory";
  store_.TellUnsavedSettings(window_.handle());
  EXPECT_EQ(store_.SaveIniInfo(store_.Current()), 0);
  store_.TellUnsavedSettings(window_.handle());
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], std::wstring(UiTexts.slot[TEXT_SETTINGS_UNSAVED]) + L"\n\n" +
                                  std::wstring(gone.begin(), gone.end()))
      << "the message names the file";

  store_.UseIniPath(good.c_str());
  EXPECT_EQ(store_.SaveIniInfo(store_.Current()), 1);
  store_.TellUnsavedSettings(window_.handle());
  EXPECT_EQ(boxes.Texts().size(), 1u) << "nothing to tell after a good save";
  store_.UseIniPath(gone.c_str());
  EXPECT_EQ(store_.SaveIniInfo(store_.Current()), 0);
  store_.TellUnsavedSettings(window_.handle());
  EXPECT_EQ(boxes.Texts().size(), 2u);
}

TEST_F(SettingsStore, ASavedChangeReachesTheCellsAndTheNextLoad) {
  store_.GetIniInfo();
  // "表示" in the ANSI code page: its first character's second byte is a backslash.
  SettingsRecord changed = store_.Current();
  std::strcpy(changed.imageFolder, kJapaneseFolder);
  changed.quantity = 9;
  changed.reactMouseClick = 0;
  changed.reactMouseMove = 1;
  changed.reactKey = 1;
  changed.reactEnterKey = 0;
  store_.SaveIniInfo(changed);
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{0, 1, 1, 0}));

  // A store of its own, as the next start has.
  ::SettingsStore next(&cells_);
  next.UseIniPath(file_.c_str());
  next.GetIniInfo();
  EXPECT_STREQ(next.Current().imageFolder, kJapaneseFolder);
  EXPECT_EQ(next.Current().quantity, 9);
  EXPECT_EQ(next.Current().moveRange, 70);
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{0, 1, 1, 0}));
  // Saving replaces the keys; it never adds a second copy of one.
  EXPECT_EQ(FileLines().size(), 13u);
}

TEST_F(SettingsStore, WithoutAWholePathTheDefaultsStayInMemoryAndNothingIsWritten) {
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
  store_.UseIniPath("");  // what GetIniFileName leaves when the path does not fit
  SetReactCells(0);

  store_.GetIniInfo();
  SettingsRecord changed = store_.Current();
  changed.quantity = 5;
  store_.SaveIniInfo(changed);
  SetCurrentDirectoryA(previous);

  EXPECT_EQ(store_.Current().moveRange, 70);
  EXPECT_EQ(store_.Current().reactKey, 1);
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{1, 1, 1, 1}));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder_ + "\\*.ini").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// The settings file is found and used by its wide path: a folder whose name
// the ANSI code page cannot spell (ソ under a Western one, 한 under either)
// holds the file, which is written, read back, and keeps its contents in the
// code page.
TEST_F(SettingsStore, AFolderTheCodePageCannotSpellHoldsTheFileByItsWidePath) {
  ExpectCodePageOfThisRun();
  const std::wstring wideFolder = std::wstring(folder_.begin(), folder_.end()) + L"\\ソフト한";
  ASSERT_TRUE(CreateDirectoryW(wideFolder.c_str(), nullptr));
  const std::wstring wideFile = wideFolder + L"\\tovik2.ini";
  store_.UseIniPath(wideFile.c_str());
  EXPECT_EQ(store_.GetIniInfo(), 1);
  SettingsRecord changed = store_.Current();
  changed.quantity = 7;
  std::strcpy(changed.imageFolder, "C:\\Stars");
  EXPECT_EQ(store_.SaveChangedIniInfo(changed), 1);

  ::SettingsStore next(&cells_);
  next.UseIniPath(wideFile.c_str());
  next.GetIniInfo();
  EXPECT_EQ(next.Current().quantity, 7);
  EXPECT_STREQ(next.Current().imageFolder, "C:\\Stars");
  EXPECT_TRUE(DeleteFileW(wideFile.c_str())) << "the file is where its wide path says";
  EXPECT_TRUE(RemoveDirectoryW(wideFolder.c_str()));
}

TEST_F(SettingsStore, TheContentsStayInTheCodePageOfTheFile) {
  ASSERT_EQ(GetACP(), 932u) << "the bytes below are code page 932";
  WriteIni("[PIPWINK]\r\nIMAGEFOLDER=" + std::string(kJapaneseFolder) + "\r\nQUANTITY=3\r\n");
  store_.GetIniInfo();
  EXPECT_STREQ(store_.Current().imageFolder, kJapaneseFolder);
  SettingsRecord changed = store_.Current();
  changed.quantity = 4;
  std::strcpy(changed.imageFolder, "D:\\\x83\x5C\x83\x74\x83\x67");  // ソフト
  store_.SaveChangedIniInfo(changed);
  EXPECT_EQ(ReadIni(), "[PIPWINK]\r\nIMAGEFOLDER=D:\\\x83\x5C\x83\x74\x83\x67\r\nQUANTITY=4\r\n")
      << "no byte order mark, no UTF-16: the file stays as the code page spells it";
}

// Where the settings file goes, with real folders: a program folder and a
// stand-in for the user's application data, both of the case's own.
class LocateIniFileTest : public SettingsStore {
 protected:
  std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
  std::wstring Program() { return Wide(folder_) + L"\\"; }
  std::wstring AppData() { return Wide(folder_) + L"\\roaming"; }
  std::wstring AppDataFile() { return AppData() + L"\\Tovik2\\tovik2.ini"; }
  bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  IniLocation Locate(const std::wstring& program) {
    IniLocation location{};
    LocateIniFile(program.c_str(), AppData().c_str(), &location);
    return location;
  }
  // Another program holds the file beside the program open for reading and
  // lets nobody write it: Wine ignores the read-only attribute for root and
  // file modes alike, but honours a share mode.
  void LockBesideFile() {
    lock_ = CreateFileA(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock_, INVALID_HANDLE_VALUE);
  }
  HANDLE lock_ = INVALID_HANDLE_VALUE;
  void TearDown() override {
    if (lock_ != INVALID_HANDLE_VALUE) CloseHandle(lock_);
    DeleteFileW(AppDataFile().c_str());
    RemoveDirectoryW((AppData() + L"\\Tovik2").c_str());
    RemoveDirectoryW(AppData().c_str());
    SettingsStore::TearDown();
  }
};

TEST_F(LocateIniFileTest, AWritableProgramFolderKeepsTheFileBesideAndLeavesNothingBehind) {
  ASSERT_TRUE(CreateDirectoryW(AppData().c_str(), nullptr));
  IniLocation location = Locate(Program());
  EXPECT_EQ(std::wstring(location.path), Wide(file_));
  EXPECT_TRUE(location.writable);
  EXPECT_FALSE(Exists(Wide(file_))) << "the test of the folder leaves no file: the first load writes the defaults";
  EXPECT_FALSE(Exists(AppData() + L"\\Tovik2")) << "the application data folder is not touched";

  WriteIni("[PIPWINK]\r\nQUANTITY=6\r\n");
  location = Locate(Program());
  EXPECT_EQ(std::wstring(location.path), Wide(file_));
  EXPECT_EQ(ReadIni(), "[PIPWINK]\r\nQUANTITY=6\r\n") << "the test of the file changes nothing in it";
}

TEST_F(LocateIniFileTest, AProgramFolderThatCannotBeWrittenMovesTheSettingsToAppData) {
  ASSERT_TRUE(CreateDirectoryW(AppData().c_str(), nullptr));
  IniLocation location = Locate(Program() + L"gone\\");  // nothing can be made there
  EXPECT_EQ(std::wstring(location.path), AppDataFile());
  EXPECT_TRUE(location.writable);
  EXPECT_FALSE(Exists(AppDataFile())) << "no copy to start from: the first load writes the defaults";

  // The store saves there, and the next start finds it again.
  store_.UseIniPath(location.path);
  EXPECT_EQ(store_.GetIniInfo(), 1);
  EXPECT_TRUE(Exists(AppDataFile()));
  EXPECT_EQ(std::wstring(Locate(Program() + L"gone\\").path), AppDataFile());
}

// A settings file beside the program that cannot be written is where the
// user starts from: it is copied to the application data once,
// and the copy, saved since, is never overwritten by it.
TEST_F(LocateIniFileTest, AnUnwritableFileBesideTheProgramSeedsTheAppDataCopyOnce) {
  ASSERT_TRUE(CreateDirectoryW(AppData().c_str(), nullptr));
  WriteIni("[PIPWINK]\r\nQUANTITY=6\r\n");
  LockBesideFile();
  IniLocation location = Locate(Program());
  ASSERT_EQ(std::wstring(location.path), AppDataFile());
  EXPECT_TRUE(location.writable);
  store_.UseIniPath(location.path);
  store_.GetIniInfo();
  EXPECT_EQ(store_.Current().quantity, 6) << "the copy beside the program came along";
  SettingsRecord changed = store_.Current();
  changed.quantity = 8;
  EXPECT_EQ(store_.SaveChangedIniInfo(changed), 1);

  ::SettingsStore next(&cells_);
  next.UseIniPath(Locate(Program()).path);
  next.GetIniInfo();
  EXPECT_EQ(next.Current().quantity, 8) << "the saved copy stays; the one beside does not come again";
  EXPECT_EQ(ReadIni(), "[PIPWINK]\r\nQUANTITY=6\r\n") << "the file beside the program is left alone";
}

// Neither place can be written: the file beside the program is read, saves
// fail, and the program says so naming the file, once, at its start.
TEST_F(LocateIniFileTest, NowhereWritableReadsTheFileBesideAndTellsTheUserWhichFile) {
  WriteIni("[PIPWINK]\r\nQUANTITY=6\r\n");
  LockBesideFile();
  IniLocation location{};
  LocateIniFile(Program().c_str(), nullptr, &location);  // no application data folder
  EXPECT_EQ(std::wstring(location.path), Wide(file_));
  EXPECT_FALSE(location.writable);

  appInstance = GetModuleHandleA(nullptr);
  LoadUiTexts();
  MessageBoxWatcher boxes;
  store_.UseIniPath(location.path);
  store_.NoteUnwritable();
  EXPECT_EQ(store_.GetIniInfo(), 1);
  EXPECT_EQ(store_.Current().quantity, 6);
  store_.TellUnsavedSettings(window_.handle());
  SettingsRecord changed = store_.Current();
  changed.quantity = 3;
  EXPECT_EQ(store_.SaveChangedIniInfo(changed), 0);
  EXPECT_EQ(store_.Current().quantity, 3) << "the program goes on with the settings in memory";
  store_.TellUnsavedSettings(window_.handle());
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_NE(boxes.Texts()[0].find(Wide(file_)), std::wstring::npos) << "the message names the file";
}

TEST(ProgramFolderW, NamesTheProgramsFolderWithItsBackslash) {
  wchar_t program[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::wstring expected(program, length);
  expected = expected.substr(0, expected.find_last_of(L'\\') + 1);

  wchar_t folder[kIniPathSize];
  ASSERT_EQ(ProgramFolderW(folder, kIniPathSize), 1);
  EXPECT_EQ(std::wstring(folder), expected);
  wchar_t tiny[4];
  EXPECT_EQ(ProgramFolderW(tiny, 4), 0) << "a cut path is no folder";
  EXPECT_STREQ(tiny, L"");
}

}  // namespace
