// The real procedures of nivlet2.dll called with made-up events, their
// messages going to a main window that runs on a thread of its own, or to a
// stand-in program in another process.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "app/mm_file.h"
#include "base/settings.h"
#include "cells/packed_point.h"
#include "cells/private_messages.h"
#include "cells/shared_cells.h"
#include "hook/hook_rules.h"
#include "test_window.h"

namespace {

constexpr UINT kHangMessage = WM_APP + 1;
// Posted after other messages: once it is handled, so are they.
constexpr UINT kSentinelMessage = WM_APP + 2;

// A stand-in for the program's main window. It records the hook's messages
// and, on kHangMessage, stops pumping until released.
struct MainHost {
  HWND window = nullptr;
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE hanging = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE sentinel = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<int> clicks{0};
  std::atomic<int> moves{0};
  std::atomic<int> keys{0};
  std::atomic<int> caretlessKeys{0};
  std::atomic<int64_t> lastKey{-1};
  std::atomic<int64_t> lastClick{-1};
  std::atomic<int64_t> lastButtonUp{-1};
  // The program's side of the cells, made for the window.
  ProgramCells cells;
};

LRESULT CALLBACK MainHostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<MainHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (host != nullptr) {
    switch (message) {
      case PWM_HOOK_CLICK:
        host->lastClick = lParam;
        ++host->clicks;
        return 0;
      case PWM_HOOK_MOVE:
        // Taken as the program takes it: the hook may post the next one.
        host->cells.ClearHookPending();
        ++host->moves;
        return 0;
      case PWM_HOOK_KEY:
        host->cells.ClearKeyPending();
        host->lastKey = lParam;
        ++host->keys;
        return 0;
      case PWM_HOOK_KEY_NO_CARET:
        host->cells.ClearKeyPending();
        ++host->caretlessKeys;
        return 0;
      case PWM_HOOK_BUTTONUP:
        host->lastButtonUp = lParam;
        return 0;
      case kSentinelMessage:
        SetEvent(host->sentinel);
        return 0;
      case kHangMessage:
        SetEvent(host->hanging);
        WaitForSingleObject(host->release, INFINITE);
        return 0;
      case WM_DESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        PostQuitMessage(0);
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI MainHostThread(void* parameter) {
  auto* host = static_cast<MainHost*>(parameter);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = MainHostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Tovik2TestMainHost";
  RegisterClassA(&windowClass);
  host->window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                 nullptr, windowClass.hInstance, host);
  SetEvent(host->ready);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

using HookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);

struct PressCall {
  HookProc procedure;
  MOUSEHOOKSTRUCT record;
  ULONGLONG elapsedMs;
};

DWORD WINAPI PressThread(void* parameter) {
  auto* call = static_cast<PressCall*>(parameter);
  ULONGLONG start = GetTickCount64();
  call->procedure(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&call->record));
  call->elapsedMs = GetTickCount64() - start;
  return 0;
}

bool WaitFor(const std::atomic<int64_t>& value, int64_t expected, DWORD deadlineMs) {
  ULONGLONG end = GetTickCount64() + deadlineMs;
  while (value != expected) {
    if (GetTickCount64() > end) return false;
    Sleep(5);
  }
  return true;
}

TEST(MouseHookProcedure, WaitsForAResponsiveProgramButAtMostASecondForAHungOne) {
  MainHost host;
  HANDLE hostThread = CreateThread(nullptr, 0, MainHostThread, &host, 0, nullptr);
  ASSERT_NE(hostThread, nullptr);
  ASSERT_EQ(WaitForSingleObject(host.ready, 5000), WAIT_OBJECT_0);
  ASSERT_NE(host.window, nullptr);
  ASSERT_TRUE(host.cells.SetUpMMFile(host.window));
  SharedCells cells;
  cells.WriteCellInt(1, cellNames[CELL_REACTMOUSECLICK]);

  HMODULE library = LoadLibraryA("nivlet2.dll");
  ASSERT_NE(library, nullptr);
  auto procedure = reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(library, "MyHookProcM")));
  ASSERT_NE(procedure, nullptr);
  TestWindow target;

  // Responsive: when the procedure returns, the click has been handled.
  PressCall call{procedure, MOUSEHOOKSTRUCT{}, 0};
  call.record.pt = POINT{321, -45};
  call.record.hwnd = target.handle();
  PressThread(&call);
  EXPECT_EQ(host.clicks, 1);
  EXPECT_EQ(host.lastClick, static_cast<int64_t>(PackPoint(321, -45)));
  call.record.pt = POINT{10, 20};

  // The release is posted with the window under it, and clears the latch.
  procedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&call.record));
  EXPECT_TRUE(WaitFor(host.lastButtonUp, reinterpret_cast<int64_t>(target.handle()), 5000));

  // A press on a title bar released there: the next press is a click again.
  procedure(HC_ACTION, WM_NCLBUTTONDOWN, reinterpret_cast<LPARAM>(&call.record));
  procedure(HC_ACTION, WM_NCLBUTTONUP, reinterpret_cast<LPARAM>(&call.record));
  procedure(HC_ACTION, WM_NCLBUTTONDOWN, reinterpret_cast<LPARAM>(&call.record));
  EXPECT_EQ(host.clicks, 3);
  procedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&call.record));

  // Hung: the press goes on after about a second instead of never.
  PostMessageA(host.window, kHangMessage, 0, 0);
  ASSERT_EQ(WaitForSingleObject(host.hanging, 5000), WAIT_OBJECT_0);
  HANDLE pressThread = CreateThread(nullptr, 0, PressThread, &call, 0, nullptr);
  ASSERT_NE(pressThread, nullptr);
  DWORD waited = WaitForSingleObject(pressThread, 5000);
  EXPECT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0)) << "the press stayed blocked by the hung program";
  SetEvent(host.release);
  WaitForSingleObject(pressThread, INFINITE);
  EXPECT_LT(call.elapsedMs, 2000u);

  PostMessageA(host.window, WM_CLOSE, 0, 0);
  WaitForSingleObject(hostThread, 5000);
  CloseHandle(pressThread);
  CloseHandle(hostThread);
  FreeLibrary(library);
}

