#include "app/message_out.h"

#include <windows.h>

#include "base/app_state.h"

void MessageOut(const char* text) {
  MessageBoxA(mainWindow, text, "Pipwink2", MB_OK | MB_SETFOREGROUND);
}
