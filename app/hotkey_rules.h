// The pause hotkey in the settings file's readable form, such as
// "Ctrl+Alt+F12": modifiers and one key joined by '+', in any letter case,
// blanks around each part ignored.
#pragma once
#include <cstdint>

#include "base/settings.h"

// The platform's modifier bits for a registered hotkey.
constexpr uint32_t kHotkeyAlt = 0x0001;
constexpr uint32_t kHotkeyControl = 0x0002;
constexpr uint32_t kHotkeyShift = 0x0004;
constexpr uint32_t kHotkeyWin = 0x0008;

// A combination unlikely to be taken by another program.
constexpr char kDefaultHotkey[] = "Ctrl+Alt+F12";
// Texts of kHotkeyTextSize characters or more are not hotkeys.

struct Hotkey {
  uint32_t modifiers;   // kHotkey* bits
  uint32_t virtualKey;  // the platform's virtual-key code; 0 for no hotkey
};

enum HotkeyParse : int {
  HOTKEY_NONE = 0,       // empty text: the user wants no hotkey
  HOTKEY_VALID = 1,      // *hotkey holds the combination
  HOTKEY_MALFORMED = 2,  // not a combination this program can register
};

// Reads the text. A combination needs at least one modifier (a bare key
// would be taken from every program's typing) and exactly one key, last:
// a letter, a digit, F1 to F24, or one of Space, Pause, Insert, Delete,
// Home, End, PageUp, PageDown. *hotkey is {0, 0} unless the text is valid.
HotkeyParse ParseHotkey(const char* text, Hotkey* hotkey);
