// A second process for the cell and hook tests.
//   cell_peer read NAME EXPECTED   exit 0 when the cell reads EXPECTED, 2 when it differs, 3 when unreadable
//   cell_peer write NAME VALUE     exit 0 when written, 3 when the cell can't be opened
//   cell_peer program EVENT        a stand-in for the program: makes the cells with a hidden main
//                                  window, clicks and moves on, sets the named event, and exits
//                                  with the packed point of the first PWM_HOOK_CLICK it receives
//                                  (1 when none came within 20 s)
//   cell_peer loadhook             LoadHookLibrary from this program's folder; exits 100 + its result
//   cell_peer caret EVENT X Y      another program in front: a window with its client area at X, Y,
//                                  focused, with a caret at (37, 23) in it; sets the named event and
//                                  runs until closed (or 20 s)
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "app/hook_library.h"
#include "app/mm_file.h"
#include "base/settings.h"
#include "cells/private_messages.h"
#include "cells/shared_cells.h"

namespace {

constexpr UINT_PTR kGiveUpTimer = 1;

LRESULT CALLBACK ProgramProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == PWM_HOOK_CLICK) {
    PostQuitMessage(static_cast<int>(lParam));
    return 0;
  }
  if (message == WM_TIMER) {
    PostQuitMessage(1);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunProgram(const char* readyEvent) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ProgramProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Tovik2TestProgram";
  if (!RegisterClassA(&windowClass)) return 4;
  HWND mainWindow = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    windowClass.hInstance, nullptr);
  if (mainWindow == nullptr) return 4;
  ProgramCells cells;
  cells.SetUpMMFile(mainWindow);
  SettingsRecord settings{};
  settings.reactMouseClick = 1;
  settings.reactMouseMove = 1;
  cells.UpdateMMFile(settings);
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEvent);
  if (ready == nullptr) return 4;
  SetEvent(ready);
  CloseHandle(ready);
  SetTimer(mainWindow, kGiveUpTimer, 20000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  DestroyWindow(mainWindow);
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK CaretProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER || message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunCaret(const char* readyEvent, int x, int y) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = CaretProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Tovik2TestCaret";
  if (!RegisterClassA(&windowClass)) return 4;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "caret peer", WS_POPUP | WS_VISIBLE, x, y, 200, 100,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 4;
  SetForegroundWindow(window);
  SetFocus(window);
  CreateCaret(window, nullptr, 2, 16);
  SetCaretPos(37, 23);
  ShowCaret(window);
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, readyEvent);
  if (ready == nullptr) return 4;
  SetEvent(ready);
  CloseHandle(ready);
  SetTimer(window, kGiveUpTimer, 20000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "caret") == 0) return RunCaret(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  if (argc == 2 && std::strcmp(argv[1], "loadhook") == 0) {
    HookLibrary hooks;
    return 100 + hooks.LoadHookLibrary();
  }
  if (argc == 3 && std::strcmp(argv[1], "program") == 0) return RunProgram(argv[2]);
  if (argc != 4) return 64;
  SharedCells cells;
  int32_t value = static_cast<int32_t>(std::strtol(argv[3], nullptr, 0));
  if (std::strcmp(argv[1], "read") == 0) {
    int32_t found = 0;
    if (!cells.ReadCellInt(&found, argv[2])) return 3;
    return found == value ? 0 : 2;
  }
  if (std::strcmp(argv[1], "write") == 0) {
    return cells.WriteCellInt(value, argv[2]) ? 0 : 3;
  }
  return 64;
}
