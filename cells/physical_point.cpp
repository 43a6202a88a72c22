#include "cells/physical_point.h"

namespace {

template <typename Call>
Call Find(HMODULE module, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The calls older systems lack, found once per process: the awareness of a
// window and of the thread (Windows 10 1607), the per-monitor conversions
// (8.1), the system-DPI ones and the physical cursor (Vista).
struct SystemUser32 {
  using Context = HANDLE;
  using WindowContext = Context(WINAPI*)(HWND);
  using ThreadContext = Context(WINAPI*)();
  using AwarenessOf = int(WINAPI*)(Context);
  using Convert = BOOL(WINAPI*)(HWND, POINT*);
  using CursorAt = BOOL(WINAPI*)(POINT*);

  WindowContext windowContext = nullptr;
  ThreadContext threadContext = nullptr;
  AwarenessOf awarenessOf = nullptr;
  Convert toPhysical = nullptr;
  Convert toLogical = nullptr;
  CursorAt physicalCursor = nullptr;

  SystemUser32() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return;
    windowContext = Find<WindowContext>(user32, "GetWindowDpiAwarenessContext");
    threadContext = Find<ThreadContext>(user32, "GetThreadDpiAwarenessContext");
    awarenessOf = Find<AwarenessOf>(user32, "GetAwarenessFromDpiAwarenessContext");
    toPhysical = Find<Convert>(user32, "LogicalToPhysicalPointForPerMonitorDPI");
    toLogical = Find<Convert>(user32, "PhysicalToLogicalPointForPerMonitorDPI");
    if (toPhysical == nullptr || toLogical == nullptr) {
      toPhysical = Find<Convert>(user32, "LogicalToPhysicalPoint");
      toLogical = Find<Convert>(user32, "PhysicalToLogicalPoint");
    }
    physicalCursor = Find<CursorAt>(user32, "GetPhysicalCursorPos");
  }
};

const SystemUser32& User32() {
  static const SystemUser32 user32;
  return user32;
}

int WindowAwareness(HWND window) {
  const SystemUser32& user32 = User32();
  if (user32.windowContext == nullptr || user32.awarenessOf == nullptr) return kAwarenessUnknown;
  HANDLE context = user32.windowContext(window);
  return context != nullptr ? user32.awarenessOf(context) : kAwarenessUnknown;
}

int ThreadAwareness() {
  const SystemUser32& user32 = User32();
  if (user32.threadContext == nullptr || user32.awarenessOf == nullptr) return kAwarenessUnknown;
  return user32.awarenessOf(user32.threadContext());
}

BOOL ClientToScreenCall(HWND window, POINT* point) { return ClientToScreen(window, point); }
BOOL ToPhysical(HWND window, POINT* point) { return User32().toPhysical(window, point); }
BOOL ToLogical(HWND window, POINT* point) { return User32().toLogical(window, point); }
BOOL PhysicalCursor(POINT* point) {
  return User32().physicalCursor != nullptr ? User32().physicalCursor(point) : GetCursorPos(point);
}

DpiCalls MakeSystemCalls() {
  DpiCalls calls;
  calls.windowAwareness = WindowAwareness;
  calls.threadAwareness = ThreadAwareness;
  calls.clientToScreen = ClientToScreenCall;
  if (User32().toPhysical != nullptr) calls.logicalToPhysical = ToPhysical;
  if (User32().toLogical != nullptr) calls.physicalToLogical = ToLogical;
  calls.physicalCursor = PhysicalCursor;
  return calls;
}

int Awareness(int (*ask)(), int fallback) { return ask != nullptr ? ask() : fallback; }

}  // namespace

const DpiCalls& SystemDpiCalls() {
  static const DpiCalls calls = MakeSystemCalls();
  return calls;
}

POINT PhysicalMousePoint(const DpiCalls& calls, HWND window, POINT point) {
  if (window != nullptr) {
    const int awareness = calls.windowAwareness != nullptr ? calls.windowAwareness(window) : kAwarenessUnknown;
    // A per-monitor aware window's points are physical already; asking costs
    // no trip to the kernel, converting does.
    if (awareness == kAwarenessPerMonitor) return point;
    if (calls.logicalToPhysical == nullptr) return point;  // a system that scales no coordinates
    POINT converted = point;
    if (calls.logicalToPhysical(window, &converted)) return converted;
  } else if (Awareness(calls.threadAwareness, kAwarenessUnknown) == kAwarenessPerMonitor) {
    return point;
  }
  POINT cursor{};
  return calls.physicalCursor != nullptr && calls.physicalCursor(&cursor) ? cursor : point;
}

POINT PhysicalClientPoint(const DpiCalls& calls, HWND window, POINT client) {
  POINT screen = client;
  if (calls.clientToScreen == nullptr || !calls.clientToScreen(window, &screen)) return client;
  const int awareness = calls.windowAwareness != nullptr ? calls.windowAwareness(window) : kAwarenessUnknown;
  if (awareness == kAwarenessPerMonitor || calls.logicalToPhysical == nullptr) return screen;
  POINT logical = screen;
  if (Awareness(calls.threadAwareness, kAwarenessUnknown) == kAwarenessPerMonitor) {
    // The origin came back physical: take it to the window's logical
    // coordinates, where the client offset belongs.
    POINT origin{0, 0};
    if (calls.physicalToLogical == nullptr || !calls.clientToScreen(window, &origin) ||
        !calls.physicalToLogical(window, &origin)) {
      return screen;
    }
    logical = POINT{origin.x + client.x, origin.y + client.y};
  }
  POINT physical = logical;
  return calls.logicalToPhysical(window, &physical) ? physical : screen;
}
