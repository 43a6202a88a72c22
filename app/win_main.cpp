// Entry point: one copy at a time, the hidden main window, the message loop.
#include <windows.h>

#include <ctime>

#include "app/cpu_monitor.h"
#include "app/hook_library.h"
#include "app/main_window.h"
#include "app/message_out.h"
#include "app/settings_store.h"
#include "app/tray_icon.h"
#include "base/app_state.h"
#include "base/resource_ids.h"
#include "base/ui_texts.h"
#include "stars/random_source.h"
#include "stars/star.h"

namespace {

void Init() {
  SeedRandomSource(static_cast<uint32_t>(std::time(nullptr)));
  reactionEnabled = 0;
  starListHead = nullptr;
  starListTail = nullptr;
  chainValue = 1;
  lastGeneratedStar = nullptr;
  GetIniFileName(iniPath);
  starCursor = PrepairAlphaIcon(IDR_CURSOR_ART, 4, 1);
  LoadUiTexts();
  // The watchdog runs for the life of the program; nothing waits for it.
  HANDLE watchdog = CreateThread(nullptr, 0, CPUMonitorThread, nullptr, 0, nullptr);
  if (watchdog != nullptr) CloseHandle(watchdog);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // A second copy ends silently, without touching the first.
  HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
    if (mutex != nullptr) CloseHandle(mutex);
    return 0;
  }
  instanceMutex = mutex;
  appInstance = instance;
  Init();

  RegisterMainWindowClass(instance);
  mainWindow = CreateMainWindow(instance);
  // Without the library, or without its hooks (a global hook's library must
  // lie in a folder of an ordinary length), the program would sit in the tray
  // and never react: the user is told once.
  if (LoadHookLibrary() != 1) MessageOut(UiTexts.slot[TEXT_NO_HOOK_LIBRARY]);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  FreeHookLibrary();
  return static_cast<int>(message.wParam);
}
