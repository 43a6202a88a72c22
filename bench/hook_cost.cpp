// What one call of each hook procedure costs, under Wine: the cells are
// opened, mapped, unmapped and closed on every access, as in the program.
// Run it from the folder that holds nivlet2.dll; prints microseconds per call.
#include <windows.h>

#include <cstdio>

#include "app/hook_library.h"
#include "app/mm_file.h"
#include "base/app_state.h"
#include "cells/shared_cells.h"

namespace {

constexpr int kCalls = 20000;
using HookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

double MicrosecondsSince(LARGE_INTEGER start, int calls) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER end = Now();
  return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart) /
         calls;
}

void SetCell(CellKey key, int32_t value) {
  SharedCells cells;
  cells.WriteCellInt(value, cellNames[key]);
}

// Mouse moves whose x alternates by `step`: 2 pixels stay below the movement
// rule, 40 pixels make every step send PWM_HOOK_MOVE (to a window of this thread).
double MouseMoveCost(HookProc procedure, HWND target, int32_t step) {
  MOUSEHOOKSTRUCT record{};
  record.hwnd = target;
  record.pt = POINT{400, 300};
  procedure(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&record));
  LARGE_INTEGER start = Now();
  for (int i = 0; i < kCalls; ++i) {
    record.pt.x = 400 + ((i & 1) != 0 ? 0 : step);
    procedure(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&record));
  }
  return MicrosecondsSince(start, kCalls);
}

double KeyCost(HookProc procedure, WPARAM key) {
  LARGE_INTEGER start = Now();
  for (int i = 0; i < kCalls; ++i) procedure(HC_ACTION, key, 0x001C0001);
  return MicrosecondsSince(start, kCalls);
}

LRESULT CALLBACK QuietProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = QuietProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "Tovik2HookCost";
  RegisterClassA(&windowClass);
  mainWindow = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
  HWND target = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  if (mainWindow == nullptr || target == nullptr) return 1;
  SetUpMMFile();
  if (LoadHookLibrary() != 1) {
    std::printf("nivlet2.dll could not be loaded beside this program\n");
    return 1;
  }
  auto mouse = reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(hookLibrary, "MyHookProcM")));
  auto key = reinterpret_cast<HookProc>(reinterpret_cast<void*>(GetProcAddress(hookLibrary, "MyHookProcK")));
  if (mouse == nullptr || key == nullptr) return 1;

  // One unmeasured round first, so the first figure pays no start-up costs.
  SetCell(CELL_REACTMOUSEMOVE, 1);
  MouseMoveCost(mouse, target, 2);

  SharedCells cells;
  LARGE_INTEGER start = Now();
  int32_t value = 0;
  for (int i = 0; i < kCalls; ++i) cells.ReadCellInt(&value, cellNames[CELL_MOUSEX]);
  std::printf("one cell read:                              %7.2f us\n", MicrosecondsSince(start, kCalls));

  SetCell(CELL_REACTMOUSECLICK, 1);
  SetCell(CELL_REACTMOUSEMOVE, 0);
  std::printf("MyHookProcM move, move reaction off:        %7.2f us\n", MouseMoveCost(mouse, target, 2));
  SetCell(CELL_REACTMOUSEMOVE, 1);
  std::printf("MyHookProcM move, move reaction on:         %7.2f us\n", MouseMoveCost(mouse, target, 2));
  std::printf("MyHookProcM move, on, PWM_HOOK_MOVE sent:   %7.2f us\n", MouseMoveCost(mouse, target, 40));
  SetCell(CELL_REACTMOUSECLICK, 0);
  SetCell(CELL_REACTMOUSEMOVE, 0);
  std::printf("MyHookProcM move, both reactions off:       %7.2f us\n", MouseMoveCost(mouse, target, 2));

  SetCell(CELL_REACTKEY, 1);
  SetCell(CELL_REACTENTERKEY, 1);
  std::printf("MyHookProcK letter, Enter only:             %7.2f us\n", KeyCost(key, 'A'));
  SetCell(CELL_REACTENTERKEY, 0);
  std::printf("MyHookProcK letter, all keys, no caret:     %7.2f us\n", KeyCost(key, 'A'));
  SetCell(CELL_REACTKEY, 0);
  std::printf("MyHookProcK letter, key reaction off:       %7.2f us\n", KeyCost(key, 'A'));

  FreeHookLibrary();
  DestroyWindow(target);
  DestroyWindow(mainWindow);
  return 0;
}