// The stand-in program on a thread of its own with its cells made, and the
// library loaded in this process as the system maps it into a program.
struct HostedHook {
  MainHost host;
  HANDLE thread = nullptr;
  HMODULE library = nullptr;
  HookProc procedure = nullptr;

  bool Start() {
    thread = CreateThread(nullptr, 0, MainHostThread, &host, 0, nullptr);
    if (thread == nullptr || WaitForSingleObject(host.ready, 5000) != WAIT_OBJECT_0 || host.window == nullptr) {
      return false;
    }
    if (!host.cells.SetUpMMFile(host.window)) return false;
    library = LoadLibraryA("nivlet2.dll");
    if (library == nullptr) return false;
    procedure = reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(library, "MyHookProcM")));
    return procedure != nullptr;
  }
  ~HostedHook() {
    if (host.window != nullptr) PostMessageA(host.window, WM_CLOSE, 0, 0);
    if (thread != nullptr) {
      WaitForSingleObject(thread, 5000);
      CloseHandle(thread);
    }
    if (library != nullptr) FreeLibrary(library);
  }
};

struct TimedPress {
  PressCall call;
  std::atomic<ULONGLONG> returnedAt{0};
};

DWORD WINAPI TimedPressThread(void* parameter) {
  auto* press = static_cast<TimedPress*>(parameter);
  PressThread(&press->call);
  press->returnedAt = GetTickCount64();
  return 0;
}

struct EndCall {
  int (*endHook)();
  std::atomic<ULONGLONG> returnedAt{0};
};

DWORD WINAPI EndHookThread(void* parameter) {
  auto* end = static_cast<EndCall*>(parameter);
  end->endHook();
  end->returnedAt = GetTickCount64();
  return 0;
}

