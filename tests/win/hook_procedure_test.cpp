// The real mouse procedure of nivlet2.dll called with made-up events, its
// messages going to a main window that runs on a thread of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "app/mm_file.h"
#include "base/app_state.h"
#include "cells/packed_point.h"
#include "cells/private_messages.h"
#include "cells/shared_cells.h"
#include "test_window.h"

namespace {

constexpr UINT kHangMessage = WM_APP + 1;

// A stand-in for the program's main window. It records the hook's messages
// and, on kHangMessage, stops pumping until released.
struct MainHost {
  HWND window = nullptr;
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE hanging = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> clicks{0};
  std::atomic<int64_t> lastClick{-1};
  std::atomic<int64_t> lastButtonUp{-1};
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
      case PWM_HOOK_BUTTONUP:
        host->lastButtonUp = lParam;
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
  mainWindow = host.window;
  SetUpMMFile();
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

  // The release is posted with the window under it, and clears the latch.
  procedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&call.record));
  EXPECT_TRUE(WaitFor(host.lastButtonUp, reinterpret_cast<int64_t>(target.handle()), 5000));

  // Hung: the press goes on after about a second instead of never.
  PostMessageA(host.window, kHangMessage, 0, 0);
  ASSERT_EQ(WaitForSingleObject(host.hanging, 5000), WAIT_OBJECT_0);
  call.record.pt = POINT{10, 20};
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
  mainWindow = nullptr;
}

}  // namespace
