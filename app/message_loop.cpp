#include "app/message_loop.h"

#include "base/app_state.h"

int RunMessageLoop(HWND mainWindow, GetMessageFunction getMessage) {
  MSG message{};
  for (;;) {
    BOOL got = getMessage(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) break;
    HandlerRunning running;  // for the watchdog, whatever window takes it
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // Ended in order, as after the exit command; the quit message it posts is
  // not waited for, since no message can be got any more.
  if (IsWindow(mainWindow)) DestroyWindow(mainWindow);
  return kExitMessageLoopFailed;
}
