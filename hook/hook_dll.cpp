// nivlet2.dll: the global mouse and keyboard hooks. The library is mapped into
// every process that receives input, so it keeps no state but its own module
// handle; everything else lives in the shared cells. The procedures allocate
// nothing and every path ends in CallNextHookEx: input is never swallowed.
#include <windows.h>
#include <imm.h>

#include "cells/packed_point.h"
#include "cells/shared_cells.h"
#include "hook/hook_rules.h"

namespace {

HINSTANCE hookModule = nullptr;
SharedCells cells;

// A program that has stopped answering must not hold up the input of every
// other program for longer than this; a responsive one is still waited for,
// so the click is handled before the star window sees the press.
constexpr UINT kSendTimeoutMs = 1000;

int32_t ReadCellOrZero(CellKey key) {
  int32_t value = 0;
  cells.ReadCellInt(&value, cellNames[key]);
  return value;
}

HWND AsWindow(intptr_t value) { return reinterpret_cast<HWND>(value); }

LRESULT SendPointMessage(HWND window, UINT message, int32_t x, int32_t y) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, 0, static_cast<LPARAM>(PackPoint(x, y)),
                      SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

// The hook rules' view of the cells and of the calling thread.
class LivePort final : public HookPort {
 public:
  int32_t ReadCell(CellKey key) override { return ReadCellOrZero(key); }
  void WriteCell(CellKey key, int32_t value) override { cells.WriteCellInt(value, cellNames[key]); }
  void SendPoint(intptr_t window, uint32_t message, int32_t x, int32_t y) override {
    SendPointMessage(AsWindow(window), message, x, y);
  }
  void PostWindow(intptr_t window, uint32_t message, intptr_t lParamWindow) override {
    PostMessageA(AsWindow(window), message, 0, static_cast<LPARAM>(lParamWindow));
  }
  intptr_t FocusWindow() override { return reinterpret_cast<intptr_t>(GetFocus()); }
  int CaretPosition(ScreenPoint* point) override {
    POINT caret{};
    if (!GetCaretPos(&caret)) return 0;
    *point = ScreenPoint{caret.x, caret.y};
    return 1;
  }
  int Composition(intptr_t window, int32_t* candidateWidth, int32_t* compositionX) override {
    HIMC context = ImmGetContext(AsWindow(window));
    if (context == nullptr) return 0;
    int composing = 0;
    if (ImmGetOpenStatus(context) && ImmGetCompositionStringA(context, GCS_COMPSTR, nullptr, 0) > 0) {
      composing = 1;
      CANDIDATEFORM candidate{};
      if (ImmGetCandidateWindow(context, 0, &candidate)) {
        *candidateWidth = candidate.rcArea.right - candidate.rcArea.left;
      }
      COMPOSITIONFORM composition{};
      if (ImmGetCompositionWindow(context, &composition)) *compositionX = composition.ptCurrentPos.x;
    }
    ImmReleaseContext(AsWindow(window), context);
    return composing;
  }
  ScreenPoint ClientToScreen(intptr_t window, ScreenPoint point) override {
    POINT screen{point.x, point.y};
    ::ClientToScreen(AsWindow(window), &screen);
    return ScreenPoint{screen.x, screen.y};
  }
};

HHOOK ReadHookHandle(CellKey key) { return CellToHandle<HHOOK>(ReadCellOrZero(key)); }

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  hookModule = instance;
  return TRUE;
}

LRESULT CALLBACK MyHookProcM(int code, WPARAM wParam, LPARAM lParam) {
  HHOOK next = ReadHookHandle(CELL_HHOOKMOUSE);
  if (code >= 0 && lParam != 0) {
    const MOUSEHOOKSTRUCT* record = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    LivePort port;
    ReactToMouse(port, code,
                 MouseEvent{static_cast<uint32_t>(wParam), record->pt.x, record->pt.y,
                            reinterpret_cast<intptr_t>(record->hwnd)});
  }
  return CallNextHookEx(next, code, wParam, lParam);
}

LRESULT CALLBACK MyHookProcK(int code, WPARAM wParam, LPARAM lParam) {
  HHOOK next = ReadHookHandle(CELL_HHOOKKEY);
  LivePort port;
  ReactToKey(port, code, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
  return CallNextHookEx(next, code, wParam, lParam);
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
