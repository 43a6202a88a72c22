// The program's side of the hooks, reduced to what the library needs: it
// creates the shared cells with its hidden window as the main window, sets
// the reaction switches, loads nivlet2.dll (lying beside it) through
// LoadHookLibrary and prints every hook message it receives, flushed at once:
//   hooks=N                  StartHook's result, after loading
//   click X Y | move X Y | key X Y | buttonup 0xHWND
// Usage: hook_host CLICK MOVE KEY ENTER [MOVE_MS]   (each 0 or 1). It takes each
// move as the program does, so the hook may post the next (keys take no
// turn); MOVE_MS makes each move take that long, as slow star making would.
// It ends on WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/hook_library.h"
#include "app/mm_file.h"
#include "base/settings.h"
#include "cells/packed_point.h"
#include "cells/private_messages.h"

namespace {

constexpr char kClassName[] = "Tovik2HookHost";
DWORD moveMs = 0;
// The program's side of the cells and its hold on the library.
ProgramCells cells;
HookLibrary hooks;

void PrintPoint(const char* what, LPARAM lParam) {
  ScreenPoint point = UnpackPoint(static_cast<uint64_t>(lParam));
  std::printf("%s %d %d\n", what, point.x, point.y);
  std::fflush(stdout);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PWM_HOOK_CLICK:
      PrintPoint("click", lParam);
      return 0;
    case PWM_HOOK_MOVE:
      cells.ClearHookPending();
      PrintPoint("move", lParam);
      if (moveMs != 0) Sleep(moveMs);
      return 0;
    case PWM_HOOK_KEY:
      cells.ClearKeyPending();
      PrintPoint("key", lParam);
      return 0;
    case PWM_HOOK_KEY_NO_CARET:
      cells.ClearKeyPending();
      std::printf("key without caret\n");
      std::fflush(stdout);
      return 0;
    case PWM_HOOK_BUTTONUP:
      std::printf("buttonup 0x%llx\n", static_cast<unsigned long long>(lParam));
      std::fflush(stdout);
      return 0;
    case WM_DESTROY:
      hooks.FreeHookLibrary();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) return 64;
  if (argc == 6) moveMs = static_cast<DWORD>(std::atoi(argv[5]));
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 1;
  HWND mainWindow = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                                    nullptr);
  if (mainWindow == nullptr) return 1;
  cells.SetUpMMFile(mainWindow);
  SettingsRecord settings{};
  settings.reactMouseClick = std::atoi(argv[1]);
  settings.reactMouseMove = std::atoi(argv[2]);
  settings.reactKey = std::atoi(argv[3]);
  settings.reactEnterKey = std::atoi(argv[4]);
  cells.UpdateMMFile(settings);
  std::printf("hooks=%d\n", hooks.LoadHookLibrary());
  std::fflush(stdout);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  hooks.FreeHookLibrary();
  return 0;
}