// The library may be freed once EndHook returns, so EndHook waits for a call
// still inside a procedure (here a press whose click waits on a hung program)
// instead of returning while that call runs in code about to be unmapped.
TEST(MouseHookProcedure, EndHookWaitsForACallStillInsideAProcedure) {
  HostedHook hooked;
  ASSERT_TRUE(hooked.Start());
  auto endHook = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(hooked.library, "EndHook")));
  ASSERT_NE(endHook, nullptr);
  SharedCells cells;
  cells.WriteCellInt(1, cellNames[CELL_REACTMOUSECLICK]);
  cells.WriteCellInt(0, cellNames[CELL_MOUSEDOWN]);
  TestWindow target;

  PostMessageA(hooked.host.window, kHangMessage, 0, 0);
  ASSERT_EQ(WaitForSingleObject(hooked.host.hanging, 5000), WAIT_OBJECT_0);
  TimedPress press{PressCall{hooked.procedure, MOUSEHOOKSTRUCT{}, 0}};
  press.call.record.pt = POINT{40, 50};
  press.call.record.hwnd = target.handle();
  HANDLE pressThread = CreateThread(nullptr, 0, TimedPressThread, &press, 0, nullptr);
  ASSERT_NE(pressThread, nullptr);
  // The press takes the latch inside the procedure, before its click waits.
  int32_t down = 0;
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while ((cells.ReadCellInt(&down, cellNames[CELL_MOUSEDOWN]) == 0 || down == 0) && GetTickCount64() < deadline) Sleep(1);
  ASSERT_EQ(down, 1) << "the press never got inside";

  EndCall end{endHook};
  HANDLE endThread = CreateThread(nullptr, 0, EndHookThread, &end, 0, nullptr);
  ASSERT_NE(endThread, nullptr);
  EXPECT_EQ(WaitForSingleObject(endThread, 10000), WAIT_OBJECT_0) << "EndHook waits at most a bounded time";
  EXPECT_EQ(WaitForSingleObject(pressThread, 10000), WAIT_OBJECT_0);
  // Without the wait EndHook returns at once, while the press stays inside for
  // its click's second; the slack only forgives the press thread being
  // descheduled between leaving the procedure and reading the clock.
  EXPECT_GE(end.returnedAt.load() + 200, press.returnedAt.load()) << "EndHook returned while a call was inside";

  SetEvent(hooked.host.release);
  CloseHandle(endThread);
  CloseHandle(pressThread);
}

TEST(MouseHookProcedure, AProgramLeftAloneGetsNoStarsAndOthersStillDo) {
  HostedHook hooked;
  ASSERT_TRUE(hooked.Start());
  SettingsRecord settings{};
  settings.reactMouseClick = 1;
  // This test program is the one the hook runs in, whatever its letter case.
  std::snprintf(settings.exclude, sizeof settings.exclude, "mstsc.exe;WIN_TESTS.EXE");
  hooked.host.cells.UpdateMMFile(settings);
  TestWindow target;
  MOUSEHOOKSTRUCT record{};
  record.pt = POINT{200, 200};
  record.hwnd = target.handle();
  auto press = [&](UINT message) { hooked.procedure(HC_ACTION, message, reinterpret_cast<LPARAM>(&record)); };

  press(WM_LBUTTONDOWN);
  press(WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor(hooked.host.lastButtonUp, reinterpret_cast<int64_t>(target.handle()), 5000))
      << "releases still reach the program, so the click latch is cleared";
  EXPECT_EQ(hooked.host.clicks, 0) << "a press in a program left alone makes no stars";

  // The list changes while the library stays loaded: the process decides again.
  std::snprintf(settings.exclude, sizeof settings.exclude, "mstsc.exe");
  hooked.host.cells.UpdateMMFile(settings);
  press(WM_LBUTTONDOWN);
  EXPECT_EQ(hooked.host.clicks, 1) << "a program no longer on the list gets its stars";
  press(WM_LBUTTONUP);
  hooked.host.cells.UpdateMMFile(SettingsRecord{});
}

