// nivlet2.dll: installs the global mouse and keyboard hooks. The library is
// mapped into every process that receives input, so it keeps no state but its
// own module handle; everything else lives in the shared cells.
#include <windows.h>

#include "cells/shared_cells.h"

namespace {
HINSTANCE hookModule = nullptr;
SharedCells cells;

HHOOK ReadHookHandle(CellKey key) {
  int32_t value = 0;
  cells.ReadCellInt(&value, cellNames[key]);
  return CellToHandle<HHOOK>(value);
}
}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  hookModule = instance;
  return TRUE;
}

LRESULT CALLBACK MyHookProcM(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(ReadHookHandle(CELL_HHOOKMOUSE), code, wParam, lParam);
}

LRESULT CALLBACK MyHookProcK(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(ReadHookHandle(CELL_HHOOKKEY), code, wParam, lParam);
}

int StartHook() {
  HHOOK mouse = SetWindowsHookExA(WH_MOUSE, MyHookProcM, hookModule, 0);
  if (mouse == nullptr) return 0;
  cells.WriteCellInt(HandleToCell(mouse), cellNames[CELL_HHOOKMOUSE]);
  HHOOK key = SetWindowsHookExA(WH_KEYBOARD, MyHookProcK, hookModule, 0);
  if (key == nullptr) return 0;
  cells.WriteCellInt(HandleToCell(key), cellNames[CELL_HHOOKKEY]);
  return 1;
}

int EndHook() {
  BOOL keyRemoved = UnhookWindowsHookEx(ReadHookHandle(CELL_HHOOKKEY));
  BOOL mouseRemoved = UnhookWindowsHookEx(ReadHookHandle(CELL_HHOOKMOUSE));
  return keyRemoved && mouseRemoved ? 1 : 0;
}

}  // extern "C"
