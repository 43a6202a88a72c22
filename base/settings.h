// The user settings record: one global instance, loaded from and saved to the
// INI file beside the program, read by the star field and the settings dialog.
#pragma once
#include <cstdint>

constexpr int kTextSize = 260;  // every path and text buffer: 259 characters and a NUL

struct SettingsRecord {
  char imageFolder[kTextSize];  // IMAGEFOLDER: empty means the built-in artwork
  int32_t moveRange;            // MOVERANGE: width of the random speed range, at least 70
  int32_t quantity;             // QUANTITY: stars per click or key event
  int32_t reactMouseClick;      // MOUSECLICK
  int32_t reactMouseMove;       // MOUSEMOVE
  int32_t reactKey;             // KEYENTRY
  int32_t reactEnterKey;        // ENTERKEY: with reactKey, 1 = Enter only
};

extern SettingsRecord Settings;
