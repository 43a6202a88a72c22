#include "cells/shared_cells.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>

#include <string>

#include "app/mm_file.h"
#include "base/settings.h"
#include "cells/cell_security.h"
#include "test_window.h"

namespace {

// A cell name of this test process alone, so runs never see each other's cells.
std::string PrivateCellName(const char* what) {
  return "tovik2_test_" + std::to_string(GetCurrentProcessId()) + "_" + what;
}

TEST(SharedCells, ValueCrossesToAnotherProcessAndBack) {
  SharedCells cells;
  std::string name = PrivateCellName("cross");
  ASSERT_EQ(cells.CreateCell(name.c_str(), 4), 1);
  ASSERT_EQ(cells.WriteCellInt(-123456789, name.c_str()), 1);

  EXPECT_EQ(RunBesideTests("cell_peer.exe", "read " + name + " -123456789"), 0);

  EXPECT_EQ(RunBesideTests("cell_peer.exe", "write " + name + " 0x7EADBEEF"), 0);
  int32_t back = 0;
  ASSERT_EQ(cells.ReadCellInt(&back, name.c_str()), 1);
  EXPECT_EQ(back, 0x7EADBEEF);
}

// This process's user, as a SID.
struct UserSid {
  alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
  PSID Get() { return reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid; }
  bool Take() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    DWORD length = 0;
    const bool taken = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &length) != 0;
    CloseHandle(token);
    return taken;
  }
};

// The program's cells, made as an elevated copy makes them too: the user's
// own processes read and write them (another process here), nobody else is
// granted anything, and processes below medium integrity cannot write.
TEST(SharedCells, TheProgramsCellsAreTheUsersToReadAndWriteAndNoOneElses) {
  wchar_t sid[128];
  ASSERT_TRUE(CurrentUserSid(sid, 128));
  wchar_t sddl[256];
  ASSERT_TRUE(CurrentCellSddl(sddl, 256));
  EXPECT_EQ(std::wstring(sddl), L"D:P(A;;GRGW;;;" + std::wstring(sid) + L")S:(ML;;NW;;;ME)");
  UserSid user;
  ASSERT_TRUE(user.Take());

  TestWindow window;
  ProgramCells program;
  ASSERT_TRUE(program.SetUpMMFile(window.handle()));
  for (const char* name : {cellNames[CELL_MAINHWND], cellNames[CELL_KEYPENDING], kExcludeWideCellName}) {
    HANDLE mapping = OpenFileMappingA(READ_CONTROL, FALSE, name);
    ASSERT_NE(mapping, nullptr) << name;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(mapping, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS)) << name;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    EXPECT_NE(control & SE_DACL_PROTECTED, 0) << name << ": inherits";
    // One entry: read and write for this user, nothing for anyone else.
    ASSERT_NE(dacl, nullptr) << name << ": no list means everyone";
    ASSERT_EQ(dacl->AceCount, 1) << name;
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, reinterpret_cast<void**>(&ace)));
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE) << name;
    EXPECT_EQ(ace->Mask, static_cast<ACCESS_MASK>(GENERIC_READ | GENERIC_WRITE)) << name;
    EXPECT_TRUE(EqualSid(reinterpret_cast<PSID>(&ace->SidStart), user.Get())) << name;
    LocalFree(descriptor);
    CloseHandle(mapping);
  }
  const std::string mainCell = cellNames[CELL_MAINHWND];
  EXPECT_EQ(RunBesideTests("cell_peer.exe", "read " + mainCell + " " + std::to_string(HandleToCell(window.handle()))), 0);
  EXPECT_EQ(RunBesideTests("cell_peer.exe", "write " + std::string(cellNames[CELL_MOUSEX]) + " 4321"), 0);
  int32_t back = 0;
  SharedCells cells;
  ASSERT_EQ(cells.ReadCellInt(&back, cellNames[CELL_MOUSEX]), 1);
  EXPECT_EQ(back, 4321);
}

