#include "cells/shared_cells.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/mm_file.h"
#include "base/settings.h"
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

}  // namespace
