// The settings dialog: which input makes stars, how many per event, and a
// folder of PNG pictures with a test display. It runs modally on a thread of
// its own while the main thread goes on with its messages, and edits the copy
// of the settings its session holds: OK hands the chosen copy to the main
// window (PWM_SETTINGS_CHOSEN), which saves and applies it.
#pragma once
#include <windows.h>

#include "app/settings_session.h"
#include "base/resource_ids.h"
#include "base/settings.h"
#include "base/ui_language_rules.h"

// The dialog and its controls, by the names the code uses.
constexpr int kSettingDialogId = IDD_SETTINGS;
constexpr int kSpinId = IDC_SPIN;
constexpr int kMouseClickId = IDC_MOUSE_CLICK;
constexpr int kKeyId = IDC_KEY;
constexpr int kMouseMoveId = IDC_MOUSE_MOVE;
constexpr int kEnterKeyId = IDC_ENTER_KEY;
constexpr int kAllKeysId = IDC_ALL_KEYS;
constexpr int kFolderEditId = IDC_FOLDER_EDIT;
constexpr int kBrowseId = IDC_BROWSE;
constexpr int kCountLabelId = IDC_COUNT_LABEL;
constexpr int kTestDisplayId = IDC_TEST_DISPLAY;
constexpr int kIniFileId = IDC_INI_FILE;
constexpr int kLanguageId = IDC_LANGUAGE;

// The dialog's template in the language's resources (the Japanese one when
// that language has none); null when there is none at all.
const DLGTEMPLATE* SettingsDialogTemplate(UiLanguage language);

// Thread body: runs the dialog of the session (a SettingsSession*, opened,
// with a hold for this thread), then closes the session and lets go of it.
DWORD WINAPI SettingDialogThread(LPVOID session);

// The dialog procedure; it returns 0 for every message. The creation
// parameter is the dialog's SettingsSession.
INT_PTR CALLBACK SettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Copies the session's settings into the controls.
void UpdateSettingDialog(HWND dialog, const SettingsRecord& settings);

// Reads the controls into *chosen, starting from the copy the dialog edits
// (moveRange has no control; a control the user left alone gives back the
// stored value). 0 nothing changed, 1 switches or the count changed, 2 the
// folder changed; -1 when the folder cannot be kept in the settings (a name
// the ANSI code page cannot spell, or too long): the user has been told.
int GetIniInfoFromDialog(HWND dialog, SettingsRecord* chosen);

// The shell's folder browser, opened at startFolder (an ANSI path; empty: the
// program's folder). Copies the chosen path into output (kFolderPathSize wide
// characters) and returns 1; leaves output alone and returns 0 when nothing
// was chosen.
int SelectImageFolder(HWND owner, const char* startFolder, wchar_t* output);

// The folder browser's callback: selects the starting folder once it is up.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data);
