// The pause hotkey in the settings file's readable form, such as
// "Ctrl+Alt+Shift+F8": modifiers and one key joined by '+', in any letter case,
// blanks around each part ignored.
#pragma once
#include <cstdint>

#include "base/settings.h"

// The platform's modifier bits for a registered hotkey.
constexpr uint32_t kHotkeyAlt = 0x0001;
constexpr uint32_t kHotkeyControl = 0x0002;
constexpr uint32_t kHotkeyShift = 0x0004;
constexpr uint32_t kHotkeyWin = 0x0008;

// A combination unlikely to be taken by another program or typed with: no
// F12 and no Windows key (the system keeps those), three modifiers (drivers
// take Ctrl+Alt with a function key or an arrow), a key that types nothing.
constexpr char kDefaultHotkey[] = "Ctrl+Alt+Shift+F8";
// Texts of kHotkeyTextSize characters or more are not hotkeys.

struct Hotkey {
  uint32_t modifiers;   // kHotkey* bits
  uint32_t virtualKey;  // the platform's virtual-key code; 0 for no hotkey
};

enum HotkeyParse : int {
  HOTKEY_NONE = 0,       // empty text: the user wants no hotkey
  HOTKEY_VALID = 1,      // *hotkey holds the combination
  HOTKEY_MALFORMED = 2,  // not a combination this program can read
  // Readable, but refused: a registered hotkey is taken from every program's
  // typing, so it must never be a key the user types or edits with.
  HOTKEY_NEEDS_MODIFIER = 3,  // neither Ctrl, Alt nor Win (Shift alone still types)
  HOTKEY_ALTGR = 4,           // Ctrl+Alt with a letter, digit or Space: AltGr types with it
  HOTKEY_RESERVED = 5,        // a key every program relies on (copy, paste, Alt+F4, Alt+Tab...)
  HOTKEY_SYSTEM_KEY = 6,      // F12 (kept for debuggers) or the Windows key (kept for the system)
};

// Reads the text. A combination is modifiers and exactly one key, last: a
// letter, a digit, F1 to F24, or one of Space, Tab, Esc, Pause, Insert,
// Delete, Home, End, PageUp, PageDown. It must not use F12 or Win (Windows
// keeps both for itself), must hold Ctrl or Alt, must not be AltGr's
// (Ctrl+Alt with a letter, a digit or Space), and must not be a key every
// program relies on. *hotkey is {0, 0} unless the
// text is valid.
HotkeyParse ParseHotkey(const char* text, Hotkey* hotkey);

// Unusable in any way (refused or unreadable): the default takes its place.
inline bool HotkeyUnusable(HotkeyParse parse) { return parse != HOTKEY_NONE && parse != HOTKEY_VALID; }
// The string-table id of the sentence that tells the user why; 0 for a
// usable text.
unsigned HotkeyReasonTextId(HotkeyParse parse);
