// The user-interface texts: fixed slots filled from the string table at
// start, kept in UTF-16 so that they read right whatever the ANSI code page.
// One table for the process, like the module it comes from: filled before the
// main window exists and only read afterwards, by the shell, the star windows
// and the settings dialog's thread alike.
#pragma once
#include "base/settings.h"
#include "base/ui_language_rules.h"

constexpr int kUiTextSlots = 31;

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
  TEXT_FOLDER_LOADED = 22,     // heads a report held back while a full-screen program was in front
  TEXT_INI_FILE = 23,          // the settings dialog's label of the settings file (%ls: its path)
  TEXT_START_AT_SIGN_IN = 24,  // サインイン時に起動, tray menu
  TEXT_SIGN_IN_UNSAVED = 25,   // the start at sign-in could not be changed
  TEXT_LANGUAGE_JAPANESE = 26,  // the settings dialog's language choices, in LanguageChoice order
  TEXT_LANGUAGE_ENGLISH = 27,
  TEXT_LANGUAGE_AUTO = 28,
  TEXT_EXCLUDE_DROPPED = 29,   // an EXCLUDE entry is no program name and is left out (%ls: the entry)
  TEXT_ALREADY_RUNNING = 30,   // the tray balloon of a second start: this copy runs already
};

struct UiTextBlock {
  wchar_t slot[kUiTextSlots][kTextSize];
};

extern UiTextBlock UiTexts;
// The language the slots hold; the settings dialog opens in it too.
extern UiLanguage UiTextLanguage;

// Fills every slot from the string table of the language (each language has
// a table of its own in the resources, under its language id); a text the
// table lacks comes from the Japanese one, and one that cannot be loaded at
// all leaves its slot empty. The main thread reloads them when the user
// picks another language; other threads only read them to show them.
void LoadUiTexts(UiLanguage language = UI_JAPANESE);

// The text of the id in UiTextLanguage's table (else the Japanese one) into
// the slot, at most 259 characters; 1 when a text was loaded, 0 otherwise
// (slot empty, or no such slot).
int LoadUiString(int slot, unsigned stringId);

// The same for a text that has no slot (told once, e.g. a refused hotkey),
// into out of size characters.
int LoadTextInUiLanguage(unsigned stringId, wchar_t* out, int size);

// The text of the id in the string table of the language id alone, at most
// size - 1 characters; its length, 0 when that table lacks it.
int LoadTableString(unsigned stringId, unsigned short languageId, wchar_t* out, int size);
