// nivlet2.dll: the global mouse and keyboard hooks. The library is mapped into
// every program that receives input, so a call must cost that program next to
// nothing: the cells are mapped once per process, on first use, and read as
// plain memory; moves and keys are posted, never waited for. The procedures
// allocate nothing and every path ends in CallNextHookEx: input is never
// swallowed.
#include <windows.h>
#include <imm.h>

#include <atomic>
#include <cstdint>

#include "cells/cell_views.h"
#include "cells/packed_point.h"
#include "cells/exclude_rules.h"
#include "hook/hook_rules.h"
#include "cells/physical_point.h"
#include "hook/outside_input.h"

namespace {

HINSTANCE hookModule = nullptr;
// This process's views of the cells; everything shared lives there, since
// each process into which the library is mapped has its own globals.
CachedCells cells;

// A program that has stopped answering must not hold up the input of every
// other program for longer than this; a responsive one is still waited for,
// so the click is handled before the star window sees the press.
constexpr UINT kSendTimeoutMs = 1000;

HWND AsWindow(intptr_t value) { return reinterpret_cast<HWND>(value); }

// Calls of this process that are inside a procedure now. Unhooking stops new
// calls but not one already running on another thread (the settings
// dialog's): the program frees the library only once none is inside.
std::atomic<int> callsInside{0};

class CallInside {
 public:
  CallInside() { callsInside.fetch_add(1); }
  ~CallInside() { callsInside.fetch_sub(1); }
  CallInside(const CallInside&) = delete;
  CallInside& operator=(const CallInside&) = delete;
};

// A call inside waits at most for its click to be answered; past twice that,
// the library is freed anyway rather than holding up the program's exit.
constexpr DWORD kCallsInsideWaitMs = 2 * kSendTimeoutMs;

void WaitUntilNoCallInside() {
  const DWORD start = GetTickCount();
  while (callsInside.load() > 0 && GetTickCount() - start < kCallsInsideWaitMs) Sleep(1);
}

// The hook rules' view of the cells and of the calling thread.
class LivePort : public HookPort {
 public:
  explicit LivePort(const CellViews& views) : views_(views) {}

  int32_t ReadCell(CellKey key) override { return views_.Read(key); }
  void WriteCell(CellKey key, int32_t value) override { views_.Write(key, value); }
  int32_t CompareExchangeCell(CellKey key, int32_t expected, int32_t desired) override {
    return views_.CompareExchange(key, expected, desired);
  }
  int SendPoint(intptr_t window, uint32_t message, uint32_t serial, int32_t x, int32_t y) override {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(AsWindow(window), message, serial, static_cast<LPARAM>(PackPoint(x, y)),
                               SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0
               ? 1
               : 0;
  }
  int PostPoint(intptr_t window, uint32_t message, uint32_t serial, int32_t x, int32_t y) override {
    return PostMessageA(AsWindow(window), message, serial, static_cast<LPARAM>(PackPoint(x, y))) ? 1 : 0;
  }
  void PostWindow(intptr_t window, uint32_t message, intptr_t lParamWindow) override {
    PostMessageA(AsWindow(window), message, 0, static_cast<LPARAM>(lParamWindow));
  }
  uint32_t TickCount() override { return GetTickCount(); }
  intptr_t FocusWindow() override { return reinterpret_cast<intptr_t>(GetFocus()); }
  int CaretPosition(ScreenPoint* point) override {
    POINT caret{};
    if (!GetCaretPos(&caret)) return 0;
    *point = ScreenPoint{caret.x, caret.y};
    return 1;
  }
  int Composition(intptr_t window, CompositionPlace* place) override {
    HIMC context = ImmGetContext(AsWindow(window));
    if (context == nullptr) return 0;
    int composing = 0;
    if (ImmGetOpenStatus(context) && ImmGetCompositionStringA(context, GCS_COMPSTR, nullptr, 0) > 0) {
      composing = 1;
      CANDIDATEFORM candidate{};
      if (ImmGetCandidateWindow(context, 0, &candidate)) {
        place->candidateLeft = candidate.rcArea.left;
        place->candidateRight = candidate.rcArea.right;
      }
      COMPOSITIONFORM composition{};
      if (ImmGetCompositionWindow(context, &composition)) place->compositionX = composition.ptCurrentPos.x;
    }
    ImmReleaseContext(AsWindow(window), context);
    return composing;
  }
  ScreenPoint ClientToScreen(intptr_t window, ScreenPoint point) override {
    const POINT screen = PhysicalClientPoint(AsWindow(window), POINT{point.x, point.y});
    return ScreenPoint{screen.x, screen.y};
  }

 private:
  const CellViews& views_;
};

// The same, for a key the system hands the hook thread out of context: the
// caret is the one of the input's thread, as it reports it. That thread's
// input method cannot be asked from here; the caret's own x stands.
class OutsidePort final : public LivePort {
 public:
  OutsidePort(const CellViews& views, const GUITHREADINFO& input) : LivePort(views), input_(input) {}

  intptr_t FocusWindow() override { return reinterpret_cast<intptr_t>(input_.hwndCaret); }
  int CaretPosition(ScreenPoint* point) override {
    if (input_.hwndCaret == nullptr) return 0;
    *point = ScreenPoint{input_.rcCaret.left, input_.rcCaret.top};
    return 1;
  }
  int Composition(intptr_t, CompositionPlace*) override { return 0; }

