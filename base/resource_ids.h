// The numbers that name the program's resources, shared by res/tovik2.rc and
// the code: artwork, icons, the settings dialog and its controls, and the
// string table. Plain #defines, because the resource compiler reads this too.
#pragma once

// Alpha artwork in the one-image icon layout ("ICO32").
#define IDR_CURSOR_ART 102       // the star cursor, 32 x 32
#define IDR_TRAY_ART 146         // the tray icon, 16 x 16

// Built-in pictures as compressed pixel memory ("BITARRAY").
#define IDR_DIGITS_ART 143       // the digit strip's colours
#define IDR_DIGITS_MASK_ART 144  // the digit strip's coverage
#define IDR_POOF_ART 145         // the five poof frames
#define IDR_STAR_ART 149         // the built-in star
#define IDR_VERSION_ART 156      // the version picture
#define IDR_STAR_LARGE_ART 243   // the built-in star at twice the size, for scaled displays
#define IDR_VERSION_EN_ART 244   // the version picture in English

// The program file's icon.
#define IDI_PROGRAM 113

// The settings dialog and its controls.
#define IDD_SETTINGS 127
#define IDC_SPIN 1001          // up-down control of the star count
#define IDC_MOUSE_CLICK 1003   // check box: react to clicks
#define IDC_KEY 1005           // check box: react to key input
#define IDC_MOUSE_MOVE 1007    // check box: react to mouse movement
#define IDC_ENTER_KEY 1008     // radio: the Enter key only
#define IDC_ALL_KEYS 1009      // radio: every key
#define IDC_FOLDER_EDIT 1010   // the image folder
#define IDC_BROWSE 1011        // "..." opens the folder browser
#define IDC_COUNT_LABEL 1014   // shows the star count
#define IDC_TEST_DISPLAY 1015  // shows the folder's pictures at once
#define IDC_INI_FILE 260       // names the settings file in use
#define IDC_LANGUAGE 261       // drop-down list: the interface's language
#define IDC_LANGUAGE_LABEL 262 // its label

// The string table. The slots of the texts record name them by what they say.
#define IDS_ERASE 154
#define IDS_ERASE_ALL 155
#define IDS_TIDY 156
#define IDS_EXIT 157
#define IDS_ENABLE 158
#define IDS_DISABLE 159
#define IDS_SETTINGS 160
#define IDS_SOME_UNREADABLE 161
#define IDS_FOLDER_UNUSABLE 162
#define IDS_START_FAILED 163
#define IDS_NO_DISPLAY_ROOM 164
#define IDS_VERSION 165
#define IDS_FOLDER_NOT_ANSI 166
#define IDS_FOLDER_TOO_LONG 167
#define IDS_SETTINGS_UNSAVED 168
#define IDS_NO_HOOK_LIBRARY 169
#define IDS_HOTKEY_TAKEN 170
#define IDS_FOLDER_MISSING 171
#define IDS_FOLDER_IS_FILE 172
#define IDS_USING_DEFAULT 173
#define IDS_NO_PICTURE 174
#define IDS_MORE_FILES 175
#define IDS_FOLDER_LOADED 200
#define IDS_HOTKEY_REFUSED 176         // the HOTKEY setting is not used (%ls: the text, %ls: why, %ls: the default)
#define IDS_HOTKEY_UNREADABLE 177      // why: no combination of modifiers and one key
#define IDS_HOTKEY_NEEDS_MODIFIER 178  // why: neither Ctrl, Alt nor Win
#define IDS_HOTKEY_ALTGR 179           // why: Ctrl+Alt with a character key is AltGr
#define IDS_HOTKEY_RESERVED 180        // why: a key every program relies on
#define IDS_HOTKEY_SYSTEM_KEY 181      // why: F12 or the Windows key, which Windows keeps
#define IDS_HOOK_LIBRARY_UNPROTECTED 182  // run as administrator from a folder others can change: no hooks
#define IDS_INI_FILE 210         // the settings dialog's label of the settings file (%ls: its path)
#define IDS_START_AT_SIGN_IN 211  // the tray menu's item
#define IDS_SIGN_IN_UNSAVED 212   // the Run key could not be written
#define IDS_LANGUAGE_JAPANESE 213  // the settings dialog's language choices
#define IDS_LANGUAGE_ENGLISH 214
#define IDS_LANGUAGE_AUTO 215
#define IDS_ALREADY_RUNNING 216  // a second start: the running copy says it runs
#define IDS_EXCLUDE_DROPPED 190