// The program died between the two steps of writing the list: the serial
// stays odd. The hook reads the list a few times, then decides on the copy
// it has, rather than never leaving any program alone again.
TEST(MouseHookProcedure, AListWhoseWriterDiedHalfwayStillLeavesItsProgramsAlone) {
  HostedHook hooked;
  ASSERT_TRUE(hooked.Start());
  SettingsRecord settings{};
  settings.reactMouseClick = 1;
  std::snprintf(settings.exclude, sizeof settings.exclude, "win_tests.exe");
  hooked.host.cells.UpdateMMFile(settings);
  SharedCells cells;
  int32_t serial = 0;
  ASSERT_EQ(cells.ReadCellInt(&serial, cellNames[CELL_EXCLUDESERIAL]), 1);
  ASSERT_EQ(cells.WriteCellInt(serial + 1, cellNames[CELL_EXCLUDESERIAL]), 1);
  TestWindow target;
  MOUSEHOOKSTRUCT record{};
  record.pt = POINT{200, 200};
  record.hwnd = target.handle();
  auto press = [&](UINT message) { hooked.procedure(HC_ACTION, message, reinterpret_cast<LPARAM>(&record)); };
  press(WM_LBUTTONDOWN);
  press(WM_LBUTTONUP);
  EXPECT_TRUE(WaitFor(hooked.host.lastButtonUp, reinterpret_cast<int64_t>(target.handle()), 5000));
  EXPECT_EQ(hooked.host.clicks, 0) << "the list whose serial stayed odd was not used";

  // The program starts again: the serial is even once more, and a new list counts.
  ProgramCells restarted;
  ASSERT_TRUE(restarted.SetUpMMFile(hooked.host.window));
  std::snprintf(settings.exclude, sizeof settings.exclude, "mstsc.exe");
  restarted.UpdateMMFile(settings);
  press(WM_LBUTTONDOWN);
  press(WM_LBUTTONUP);
  EXPECT_EQ(hooked.host.clicks, 1) << "the restarted program's list was not read";
  restarted.UpdateMMFile(SettingsRecord{});
}

// Another program in front, in a process of its own (cell_peer caret): its
// window's client area at (150, 120), focused, with a caret at (37, 23).
class CaretPeer {
 public:
  // program: a copy of cell_peer.exe under another name, or cell_peer.exe itself.
  explicit CaretPeer(const std::wstring& program = TestFolder() + L"cell_peer.exe") {
    std::string name = "tovik2_test_caret_" + std::to_string(GetCurrentProcessId());
    ready_ = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    process_ = StartProgramAt(program, L"caret " + std::wstring(name.begin(), name.end()) + L" 150 120");
  }
  ~CaretPeer() {
    if (process_ != nullptr) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, 5000);
      CloseHandle(process_);
    }
    CloseHandle(ready_);
  }
  bool Ready() const { return process_ != nullptr && WaitForSingleObject(ready_, 10000) == WAIT_OBJECT_0; }
  // Its own window, not one an earlier peer may have left behind.
  HWND Window() const {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "Tovik2TestCaret", nullptr)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == GetProcessId(process_)) return window;
    }
    return nullptr;
  }

 private:
  HANDLE ready_;
  HANDLE process_;
};

