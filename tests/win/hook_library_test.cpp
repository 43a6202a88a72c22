#include "app/hook_library.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>

#include "app/library_trust.h"
#include "app/mm_file.h"
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
// main window. Whatever a test loaded is freed again with the hold.
class HookLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(mainHost.handle(), nullptr);
    ASSERT_TRUE(cells.SetUpMMFile(mainHost.handle()));
  }
  TestWindow mainHost;
  ProgramCells cells;
  ::HookLibrary hooks;
};

TEST_F(HookLibrary, StartHookRecordsBothHandlesAndEndHookRemovesThem) {
  ASSERT_EQ(hooks.LoadHookLibrary(), 1);
  ASSERT_NE(hooks.Module(), nullptr);
  HHOOK mouse = CellToHandle<HHOOK>(Cell(CELL_HHOOKMOUSE));
  HHOOK key = CellToHandle<HHOOK>(Cell(CELL_HHOOKKEY));
  EXPECT_NE(mouse, nullptr);
  EXPECT_NE(key, nullptr);
  EXPECT_NE(mouse, key);

  auto endHook = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(hooks.Module(), "EndHook")));
  ASSERT_NE(endHook, nullptr);
  EXPECT_EQ(endHook(), 1);
  // Gone: a second removal of either hook fails.
  EXPECT_FALSE(UnhookWindowsHookEx(mouse));
  EXPECT_FALSE(UnhookWindowsHookEx(key));
  EXPECT_EQ(endHook(), 0);
}

// The system calls the hooks out of context on the thread that installed
// them: that is a thread of the hold's own, never the caller's (the main
// thread, busy making stars), and it ends, the hooks removed, with the hold.
TEST_F(HookLibrary, TheHooksLiveOnAThreadOfTheirOwnThatEndsWithTheHold) {
  // The main thread makes stars below normal priority; the thread that
  // answers other programs' input does not.
  const int mainPriority = GetThreadPriority(GetCurrentThread());
  ASSERT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL));
  ASSERT_EQ(hooks.LoadHookLibrary(), 1);
  SetThreadPriority(GetCurrentThread(), mainPriority);
  const DWORD thread = hooks.HookThreadId();
  ASSERT_NE(thread, 0u);
  EXPECT_NE(thread, GetCurrentThreadId());
  HANDLE handle = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, thread);
  ASSERT_NE(handle, nullptr);
  EXPECT_GT(GetThreadPriority(handle), THREAD_PRIORITY_NORMAL) << "the hook thread may starve behind star making";
  EXPECT_EQ(WaitForSingleObject(handle, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the hook thread is not running";
  HHOOK mouse = CellToHandle<HHOOK>(Cell(CELL_HHOOKMOUSE));
  HHOOK key = CellToHandle<HHOOK>(Cell(CELL_HHOOKKEY));
  ASSERT_NE(mouse, nullptr);

  hooks.FreeHookLibrary();
  EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_OBJECT_0) << "the hook thread outlived the hold";
  EXPECT_EQ(hooks.HookThreadId(), 0u);
  EXPECT_FALSE(UnhookWindowsHookEx(mouse)) << "the mouse hook outlived its thread";
  EXPECT_FALSE(UnhookWindowsHookEx(key)) << "the keyboard hook outlived its thread";
  CloseHandle(handle);

  // The five messages the library sends or posts, let through from ordinary
  // programs to an elevated copy (the system does nothing of it under Wine).
  EXPECT_EQ(AllowHookMessages(mainHost.handle()), 5);
}

TEST_F(HookLibrary, LoadingTwiceLoadsAndInstallsOnce) {
  ASSERT_EQ(hooks.LoadHookLibrary(), 1);
  HMODULE first = hooks.Module();
  int32_t mouse = Cell(CELL_HHOOKMOUSE);
  EXPECT_EQ(hooks.LoadHookLibrary(), 0);
  EXPECT_EQ(hooks.Module(), first);
  EXPECT_EQ(Cell(CELL_HHOOKMOUSE), mouse) << "StartHook ran a second time";
  // One load, one reference: a single free unmaps the library.
  hooks.FreeHookLibrary();
  EXPECT_EQ(GetModuleHandleA("nivlet2.dll"), nullptr);
}