TEST(SharedCells, MissingCellFailsAndLeavesTheDestinationAlone) {
  SharedCells cells;
  std::string name = PrivateCellName("missing");
  int32_t destination = 4242;
  EXPECT_EQ(cells.ReadCellInt(&destination, name.c_str()), 0);
  EXPECT_EQ(destination, 4242);
  EXPECT_EQ(cells.WriteCellInt(1, name.c_str()), 0);
  // The hook library only opens cells: a write must not have created one.
  EXPECT_EQ(cells.ReadCellInt(&destination, name.c_str()), 0);
  EXPECT_EQ(RunBesideTests("cell_peer.exe", "read " + name + " 0"), 3);
}

TEST(SharedCells, CreatingAnExistingCellReusesItsContents) {
  SharedCells cells;
  std::string name = PrivateCellName("again");
  ASSERT_EQ(cells.CreateCell(name.c_str(), 4), 1);
  ASSERT_EQ(cells.WriteCellInt(77, name.c_str()), 1);
  EXPECT_EQ(cells.CreateCell(name.c_str(), 4), 1);
  int32_t value = 0;
  ASSERT_EQ(cells.ReadCellInt(&value, name.c_str()), 1);
  EXPECT_EQ(value, 77);
}

TEST(SharedCells, BytesRoundTripAtTheStartOfTheCell) {
  SharedCells cells;
  std::string name = PrivateCellName("bytes");
  ASSERT_EQ(cells.CreateCell(name.c_str(), 4), 1);
  const unsigned char written[4] = {0x01, 0x80, 0xFE, 0x7F};
  ASSERT_EQ(cells.WriteCellBytes(written, name.c_str(), 4), 1);
  int32_t asInt = 0;
  ASSERT_EQ(cells.ReadCellInt(&asInt, name.c_str()), 1);
  EXPECT_EQ(static_cast<uint32_t>(asInt), 0x7FFE8001u);  // little-endian
}

TEST(SetUpMMFile, MainWindowInItsCellAndZeroInTheOtherTwelve) {
  SharedCells cells;
  // A cell left over with a value (as from an earlier run) is reused and overwritten.
  ASSERT_EQ(cells.CreateCell(cellNames[CELL_MOUSEDOWN], 4), 1);
  ASSERT_EQ(cells.WriteCellInt(1, cellNames[CELL_MOUSEDOWN]), 1);

  TestWindow window;
  ASSERT_NE(window.handle(), nullptr);
  ProgramCells program;
  ASSERT_TRUE(program.SetUpMMFile(window.handle()));

  for (int key = 0; key < CELL_COUNT; ++key) {
    int32_t value = -1;
    ASSERT_EQ(cells.ReadCellInt(&value, cellNames[key]), 1) << cellNames[key];
    int32_t expected = key == CELL_MAINHWND ? HandleToCell(window.handle()) : 0;
    EXPECT_EQ(value, expected) << cellNames[key];
  }
  EXPECT_EQ(CellToHandle<HWND>(HandleToCell(window.handle())), window.handle());
}

// A run that ended between the two steps of a list write left the serial
// odd ("being written") for good: the next run makes it even again, and
// never smaller, so no process keeps a decision made on an older list.
TEST(SetUpMMFile, AnOddListSerialLeftBehindIsRoundedUpToEven) {
  SharedCells cells;
  ASSERT_EQ(cells.CreateCell(cellNames[CELL_EXCLUDESERIAL], 4), 1);
  TestWindow window;
  for (int32_t left : {41, 40, -1}) {
    ASSERT_EQ(cells.WriteCellInt(left, cellNames[CELL_EXCLUDESERIAL]), 1);
    ProgramCells program;
    ASSERT_TRUE(program.SetUpMMFile(window.handle()));
    int32_t serial = 0;
    ASSERT_EQ(cells.ReadCellInt(&serial, cellNames[CELL_EXCLUDESERIAL]), 1);
    EXPECT_EQ(serial, (left & 1) != 0 ? left + 1 : left) << "left behind: " << left;
    EXPECT_EQ(serial & 1, 0);
  }
  ASSERT_EQ(cells.WriteCellInt(0, cellNames[CELL_EXCLUDESERIAL]), 1);
}

