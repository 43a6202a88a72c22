#include "app/settings_dialog.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/dialog_controls.h"
#include "app/ini_rules.h"
#include "app/main_window.h"
#include "app/settings_store.h"
#include "app/test_display.h"
#include "base/app_state.h"
#include "images/star_images.h"

namespace {

constexpr char kBrowseTitle[] = "Select a folder including PNG image.";
constexpr char kBusyCaption[] = "---";

// The count label holds one digit the way the dialog reads it back.
int CountLabelDigit(HWND dialog) {
  char digit[2] = {};
  GetDlgItemTextA(dialog, kCountLabelId, digit, sizeof digit);
  return std::atoi(digit);
}

void OnInitDialog(HWND dialog) {
  SetCenterWindow(dialog);
  // The folder setting holds 259 characters; a longer text would be cut.
  SendDlgItemMessageA(dialog, kFolderEditId, EM_LIMITTEXT, kTextSize - 1, 0);
  UpdateSettingDialog(dialog);
  ShowWindow(dialog, SW_SHOW);
  settingsDialog = dialog;
}

void OnBrowse(HWND dialog) {
  char folder[kFolderPathSize] = {};
  SelectImageFolder(dialog, folder);
  if (folder[0] != '\0') SetDlgItemTextA(dialog, kFolderEditId, folder);
}

void OnTestDisplay(HWND dialog) {
  CleanUpImageList();
  char folder[kFolderPathSize] = {};
  GetDlgItemTextA(dialog, kFolderEditId, folder, sizeof folder);
  HWND button = GetDlgItem(dialog, kTestDisplayId);
  char caption[kTextSize] = {};
  GetWindowTextA(button, caption, sizeof caption);
  SetWindowTextA(button, kBusyCaption);
  UpdateWindow(button);  // the work below holds this thread: show the caption now
  ViewImageListInFolder(folder);
  SetWindowTextA(button, caption);
}

void OnOk(HWND dialog) {
  // The star field belongs to the main thread; the restart runs there and
  // this returns when it is done.
  if (GetIniInfoFromDialog(dialog) == 2) RequestStarFieldRestart();
  EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDOK:
      OnOk(dialog);
      break;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      break;
    case kKeyId:
      if (HIWORD(wParam) == BN_CLICKED) {
        GroupRadioEnable(GetDlgItem(dialog, kEnterKeyId), GetDlgBoolByInt(dialog, kKeyId));
      }
      break;
    case kBrowseId:
      OnBrowse(dialog);
      break;
    case kTestDisplayId:
      OnTestDisplay(dialog);
      break;
    default:
      break;
  }
}

void OnSpin(HWND dialog, HWND spin) {
  if (spin != GetDlgItem(dialog, kSpinId)) return;
  int position = static_cast<short>(LOWORD(SendMessageA(spin, UDM_GETPOS, 0, 0)));
  if (position == CountLabelDigit(dialog)) return;
  char text[16];
  std::snprintf(text, sizeof text, "%d", position);
  SetDlgItemTextA(dialog, kCountLabelId, text);
}

}  // namespace

DWORD WINAPI SettingDialogThread(LPVOID owner) {
  DialogBoxParamA(appInstance, MAKEINTRESOURCEA(kSettingDialogId), static_cast<HWND>(owner), SettingDialogProc,
                  0);
  // The test display's windows belong to this thread and were asked to close
  // as the dialog went; let them before the thread ends.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  settingsDialogOpen = 0;
  return 0;
}

INT_PTR CALLBACK SettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog);
      break;
    case WM_COMMAND:
      OnCommand(dialog, wParam);
      break;
    case WM_VSCROLL:
      OnSpin(dialog, reinterpret_cast<HWND>(lParam));
      break;
    case WM_DESTROY:
      CleanUpImageList();  // test pictures go with the dialog
      break;
    default:
      break;
  }
  return 0;
}

void UpdateSettingDialog(HWND dialog) {
  CheckDlgButton(dialog, kMouseClickId, static_cast<UINT>(Settings.reactMouseClick));
  CheckDlgButton(dialog, kMouseMoveId, static_cast<UINT>(Settings.reactMouseMove));
  CheckDlgButton(dialog, kKeyId, static_cast<UINT>(Settings.reactKey));
  GroupRadioEnable(GetDlgItem(dialog, kEnterKeyId), Settings.reactKey != 0 ? TRUE : FALSE);
  CheckRadioButton(dialog, kEnterKeyId, kAllKeysId, Settings.reactEnterKey != 0 ? kEnterKeyId : kAllKeysId);
  SetDlgItemTextA(dialog, kFolderEditId, Settings.imageFolder);
  InitLocalSpin(GetDlgItem(dialog, kSpinId), GetDlgItem(dialog, kCountLabelId), Settings.quantity);
}

int GetIniInfoFromDialog(HWND dialog) {
  SettingsRecord candidate = Settings;  // moveRange has no control: it stays
  candidate.reactMouseMove = GetDlgBoolByInt(dialog, kMouseMoveId);
  candidate.reactMouseClick = GetDlgBoolByInt(dialog, kMouseClickId);
  candidate.reactKey = GetDlgBoolByInt(dialog, kKeyId);
  candidate.reactEnterKey = GetDlgBoolByInt(dialog, kEnterKeyId);
  candidate.quantity = CountLabelDigit(dialog);
  candidate.imageFolder[0] = '\0';
  GetDlgItemTextA(dialog, kFolderEditId, candidate.imageFolder, kTextSize);

  int result = CompairIniInfo(Settings, candidate);
  if (result != 0) {
    Settings.reactKey = candidate.reactKey;
    Settings.reactMouseMove = candidate.reactMouseMove;
    Settings.reactMouseClick = candidate.reactMouseClick;
    Settings.reactEnterKey = candidate.reactEnterKey;
    Settings.quantity = candidate.quantity;
    std::memcpy(Settings.imageFolder, candidate.imageFolder, sizeof Settings.imageFolder);
    SaveIniInfo();
  }
  return result;
}

int SelectImageFolder(HWND owner, char* output) {
  // The browser is a shell object: it needs COM on the calling thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.pidlRoot = nullptr;  // the desktop
  browse.lpszTitle = kBrowseTitle;
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(Settings.imageFolder);
  int chosen = 0;
  if (LPITEMIDLIST item = SHBrowseForFolderA(&browse)) {
    char path[MAX_PATH] = {};
    if (SHGetPathFromIDListA(item, path)) {
      std::snprintf(output, kFolderPathSize, "%s", path);
      chosen = 1;
    }
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return chosen;
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  char start[kTextSize] = {};
  const char* saved = reinterpret_cast<const char*>(data);
  if (saved != nullptr) std::snprintf(start, sizeof start, "%s", saved);
  if (start[0] == '\0') GetModulePath(start);
  SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start));
  return 0;
}
