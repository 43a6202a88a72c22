// The user settings record, as the INI file beside the program keeps it. The
// main window's settings store holds the one in force and alone writes it; the
// star field reads it, and the settings dialog edits a copy.
#pragma once
#include <cstdint>

constexpr int kTextSize = 260;  // every path and text buffer: 259 characters and a NUL
constexpr int kHotkeyTextSize = 64;     // HOTKEY, such as "Ctrl+Alt+Shift+F8"
constexpr int kExcludeTextSize = 1024;  // EXCLUDE, program names separated by ';'

struct SettingsRecord {
  char imageFolder[kTextSize];  // IMAGEFOLDER: empty means the built-in artwork
  int32_t moveRange;            // MOVERANGE: width of the random speed range, at least 70
  int32_t quantity;             // QUANTITY: stars per click or key event
  int32_t reactMouseClick;      // MOUSECLICK
  int32_t reactMouseMove;       // MOUSEMOVE
  int32_t reactKey;             // KEYENTRY
  int32_t reactEnterKey;        // ENTERKEY: with reactKey, 1 = Enter only
  int32_t fullscreenPause;      // FULLSCREENPAUSE: no stars while a full-screen program is in front
  char hotkey[kHotkeyTextSize];    // HOTKEY: toggles the reaction; empty for none
  char exclude[kExcludeTextSize];  // EXCLUDE: programs whose input makes no stars
  int32_t language;                // LANGUAGE: a LanguageChoice (ui_language_rules.h)
  int32_t webCaret;                // WEBCARET: ask web-engine windows where their caret is (0: never)
};
