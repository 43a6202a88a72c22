// The main thread's message loop.
#pragma once
#include <windows.h>

// Gets the thread's next message as GetMessageA does: above 0 a message, 0 the
// quit message, -1 an error.
using GetMessageFunction = BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT);

// The program's exit code when getting a message failed.
constexpr int kExitMessageLoopFailed = 1;

// Translates and dispatches the thread's messages until the quit message and
// returns its exit code. When getting a message fails, the loop cannot go
// on: the main window is destroyed (which stops the star field, ends the
// hooks and removes the tray icon) and kExitMessageLoopFailed is returned.
int RunMessageLoop(HWND mainWindow, GetMessageFunction getMessage = GetMessageA);
