// The settings dialog: which input makes stars, how many per event, and a
// folder of PNG pictures with a test display. It runs modally on a thread of
// its own while the main thread goes on with its messages.
#pragma once
#include <windows.h>

#include "base/resource_ids.h"
#include "images/star_images.h"

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

// Thread body: runs the dialog owned by the given window, then clears
// settingsDialogOpen. The caller sets the flag before starting the thread.
DWORD WINAPI SettingDialogThread(LPVOID owner);

// The dialog procedure; it returns 0 for every message.
INT_PTR CALLBACK SettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Copies the current Settings into the controls.
void UpdateSettingDialog(HWND dialog);

// Reads the controls and, when they differ from Settings, takes them over and
// saves the keys that changed. 0 nothing changed, 1 saved, 2 saved and the
// folder changed; -1 when the folder cannot be kept in the settings (a name
// the ANSI code page cannot spell, or too long): the user has been told and
// nothing is taken over.
int GetIniInfoFromDialog(HWND dialog);

// The shell's folder browser, opened at the saved folder (or the program's).
// Copies the chosen path into output (kFolderPathSize wide characters) and
// returns 1; leaves output alone and returns 0 when nothing was chosen.
int SelectImageFolder(HWND owner, wchar_t* output);

// The folder browser's callback: selects the starting folder once it is up.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data);