TEST_F(HookLibrary, FreeingRemovesTheHooksAndASecondFreeIsHarmless) {
  ASSERT_EQ(hooks.LoadHookLibrary(), 1);
  HHOOK mouse = CellToHandle<HHOOK>(Cell(CELL_HHOOKMOUSE));
  hooks.FreeHookLibrary();
  EXPECT_EQ(hooks.Module(), nullptr);
  EXPECT_EQ(GetModuleHandleA("nivlet2.dll"), nullptr);
  EXPECT_FALSE(UnhookWindowsHookEx(mouse)) << "the hook outlived its library";
  hooks.FreeHookLibrary();
  EXPECT_EQ(hooks.Module(), nullptr);
  // Not loaded again means it can be loaded again.
  EXPECT_EQ(hooks.LoadHookLibrary(), 1);
  EXPECT_NE(hooks.Module(), nullptr);
}

TEST_F(HookLibrary, AMissingLibraryOrOneWithoutTheEntriesIsNotKeptAndSaysSo) {
  EXPECT_EQ(hooks.LoadHookLibraryFile(L"no_such_library.dll"), kHookLibraryMissing);
  EXPECT_EQ(hooks.Module(), nullptr);
  // A module beside the program that exports neither entry.
  EXPECT_EQ(hooks.LoadHookLibraryFile(L"cell_peer.exe"), kHookLibraryMissing);
  EXPECT_EQ(hooks.Module(), nullptr);
  EXPECT_EQ(GetModuleHandleA("cell_peer.exe"), nullptr);
  hooks.FreeHookLibrary();
  EXPECT_EQ(Cell(CELL_HHOOKMOUSE), 0);
}

// Copies the named files from beside the tests into the folder.
bool CopyBesideTests(const std::wstring& folder, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names) {
    if (!CopyFileW((TestFolder() + name).c_str(), (folder + name).c_str(), FALSE)) return false;
  }
  return true;
}

TEST_F(HookLibrary, LoadsFromAFolderWhoseNameIsOutsideTheCodePage) {
  // A Japanese, an accented and a non-BMP character, the last two outside
  // code page 932, which an ANSI path cannot hold.
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  std::wstring folder = std::wstring(temp) + L"tovik2_\u661f\u00FC\U0001F31F_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyBesideTests(folder, {L"cell_peer.exe"}));

  // Without the library beside it the program learns that it is missing.
  EXPECT_EQ(RunProgramAt(folder + L"cell_peer.exe", L"loadhook"), 100 + kHookLibraryMissing);
  ASSERT_TRUE(CopyBesideTests(folder, {L"nivlet2.dll"}));
  EXPECT_EQ(RunProgramAt(folder + L"cell_peer.exe", L"loadhook"), 101) << "the hooks were not installed";

  DeleteFileW((folder + L"nivlet2.dll").c_str());
  DeleteFileW((folder + L"cell_peer.exe").c_str());
  RemoveDirectoryW(folder.c_str());
}

// Run as administrator, the hooks are installed only from a library that
// nobody but the administrators and the system could replace: the tests'
// folder is the user's own (Wine keeps no other descriptor for a file, so
// the descriptors that pass are proven on the rule alone).
TEST_F(HookLibrary, AnElevatedCopyInstallsNoHooksFromALibraryOthersCanChange) {
  hooks.UseElevationCheck([] { return true; });
  EXPECT_EQ(hooks.LoadHookLibrary(), kHookLibraryUnprotected);
  EXPECT_EQ(hooks.Module(), nullptr) << "the library was loaded";
  EXPECT_EQ(Cell(CELL_HHOOKMOUSE), 0) << "hooks were installed";
  EXPECT_EQ(hooks.LoadHookLibraryFile(L"no_such_library.dll"), kHookLibraryMissing);
  EXPECT_FALSE(OnlyAdministrationChangesPath(L"C:\\no such folder\\nivlet2.dll")) << "unreadable counts as unsafe";
  hooks.UseElevationCheck([] { return false; });
  EXPECT_EQ(hooks.LoadHookLibrary(), 1) << "not elevated, the library's folder does not matter";
  // Wine gives every program the same elevated token: no ordinary program
  // runs below this one, so the system's own answer lets the hooks in.
  EXPECT_FALSE(RunsElevated());
}

}  // namespace
