// The user-interface texts: fixed slots filled from the string table at
// start, kept in UTF-16 so that they read right whatever the ANSI code page.
// One table for the process, like the module it comes from: filled before the
// main window exists and only read afterwards, by the shell, the star windows
// and the settings dialog's thread alike.
#pragma once
#include "base/settings.h"

constexpr int kUiTextSlots = 23;

// The slots by what they say.
enum UiText : int {
  TEXT_EXIT = 0,               // 終了, tray menu
  TEXT_SETTINGS = 1,           // 設定, tray menu
  TEXT_ENABLE = 2,             // 有効化, tray menu while disabled
  TEXT_DISABLE = 3,            // 無効化, tray menu while enabled
  TEXT_ERASE = 4,              // 消去, star menu
  TEXT_ERASE_ALL = 5,          // 全て消去, star menu
  TEXT_TIDY = 6,               // 整理する, star menu
  TEXT_VERSION = 7,            // バージョン情報, tray menu
  TEXT_SOME_UNREADABLE = 8,    // some pictures of the folder could not be read
  TEXT_FOLDER_UNUSABLE = 9,    // no picture of the folder was usable: the built-in star is used
  TEXT_START_FAILED = 10,      // the built-in star could not be made: the program ends
  TEXT_NO_DISPLAY_ROOM = 11,   // the test display ran out of room
  TEXT_FOLDER_NOT_ANSI = 12,   // the folder's name has characters the ANSI code page lacks
  TEXT_FOLDER_TOO_LONG = 13,   // the folder's path does not fit the settings
  TEXT_SETTINGS_UNSAVED = 14,  // the INI file could not be written
  TEXT_FOLDER_MISSING = 15,    // the picture folder does not exist
  TEXT_FOLDER_IS_FILE = 16,    // the picture folder is a file
  TEXT_USING_DEFAULT = 17,     // the built-in star is used instead
  TEXT_NO_PICTURE = 18,        // the test display's folder gave no picture
  TEXT_MORE_FILES = 19,        // "%d" more files not named
  TEXT_NO_HOOK_LIBRARY = 20,   // nivlet2.dll could not be loaded or set its hooks: no reaction to input
  TEXT_HOTKEY_TAKEN = 21,      // the pause hotkey is held by another program (%ls: the hotkey)
  TEXT_EXCLUDE_DROPPED = 22,   // an EXCLUDE entry is no program name and is left out (%ls: the entry)
};

struct UiTextBlock {
  wchar_t slot[kUiTextSlots][kTextSize];
};

extern UiTextBlock UiTexts;

// Fills every slot; a text that cannot be loaded leaves its slot empty.
void LoadUiTexts();

// LoadStringW of the id from appInstance into the slot, at most 259
// characters; 1 when a text was loaded, 0 otherwise (slot empty, or no such slot).
int LoadUiString(int slot, unsigned stringId);
