#include "app/main_window.h"

#include "app/app_state.h"
#include "app/hook_library.h"
#include "app/mm_file.h"
#include "app/private_messages.h"
#include "app/settings_store.h"

namespace {

// Asks the system to page out as much of the process as it can.
void TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void OnCreate(HWND window) {
  TrimWorkingSet();
  mainWindow = window;
  SetUpMMFile();
  GetIniInfo();  // after the cells: loading mirrors the switches into them
  PostMessageA(window, PWM_START, 0, 0);
  // No taskbar button for the hidden window.
  LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  SetWindowLongPtrA(window, GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
}

void OnDestroy() {
  FreeHookLibrary();
  if (instanceMutex != nullptr) ReleaseMutex(instanceMutex);
  PostQuitMessage(0);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      break;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

ATOM RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(113), IMAGE_ICON, 32, 32, 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(113), IMAGE_ICON, 16, 16, 0));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kMainClassName;
  return RegisterClassExA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
  // Layered but never given content, so it never shows.
  return CreateWindowExA(WS_EX_LAYERED, kMainClassName, "", WS_POPUP | WS_VISIBLE, -1, -1, 1, 1,
                         nullptr, nullptr, instance, nullptr);
}
