#include "app/message_out.h"

#include <windows.h>

#include "base/app_state.h"

void MessageOut(const wchar_t* text) {
  MessageBoxW(mainWindow, text, L"Pipwink2", MB_OK | MB_SETFOREGROUND);
}