// The system calls the hooks out of context, for a 32-bit program or an app
// container, on the thread that installed them (Wine never does): this test
// thread installs them and then calls the procedures itself, for the input
// of the program in front. The caret comes from that program's thread, and
// the list of programs left alone is checked against its process, not this one.
TEST(OutOfContextHookProcedure, TakesTheCaretAndTheExclusionFromTheProgramOfTheInput) {
  HostedHook hooked;
  ASSERT_TRUE(hooked.Start());
  auto startHook = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(hooked.library, "StartHook")));
  auto endHook = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(hooked.library, "EndHook")));
  auto key = reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(hooked.library, "MyHookProcK")));
  ASSERT_NE(startHook, nullptr);
  ASSERT_NE(endHook, nullptr);
  ASSERT_NE(key, nullptr);
  CaretPeer peer;
  ASSERT_TRUE(peer.Ready());
  HWND peerWindow = peer.Window();
  ASSERT_NE(peerWindow, nullptr);
  if (GetForegroundWindow() != peerWindow) SetForegroundWindow(peerWindow);
  ASSERT_EQ(GetForegroundWindow(), peerWindow) << "the other program is not in front";

  SettingsRecord settings{};
  settings.reactMouseClick = 1;
  settings.reactKey = 1;
  // This process is on the list; the program in front is not.
  std::snprintf(settings.exclude, sizeof settings.exclude, "win_tests.exe");
  hooked.host.cells.UpdateMMFile(settings);
  ASSERT_EQ(startHook(), 1);

  key(HC_ACTION, 'A', 0x001C0001);
  EXPECT_TRUE(WaitFor(hooked.host.lastKey, static_cast<int64_t>(PackPoint(150 + 37, 120 + 23 + 8)), 5000))
      << "the key was not placed at the other program's caret: " << hooked.host.lastKey;
  MOUSEHOOKSTRUCT record{};
  record.pt = POINT{160, 130};
  record.hwnd = peerWindow;
  hooked.procedure(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&record));
  hooked.procedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&record));
  EXPECT_EQ(hooked.host.clicks, 1) << "the click for the other program was taken for this one's";

  // Now the program in front is on the list, whatever the letter case.
  std::snprintf(settings.exclude, sizeof settings.exclude, "mstsc.exe;CELL_PEER.EXE");
  hooked.host.cells.UpdateMMFile(settings);
  const int keys = hooked.host.keys;
  key(HC_ACTION, 'B', 0x001C0001);
  hooked.procedure(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&record));
  hooked.procedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&record));
  PostMessageA(hooked.host.window, kSentinelMessage, 0, 0);
  ASSERT_EQ(WaitForSingleObject(hooked.host.sentinel, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(hooked.host.keys, keys) << "a key for a program left alone made stars";
  EXPECT_EQ(hooked.host.caretlessKeys, 0) << "a key at a Win32 caret, or one left alone, was reported without caret";
  EXPECT_EQ(hooked.host.clicks, 1) << "a click for a program left alone made stars";

  // This program's own window, in context: this process is no longer listed.
  TestWindow own;
  record.hwnd = own.handle();
  hooked.procedure(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&record));
  hooked.procedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&record));
  EXPECT_EQ(hooked.host.clicks, 2);
  EXPECT_EQ(endHook(), 1);
  hooked.host.cells.UpdateMMFile(SettingsRecord{});
}

// In Shift-JIS the second byte of 表 and ソ is '\\': a list split bytewise
// once lost every name, so a program named with them was never left alone.
// The settings file holds the name in the system's code page, so this runs
// under the Japanese one only (a Western code page cannot spell it).
TEST(OutOfContextHookProcedure, AProgramNamedInKanjiAndKanaOnTheListIsLeftAlone) {
  const std::wstring name = L"\u8868\u30BD\u30D5\u30C8.exe";
  const std::wstring copy = TestFolder() + name;
  ASSERT_TRUE(CopyFileW((TestFolder() + L"cell_peer.exe").c_str(), copy.c_str(), FALSE));
  {
    HostedHook hooked;
    ASSERT_TRUE(hooked.Start());
    auto startHook = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(hooked.library, "StartHook")));
    auto endHook = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(hooked.library, "EndHook")));
    ASSERT_NE(startHook, nullptr);
    ASSERT_NE(endHook, nullptr);
    CaretPeer peer(copy);
    ASSERT_TRUE(peer.Ready());
    MOUSEHOOKSTRUCT record{};
    record.pt = POINT{160, 130};
    record.hwnd = peer.Window();
    ASSERT_NE(record.hwnd, nullptr);
    auto click = [&] {
      hooked.procedure(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&record));
      hooked.procedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&record));
    };
    // As the settings file holds it: in the system's code page.
    SettingsRecord settings{};
    settings.reactMouseClick = 1;
    const std::wstring list = L"mstsc.exe;" + name + L";game.exe";
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, list.c_str(), -1, settings.exclude, sizeof settings.exclude, nullptr,
                                  nullptr), 0);
    hooked.host.cells.UpdateMMFile(settings);
    ASSERT_EQ(startHook(), 1);
    click();
    std::snprintf(settings.exclude, sizeof settings.exclude, "mstsc.exe");
    hooked.host.cells.UpdateMMFile(settings);
    click();
    EXPECT_EQ(endHook(), 1);
    EXPECT_EQ(hooked.host.clicks, 1) << "the program named in Japanese got stars while on the list, or not once off it";
    hooked.host.cells.UpdateMMFile(SettingsRecord{});
  }
  EXPECT_TRUE(DeleteFileW(copy.c_str()));
}

