#include "hook/physical_point.h"

namespace {

// The user32 calls that older systems lack, found once per process: the
// thread's awareness (Windows 10 1607), the per-monitor conversion (8.1), the
// system-DPI conversion and the physical cursor (Vista).
struct User32Calls {
  using ThreadContext = HANDLE(WINAPI*)();
  using AwarenessOf = int(WINAPI*)(HANDLE);
  using ToPhysical = BOOL(WINAPI*)(HWND, POINT*);
  using CursorAt = BOOL(WINAPI*)(POINT*);

  ThreadContext threadContext = nullptr;
  AwarenessOf awarenessOf = nullptr;
  ToPhysical perMonitor = nullptr;
  ToPhysical systemDpi = nullptr;
  CursorAt physicalCursor = nullptr;

  template <typename Call>
  static Call Find(HMODULE module, const char* name) {
    return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }

  User32Calls() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return;
    threadContext = Find<ThreadContext>(user32, "GetThreadDpiAwarenessContext");
    awarenessOf = Find<AwarenessOf>(user32, "GetAwarenessFromDpiAwarenessContext");
    perMonitor = Find<ToPhysical>(user32, "LogicalToPhysicalPointForPerMonitorDPI");
    systemDpi = Find<ToPhysical>(user32, "LogicalToPhysicalPoint");
    physicalCursor = Find<CursorAt>(user32, "GetPhysicalCursorPos");
  }
};

const User32Calls& Calls() {
  static const User32Calls calls;
  return calls;
}

constexpr int kPerMonitorAware = 2;  // DPI_AWARENESS_PER_MONITOR_AWARE

// A per-monitor aware thread (every thread under some systems) already sees
// physical pixels; asking costs no trip to the kernel, converting does.
bool ThreadSeesPhysicalPixels(const User32Calls& calls) {
  if (calls.threadContext == nullptr || calls.awarenessOf == nullptr) return false;
  return calls.awarenessOf(calls.threadContext()) == kPerMonitorAware;
}

bool ToPhysicalPixels(HWND window, POINT* point) {
  const User32Calls& calls = Calls();
  if (ThreadSeesPhysicalPixels(calls)) return true;
  if (window == nullptr) return false;
  if (calls.perMonitor != nullptr) return calls.perMonitor(window, point) != 0;
  if (calls.systemDpi != nullptr) return calls.systemDpi(window, point) != 0;
  return true;  // a system that scales no coordinates
}

}  // namespace

POINT PhysicalMousePoint(HWND window, POINT point) {
  POINT converted = point;
  if (ToPhysicalPixels(window, &converted)) return converted;
  POINT cursor{};
  const User32Calls& calls = Calls();
  bool found = calls.physicalCursor != nullptr ? calls.physicalCursor(&cursor) != 0 : GetCursorPos(&cursor) != 0;
  return found ? cursor : point;
}

POINT PhysicalCaretPoint(HWND window, POINT point) {
  POINT converted = point;
  return ToPhysicalPixels(window, &converted) ? converted : point;
}
