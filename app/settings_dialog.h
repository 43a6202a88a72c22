// The settings dialog: which input makes stars, how many per event, and a
// folder of PNG pictures with a test display. It runs modally on a thread of
// its own while the main thread goes on with its messages.
#pragma once
#include <windows.h>

#include "images/star_images.h"

// Controls of dialog 127.
constexpr int kSettingDialogId = 127;
constexpr int kSpinId = 1001;           // up-down control of the star count
constexpr int kMouseClickId = 1003;     // check box: react to clicks
constexpr int kKeyId = 1005;            // check box: react to key input
constexpr int kMouseMoveId = 1007;      // check box: react to mouse movement
constexpr int kEnterKeyId = 1008;       // radio: the Enter key only
constexpr int kAllKeysId = 1009;        // radio: every key
constexpr int kFolderEditId = 1010;     // the image folder
constexpr int kBrowseId = 1011;         // "..." opens the folder browser
constexpr int kCountLabelId = 1014;     // shows the star count
constexpr int kTestDisplayId = 1015;    // shows the folder's pictures at once

// Thread body: runs the dialog owned by the given window, then clears
// settingsDialogOpen. The caller sets the flag before starting the thread.
DWORD WINAPI SettingDialogThread(LPVOID owner);

// The dialog procedure; it returns 0 for every message.
INT_PTR CALLBACK SettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Copies the current Settings into the controls.
void UpdateSettingDialog(HWND dialog);

// Reads the controls and, when they differ from Settings, takes them over and
// saves them. 0 nothing changed, 1 saved, 2 saved and the folder changed.
int GetIniInfoFromDialog(HWND dialog);

// The shell's folder browser, opened at the saved folder (or the program's).
// Copies the chosen path into output (kFolderPathSize characters) and
// returns 1; leaves output alone and returns 0 when nothing was chosen.
int SelectImageFolder(HWND owner, char* output);

// The folder browser's callback: selects the starting folder once it is up.
int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data);
