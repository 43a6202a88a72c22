// The global hotkey that pauses and resumes the reaction, as the tray menu's
// 無効化 / 有効化 does.
#pragma once
#include <windows.h>

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
  PauseHotkey() = default;
  ~PauseHotkey() { Unregister(); }
  PauseHotkey(const PauseHotkey&) = delete;
  PauseHotkey& operator=(const PauseHotkey&) = delete;

  PauseHotkeyResult Register(HWND window, const char* text);
  void Unregister();

 private:
  HWND window_ = nullptr;  // the window that holds it, null for none
};
