// The global hotkey that pauses and resumes the reaction, as the tray menu's
// 無効化 / 有効化 does.
#pragma once
#include <windows.h>

#include "base/owned_handles.h"

constexpr int kPauseHotkeyId = 1;  // wParam of the main window's WM_HOTKEY

enum PauseHotkeyResult : int {
  PAUSE_HOTKEY_NONE = 0,        // the setting names no hotkey
  PAUSE_HOTKEY_REGISTERED = 1,
  PAUSE_HOTKEY_TAKEN = 2,       // another program holds the combination
};

// Registers the HOTKEY setting's combination for the window (a malformed one
// was replaced by the default on loading).
PauseHotkeyResult RegisterPauseHotkey(HWND window, const char* text);

// Gives the combination back; harmless when none is registered.
void UnregisterPauseHotkey(HWND window);

// The main window's hold on its hotkey: given back when the hold ends.
class PauseHotkey {
 public:
  PauseHotkeyResult Register(HWND window, const char* text);
  void Unregister() { holder_.Reset(); }

 private:
  // The window that holds the combination; letting go gives it back.
  Owned<HWND, NullIsInvalid<HWND, UnregisterPauseHotkey>> holder_;
};