 private:
  const GUITHREADINFO& input_;
};

// This process's program file name, taken once when the library is mapped
// in; empty when it cannot be had.
wchar_t programName[MAX_PATH] = {};

void TakeProgramName() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  TakeFileName(path, programName);
}

// Whether the user left this program alone (EXCLUDE). Decided again only
// when the program's list changes: the serial it was decided on in the high
// half, then a bit for "decided", then the answer.
std::atomic<uint64_t> exclusion{0};

bool ThisProgramIsLeftAlone(const CellViews& views) {
  const uint32_t serial = static_cast<uint32_t>(views.Read(CELL_EXCLUDESERIAL));
  const uint64_t known = exclusion.load(std::memory_order_relaxed);
  if ((known & 2u) != 0 && static_cast<uint32_t>(known >> 32) == serial) return (known & 1u) != 0;
  wchar_t list[kExcludeCellSize];
  int32_t readSerial = 0;
  // A list being written now is read again a few times; after that the last
  // copy stands (its writer may have died halfway), kept under the serial
  // seen before it, so the next change of the list is decided again.
  views.ReadExcludeListSettled(list, &readSerial);
  const bool leftAlone = IsExcludedProgram(list, programName);
  exclusion.store((static_cast<uint64_t>(static_cast<uint32_t>(readSerial)) << 32) | 2u | (leftAlone ? 1u : 0u),
                  std::memory_order_relaxed);
  return leftAlone;
}

// Out of context (on the hook thread, for a window of another process) the
// list is checked against that window's process, else against this one.
bool LeftAlone(const CellViews& views, HWND window) {
  if (OnHookThread()) {
    const DWORD other = OtherProcessOf(window);
    if (other != 0) return ProcessIsLeftAlone(views, other);
  }
  return ThisProgramIsLeftAlone(views);
}

// A key the system hands the hook thread: every such call is out of
// context, for the foreground thread's input. What a key that makes nothing
// anyway would skip is tested before anything is looked up.
void ReactToKeyOutside(const CellViews& views, int code, WPARAM key, LPARAM flags) {
  if (code != HC_ACTION || (static_cast<uint32_t>(flags) & 0x80000000u) != 0 || views.Read(CELL_REACTKEY) == 0) {
    return;
  }
  GUITHREADINFO input;
  DWORD processId = 0;
  if (!ForegroundInput(&input, &processId) || ProcessIsLeftAlone(views, processId)) return;
  OutsidePort port(views, input);
  ReactToKey(port, code, static_cast<uint32_t>(key), static_cast<uint32_t>(flags));
}

bool IsButtonRelease(WPARAM message) { return message == WM_LBUTTONUP || message == WM_NCLBUTTONUP; }

HHOOK HookHandle(const CellViews* views, CellKey key) {
  return views != nullptr ? CellToHandle<HHOOK>(views->Read(key)) : nullptr;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  hookModule = instance;
  if (reason == DLL_PROCESS_ATTACH) TakeProgramName();
  // Unloaded from a process that goes on: give the views back. When the
  // process itself ends, the system releases them.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) cells.Release();
  return TRUE;
}

LRESULT CALLBACK MyHookProcM(int code, WPARAM wParam, LPARAM lParam) {
  CallInside inside;
  // Without cells (the program isn't running) there is nothing to do.
  const CellViews* views = cells.Get();
  HHOOK next = HookHandle(views, CELL_HHOOKMOUSE);
  // In a program left alone only releases are seen, so the click latch of a
  // press made elsewhere is still cleared.
  const MOUSEHOOKSTRUCT* record = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
  if (views != nullptr && code >= 0 && lParam != 0 && (IsButtonRelease(wParam) || !LeftAlone(*views, record->hwnd))) {
    LivePort port(*views);
    const POINT at = PhysicalMousePoint(record->hwnd, record->pt);
    ReactToMouse(port, code,
                 MouseEvent{static_cast<uint32_t>(wParam), at.x, at.y, reinterpret_cast<intptr_t>(record->hwnd)});
  }
  return CallNextHookEx(next, code, wParam, lParam);
}

LRESULT CALLBACK MyHookProcK(int code, WPARAM wParam, LPARAM lParam) {
  CallInside inside;
  const CellViews* views = cells.Get();
  HHOOK next = HookHandle(views, CELL_HHOOKKEY);
  if (views != nullptr && OnHookThread()) {
    ReactToKeyOutside(*views, code, wParam, lParam);
  } else if (views != nullptr && !ThisProgramIsLeftAlone(*views)) {
    LivePort port(*views);
    ReactToKey(port, code, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
  }
  return CallNextHookEx(next, code, wParam, lParam);
}

// Called on the thread that is to answer the hooks' calls out of context.
int StartHook() {
  SetHookThread(GetCurrentThreadId());
  const CellViews* views = cells.GetNow();
  HHOOK mouse = SetWindowsHookExA(WH_MOUSE, MyHookProcM, hookModule, 0);
  if (mouse == nullptr) return 0;
  if (views != nullptr) views->Write(CELL_HHOOKMOUSE, HandleToCell(mouse));
  HHOOK key = SetWindowsHookExA(WH_KEYBOARD, MyHookProcK, hookModule, 0);
  if (key == nullptr) return 0;
  if (views != nullptr) views->Write(CELL_HHOOKKEY, HandleToCell(key));
  return 1;
}

int EndHook() {
  const CellViews* views = cells.GetNow();
  BOOL keyRemoved = UnhookWindowsHookEx(HookHandle(views, CELL_HHOOKKEY));
  BOOL mouseRemoved = UnhookWindowsHookEx(HookHandle(views, CELL_HHOOKMOUSE));
  SetHookThread(0);
  ForgetProcesses();
  WaitUntilNoCallInside();
  return keyRemoved && mouseRemoved ? 1 : 0;
}

}  // extern "C"