TEST(UpdateMMFile, MirrorsTheFourReactionSwitches) {
  SharedCells cells;
  TestWindow window;
  ProgramCells program;
  ASSERT_TRUE(program.SetUpMMFile(window.handle()));

  SettingsRecord settings{};
  settings.reactMouseClick = 1;
  settings.reactMouseMove = 0;
  settings.reactKey = 1;
  settings.reactEnterKey = 0;
  program.UpdateMMFile(settings);

  const struct { CellKey key; int32_t expected; } rows[] = {
      {CELL_REACTMOUSECLICK, 1}, {CELL_REACTMOUSEMOVE, 0}, {CELL_REACTKEY, 1}, {CELL_REACTENTERKEY, 0}};
  for (const auto& row : rows) {
    int32_t value = -1;
    ASSERT_EQ(cells.ReadCellInt(&value, cellNames[row.key]), 1);
    EXPECT_EQ(value, row.expected) << cellNames[row.key];
  }
  // Other cells are not the settings' business.
  int32_t mainCell = 0;
  cells.ReadCellInt(&mainCell, cellNames[CELL_MAINHWND]);
  EXPECT_EQ(mainCell, HandleToCell(window.handle()));
}

// The list reaches the hook library in UTF-16, tidied entry by entry from
// the setting's text in the system's code page; the first entry that can be
// no program name is kept to be told, once.
TEST(UpdateMMFile, DropsWhatCanBeNoProgramNameAloneAndKeepsTheFirstToTellOnce) {
  TestWindow window;
  ProgramCells program;
  ASSERT_TRUE(program.SetUpMMFile(window.handle()));
  SettingsRecord settings{};
  const std::wstring text = L" \u8868\u30BD\u30D5\u30C8.exe ;dir\\x.exe;*;\u80FD.exe";
  ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, settings.exclude, sizeof settings.exclude, nullptr,
                                nullptr), 0);
  program.UpdateMMFile(settings);
  wchar_t list[kExcludeCellSize] = {};
  ASSERT_EQ(SharedCells().ReadCellBytes(list, kExcludeWideCellName, sizeof list), 1);
  EXPECT_STREQ(list, L"\u8868\u30BD\u30D5\u30C8.exe;\u80FD.exe");
  wchar_t dropped[ProgramCells::kDroppedEntrySize] = {};
  ASSERT_TRUE(program.TakeDroppedExcludeEntry(dropped, ProgramCells::kDroppedEntrySize));
  EXPECT_STREQ(dropped, L"dir\\x.exe");
  EXPECT_FALSE(program.TakeDroppedExcludeEntry(dropped, ProgramCells::kDroppedEntrySize)) << "told twice";
  // The same settings mirrored again (a change from the dialog) keep nothing new to tell... 
  program.UpdateMMFile(SettingsRecord{});
  EXPECT_FALSE(program.TakeDroppedExcludeEntry(dropped, ProgramCells::kDroppedEntrySize));
  // ... and the ANSI cell an earlier library reads holds the same list.
  char ansi[kExcludeCellSize] = {};
  program.UpdateMMFile(settings);
  ASSERT_EQ(SharedCells().ReadCellBytes(ansi, kExcludeCellName, sizeof ansi), 1);
  wchar_t back[kExcludeCellSize] = {};
  MultiByteToWideChar(CP_ACP, 0, ansi, -1, back, kExcludeCellSize);
  EXPECT_STREQ(back, L"\u8868\u30BD\u30D5\u30C8.exe;\u80FD.exe");
  program.UpdateMMFile(SettingsRecord{});
}

}  // namespace
