#include "app/hook_library.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/mm_file.h"
#include "base/app_state.h"
#include "cells/shared_cells.h"
#include "test_window.h"

namespace {

int32_t Cell(CellKey key) {
  SharedCells cells;
  int32_t value = 0;
  cells.ReadCellInt(&value, cellNames[key]);
  return value;
}

// The program's side as the library expects it: the cells exist and name a
// main window. Whatever a test loaded is freed again.
class HookLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(mainHost.handle(), nullptr);
    mainWindow = mainHost.handle();
    SetUpMMFile();
  }
  void TearDown() override {
    FreeHookLibrary();
    mainWindow = nullptr;
  }
  TestWindow mainHost;
};

TEST_F(HookLibrary, StartHookRecordsBothHandlesAndEndHookRemovesThem) {
  ASSERT_EQ(LoadHookLibrary(), 1);
  ASSERT_NE(hookLibrary, nullptr);
  HHOOK mouse = CellToHandle<HHOOK>(Cell(CELL_HHOOKMOUSE));
  HHOOK key = CellToHandle<HHOOK>(Cell(CELL_HHOOKKEY));
  EXPECT_NE(mouse, nullptr);
  EXPECT_NE(key, nullptr);
  EXPECT_NE(mouse, key);

  auto endHook = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(hookLibrary, "EndHook")));
  ASSERT_NE(endHook, nullptr);
  EXPECT_EQ(endHook(), 1);
  // Gone: a second removal of either hook fails.
  EXPECT_FALSE(UnhookWindowsHookEx(mouse));
  EXPECT_FALSE(UnhookWindowsHookEx(key));
  EXPECT_EQ(endHook(), 0);
}

TEST_F(HookLibrary, LoadingTwiceLoadsAndInstallsOnce) {
  ASSERT_EQ(LoadHookLibrary(), 1);
  HMODULE first = hookLibrary;
  int32_t mouse = Cell(CELL_HHOOKMOUSE);
  EXPECT_EQ(LoadHookLibrary(), 0);
  EXPECT_EQ(hookLibrary, first);
  EXPECT_EQ(Cell(CELL_HHOOKMOUSE), mouse) << "StartHook ran a second time";
  // One load, one reference: a single free unmaps the library.
  FreeHookLibrary();
  EXPECT_EQ(GetModuleHandleA("nivlet2.dll"), nullptr);
}

TEST_F(HookLibrary, FreeingRemovesTheHooksAndASecondFreeIsHarmless) {
  ASSERT_EQ(LoadHookLibrary(), 1);
  HHOOK mouse = CellToHandle<HHOOK>(Cell(CELL_HHOOKMOUSE));
  FreeHookLibrary();
  EXPECT_EQ(hookLibrary, nullptr);
  EXPECT_EQ(GetModuleHandleA("nivlet2.dll"), nullptr);
  EXPECT_FALSE(UnhookWindowsHookEx(mouse)) << "the hook outlived its library";
  FreeHookLibrary();
  EXPECT_EQ(hookLibrary, nullptr);
  // Not loaded again means it can be loaded again.
  EXPECT_EQ(LoadHookLibrary(), 1);
  EXPECT_NE(hookLibrary, nullptr);
}

TEST_F(HookLibrary, AMissingLibraryOrOneWithoutTheEntriesIsNotKept) {
  EXPECT_EQ(LoadHookLibraryFile("no_such_library.dll"), 0);
  EXPECT_EQ(hookLibrary, nullptr);
  // A module beside the program that exports neither entry.
  EXPECT_EQ(LoadHookLibraryFile("cell_peer.exe"), 0);
  EXPECT_EQ(hookLibrary, nullptr);
  EXPECT_EQ(GetModuleHandleA("cell_peer.exe"), nullptr);
  FreeHookLibrary();
  EXPECT_EQ(Cell(CELL_HHOOKMOUSE), 0);
}

}  // namespace