struct MoveFlood {
  HookProc procedure;
  HWND target;
  int count;
};

// Fast moves of 40 pixels, each one that the movement rule reports.
DWORD WINAPI MoveFloodThread(void* parameter) {
  auto* flood = static_cast<MoveFlood*>(parameter);
  MOUSEHOOKSTRUCT record{};
  record.hwnd = flood->target;
  for (int i = 0; i < flood->count; ++i) {
    record.pt = POINT{100 + 40 * (i % 20), 300};
    flood->procedure(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&record));
  }
  return 0;
}

int32_t Cell(CellKey key) {
  SharedCells cells;
  int32_t value = 0;
  cells.ReadCellInt(&value, cellNames[key]);
  return value;
}

TEST(MouseHookProcedure, MovesNeverWaitForABusyProgramAndAtMostOneIsPending) {
  MainHost host;
  HANDLE hostThread = CreateThread(nullptr, 0, MainHostThread, &host, 0, nullptr);
  ASSERT_NE(hostThread, nullptr);
  ASSERT_EQ(WaitForSingleObject(host.ready, 5000), WAIT_OBJECT_0);
  ASSERT_TRUE(host.cells.SetUpMMFile(host.window));
  SharedCells cells;
  cells.WriteCellInt(1, cellNames[CELL_REACTMOUSEMOVE]);
  HMODULE library = LoadLibraryA("nivlet2.dll");
  ASSERT_NE(library, nullptr);
  auto procedure = reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(library, "MyHookProcM")));
  ASSERT_NE(procedure, nullptr);
  TestWindow target;

  // The program is busy making stars: a flood of fast moves goes on at once.
  PostMessageA(host.window, kHangMessage, 0, 0);
  ASSERT_EQ(WaitForSingleObject(host.hanging, 5000), WAIT_OBJECT_0);
  MoveFlood flood{procedure, target.handle(), 400};
  ULONGLONG start = GetTickCount64();
  HANDLE floodThread = CreateThread(nullptr, 0, MoveFloodThread, &flood, 0, nullptr);
  ASSERT_NE(floodThread, nullptr);
  EXPECT_EQ(WaitForSingleObject(floodThread, 20000), static_cast<DWORD>(WAIT_OBJECT_0))
      << "the moves waited for the busy program";
  ULONGLONG floodMs = GetTickCount64() - start;
  EXPECT_NE(Cell(CELL_HOOKPENDING), 0);

  // When the program gets to its queue, one move waits there, not hundreds
  // (one more for each half second the flood took, when a message not taken
  // for that long counts as lost).
  SetEvent(host.release);
  PostMessageA(host.window, kSentinelMessage, 0, 0);
  ASSERT_EQ(WaitForSingleObject(host.sentinel, 5000), WAIT_OBJECT_0);
  EXPECT_GE(host.moves, 1);
  EXPECT_LE(host.moves, 1 + static_cast<int>(floodMs / kPendingStaleMs));
  int taken = host.moves;
  EXPECT_EQ(Cell(CELL_HOOKPENDING), 0) << "the program took it";

  // Taken, the next fast move is posted again.
  flood.count = 1;
  MoveFloodThread(&flood);
  PostMessageA(host.window, kSentinelMessage, 0, 0);
  ASSERT_EQ(WaitForSingleObject(host.sentinel, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(host.moves, taken + 1);

  PostMessageA(host.window, WM_CLOSE, 0, 0);
  WaitForSingleObject(hostThread, 5000);
  CloseHandle(floodThread);
  CloseHandle(hostThread);
  FreeLibrary(library);
}

// A stand-in for the program in a process of its own (cell_peer program),
// which ends with the point of the first click it receives.
class ProgramPeer {
 public:
  ProgramPeer() {
    std::string name = "tovik2_test_ready_" + std::to_string(GetCurrentProcessId());
    ready_ = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    process_ = StartBesideTests("cell_peer.exe", "program " + name);
  }
  ~ProgramPeer() {
    if (process_ != nullptr) {
      TerminateProcess(process_, 1);
      CloseHandle(process_);
    }
    CloseHandle(ready_);
  }
  bool Ready() const { return process_ != nullptr && WaitForSingleObject(ready_, 10000) == WAIT_OBJECT_0; }
  // Exit code once it ended within the wait, else -1.
  long ExitedWithin(DWORD ms) const {
    DWORD code = 0;
    if (WaitForSingleObject(process_, ms) != WAIT_OBJECT_0 || !GetExitCodeProcess(process_, &code)) return -1;
    return static_cast<long>(code);
  }

 private:
  HANDLE ready_;
  HANDLE process_;
};

void Click(HookProc procedure, HWND target, int x, int y) {
  MOUSEHOOKSTRUCT record{};
  record.hwnd = target;
  record.pt = POINT{x, y};
  procedure(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&record));
  procedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&record));
}

