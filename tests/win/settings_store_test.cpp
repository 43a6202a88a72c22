#include "app/settings_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/mm_file.h"
#include "base/app_state.h"
#include "base/ui_texts.h"
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
      "KEYENTRY=1",  "ENTERKEY=1",        "FULLSCREENPAUSE=1",   "HOTKEY=Ctrl+Alt+F12", "EXCLUDE="};
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
  EXPECT_EQ(store_.Current().quantity, 0);
  EXPECT_EQ(store_.Current().moveRange, 70);
  EXPECT_EQ(ReactCells(), (std::vector<int32_t>{0, 1, 0, 3}));

  WriteIni("[PIPWINK]\r\nQUANTITY=123456\r\nMOVERANGE=71\r\n");
  store_.GetIniInfo();
  EXPECT_EQ(store_.Current().quantity, 12345);
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

// A file that cannot be written (its folder is gone) is reported once, not
// at every save; a save that succeeds makes the next failure news again.
TEST_F(SettingsStore, SettingsThatCannotBeSavedAreReportedOnce) {
  appInstance = GetModuleHandleA(nullptr);
  LoadUiTexts();
  const std::string good = store_.IniPath();
  const std::string gone = folder_ + "\\gone\\tovik2.ini";
  store_.UseIniPath(gone.c_str());
  MessageBoxWatcher boxes;
  EXPECT_EQ(store_.GetIniInfo(), 0);
  EXPECT_EQ(store_.Current().quantity, 2) << "the defaults hold in memory";
  store_.TellUnsavedSettings(window_.handle());
  EXPECT_EQ(store_.SaveIniInfo(store_.Current()), 0);
  store_.TellUnsavedSettings(window_.handle());
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_EQ(boxes.Texts()[0], UiTexts.slot[TEXT_SETTINGS_UNSAVED]);

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
  EXPECT_EQ(FileLines().size(), 11u);
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

TEST(GetIniFileName, NamesTheFileBesideTheProgram) {
  char program[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
  ASSERT_GT(length, 0u);
  std::string expected(program, length);
  expected = expected.substr(0, expected.find_last_of('\\') + 1) + "tovik2.ini";

  char path[kTextSize];
  ASSERT_EQ(GetIniFileName(path), 1);
  EXPECT_EQ(std::string(path), expected);
}

}  // namespace
