#include "app/pause_hotkey.h"

#include "app/hotkey_rules.h"

PauseHotkeyResult RegisterPauseHotkey(HWND window, const char* text) {
  Hotkey hotkey;
  if (ParseHotkey(text, &hotkey) != HOTKEY_VALID) return PAUSE_HOTKEY_NONE;
  // Held down, the key toggles once.
  constexpr UINT kNoRepeat = 0x4000;
  if (!RegisterHotKey(window, kPauseHotkeyId, hotkey.modifiers | kNoRepeat, hotkey.virtualKey)) {
    return PAUSE_HOTKEY_TAKEN;
  }
  return PAUSE_HOTKEY_REGISTERED;
}

void UnregisterPauseHotkey(HWND window) { UnregisterHotKey(window, kPauseHotkeyId); }

PauseHotkeyResult PauseHotkey::Register(HWND window, const char* text) {
  Unregister();
  PauseHotkeyResult result = RegisterPauseHotkey(window, text);
  if (result == PAUSE_HOTKEY_REGISTERED) holder_.Reset(window);
  return result;
}