// Clicks until the program ends with the point of one, or the deadline passes.
long ClickUntilTheProgramReports(const ProgramPeer& program, HookProc procedure, HWND target, int x, int y) {
  ULONGLONG end = GetTickCount64() + 10000;
  long code = -1;
  while (code == -1 && GetTickCount64() < end) {
    Click(procedure, target, x, y);
    code = program.ExitedWithin(50);
  }
  return code;
}

// This process is another program that has the library loaded. The program
// starts after it, ends, and starts again, each time making the cells anew.
TEST(MouseHookProcedure, WorksOnceTheProgramMakesTheCellsAndAfterTheProgramRestarts) {
  SharedCells cells;
  int32_t value = 0;
  ASSERT_EQ(cells.ReadCellInt(&value, cellNames[CELL_MAINHWND]), 0)
      << "cells are left in this process; run this case in a process of its own (ctest does)";
  HMODULE library = LoadLibraryA("nivlet2.dll");
  ASSERT_NE(library, nullptr);
  auto mouse = reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(library, "MyHookProcM")));
  auto key = reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(library, "MyHookProcK")));
  ASSERT_NE(mouse, nullptr);
  ASSERT_NE(key, nullptr);
  TestWindow target;

  // No program: every event is passed on, and the library makes no cell.
  Click(mouse, target.handle(), 5, 6);
  key(HC_ACTION, VK_RETURN, 0x001C0001);
  EXPECT_EQ(cells.ReadCellInt(&value, cellNames[CELL_MAINHWND]), 0);
  EXPECT_EQ(cells.ReadCellInt(&value, cellNames[CELL_HOOKPENDING]), 0);

  {
    ProgramPeer first;
    ASSERT_TRUE(first.Ready());
    EXPECT_EQ(ClickUntilTheProgramReports(first, mouse, target.handle(), 321, 45),
              static_cast<long>(PackPoint(321, 45)));
  }
  {
    ProgramPeer second;
    ASSERT_TRUE(second.Ready());
    EXPECT_EQ(ClickUntilTheProgramReports(second, mouse, target.handle(), 654, 32),
              static_cast<long>(PackPoint(654, 32)))
        << "the restarted program did not get this program's clicks";
  }
  FreeLibrary(library);
}

}  // namespace
