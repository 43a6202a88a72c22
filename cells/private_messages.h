// Numbers of the private window messages and menu commands. The hook library
// is a separate deliverable and sends the same numbers, so they are fixed.
#pragma once

enum PrivateMessage : unsigned {
  PWM_HOOK_CLICK = 1125,        // WM_USER + 101, sent by the hook library
  PWM_HOOK_MOVE = 1126,         // WM_USER + 102, posted by the hook library, one at a time
  PWM_START = 1128,             // WM_USER + 104, posted to itself at creation
  PWM_ABOUT_CLOSED = 1129,      // WM_USER + 105, posted by the version box
  PWM_HOOK_KEY = 1130,          // WM_USER + 106, posted by the hook library, one at a time
  PWM_STAR_GRABBED = 1225,      // WM_USER + 201, sent by a star window
  PWM_HOOK_BUTTONUP = 1226,     // WM_USER + 202, posted by the hook, sent by a star
  PWM_STAR_TIDY = 1228,         // WM_USER + 204, posted by a star window
  PWM_STAR_ERASE_ALL = 1229,    // WM_USER + 205, posted by a star window
  PWM_STAR_ERASE = 1230,        // WM_USER + 206, posted by a star window
  PWM_QUERY_MANY_STARS = 1231,  // WM_USER + 207, sent by a star window
  PWM_SETTINGS_CHOSEN = 1232,   // WM_USER + 208, sent by the settings dialog's thread: OK chose settings
  PWM_PICTURES_LOADED = 1233,   // WM_USER + 209, posted by the folder's loading thread
  PWM_QUERY_STATUS = 1234,      // WM_USER + 210, sent by an observer; answers PackStatus (program_status.h)
  PWM_HOOK_KEY_NO_CARET = 1235, // WM_USER + 211, posted by the hook library in PWM_HOOK_KEY's turn: no Win32 caret
  PWM_CARET_FOUND = 1236,       // WM_USER + 212, posted by the caret thread: a key's caret, found another way
  PWM_ANOTHER_START = 1237,     // WM_USER + 213, posted by a second start: the running copy shows itself
  PWM_TRAY = 32868,             // WM_APP + 100, the tray icon's callback
};

enum MenuCommand : unsigned {
  IDM_TRAY_EXIT = 102,
  IDM_TRAY_ENABLE = 114,
  IDM_TRAY_VERSION = 115,
  IDM_TRAY_SETTINGS = 129,
  IDM_TRAY_SIGN_IN = 1250,  // start at sign-in, on or off
  // The star window's context menu (owned by the star window, not the tray).
  IDM_STAR_ERASE = 102,
  IDM_STAR_ERASE_ALL = 103,
  IDM_STAR_TIDY = 104,
};
