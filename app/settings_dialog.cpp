#include "app/settings_dialog.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

#include "app/dialog_controls.h"
#include "app/ini_rules.h"
#include "app/main_window.h"
#include "app/message_out.h"
#include "app/settings_store.h"
#include "app/test_display.h"
#include "base/app_state.h"
#include "base/ui_texts.h"
#include "images/star_images.h"

namespace {

constexpr wchar_t kBrowseTitle[] = L"Select a folder including PNG image.";
constexpr wchar_t kBusyCaption[] = L"---";

// The count the label shows lives in the dialog's user slot: the label may
// show a stored count the up-down control cannot hold (25), and that count
// must come back whole when the user leaves it alone.
void SetShownCount(HWND dialog, int count) {
  SetWindowLongPtrW(dialog, DWLP_USER, count);
  wchar_t text[16];
  wsprintfW(text, L"%d", count);
  SetDlgItemTextW(dialog, kCountLabelId, text);
}

int ShownCount(HWND dialog) { return static_cast<int>(GetWindowLongPtrW(dialog, DWLP_USER)); }

// The folder typed or chosen, in the ANSI code page the settings keep; on a
// name that code page cannot spell or a path too long, tells the user and
// gives 0.
int ReadFolderEdit(HWND dialog, char* folder) {
  // Room beyond the settings' limit, so that a longer text is refused, not cut.
  wchar_t typed[kFolderPathSize] = {};
  GetDlgItemTextW(dialog, kFolderEditId, typed, kFolderPathSize);
  switch (WideToAnsiPath(typed, folder)) {
    case kPathFits:
      return 1;
    case kPathNotAnsi:
      MessageOut(UiTexts.slot[TEXT_FOLDER_NOT_ANSI]);
      return 0;
    default:
      MessageOut(UiTexts.slot[TEXT_FOLDER_TOO_LONG]);
      return 0;
  }
}

void OnInitDialog(HWND dialog) {
  SetCenterWindow(dialog);
  // The folder setting holds 259 characters; a longer text would be cut.
  SendDlgItemMessageW(dialog, kFolderEditId, EM_LIMITTEXT, kTextSize - 1, 0);
  UpdateSettingDialog(dialog);
  WidenCutLabels(dialog);
  ShowWindow(dialog, SW_SHOW);
  settingsDialog = dialog;
}

void OnBrowse(HWND dialog) {
  wchar_t folder[kFolderPathSize] = {};
  if (SelectImageFolder(dialog, folder)) SetDlgItemTextW(dialog, kFolderEditId, folder);
}

void OnTestDisplay(HWND dialog) {
  CleanUpImageList();
  char folder[kTextSize] = {};
  if (!ReadFolderEdit(dialog, folder)) return;
  HWND button = GetDlgItem(dialog, kTestDisplayId);
  wchar_t caption[kTextSize] = {};
  GetWindowTextW(button, caption, kTextSize);
  SetWindowTextW(button, kBusyCaption);
  UpdateWindow(button);  // the work below holds this thread: show the caption now
  ViewImageListInFolder(folder);
  SetWindowTextW(button, caption);
}

void OnOk(HWND dialog) {
  // The star field belongs to the main thread; the restart runs there and
  // this returns when it is done.
  int result = GetIniInfoFromDialog(dialog);
  if (result < 0) return;  // the folder cannot be kept: the dialog stays for another
  TellUnsavedSettings();
  if (result == 2) RequestStarFieldRestart();
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
  int position = static_cast<short>(LOWORD(SendMessageW(spin, UDM_GETPOS, 0, 0)));
  if (position == ShownCount(dialog)) return;
  SetShownCount(dialog, position);
}

}  // namespace

DWORD WINAPI SettingDialogThread(LPVOID owner) {
  // The wide dialog: its texts read in Japanese whatever the ANSI code page.
  DialogBoxParamW(appInstance, MAKEINTRESOURCEW(kSettingDialogId), static_cast<HWND>(owner), SettingDialogProc,
                  0);
  // The test display's windows belong to this thread and were asked to close
  // as the dialog went; let them before the thread ends.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
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
  // Any nonzero switch reacts, so it shows checked.
  CheckDlgButton(dialog, kMouseClickId, Settings.reactMouseClick != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kMouseMoveId, Settings.reactMouseMove != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kKeyId, Settings.reactKey != 0 ? BST_CHECKED : BST_UNCHECKED);
  GroupRadioEnable(GetDlgItem(dialog, kEnterKeyId), Settings.reactKey != 0 ? TRUE : FALSE);
  CheckRadioButton(dialog, kEnterKeyId, kAllKeysId, Settings.reactEnterKey != 0 ? kEnterKeyId : kAllKeysId);
  SetDlgItemTextA(dialog, kFolderEditId, Settings.imageFolder);  // an ANSI path, widened by the call
  InitLocalSpin(GetDlgItem(dialog, kSpinId), GetDlgItem(dialog, kCountLabelId), Settings.quantity);
  SetShownCount(dialog, Settings.quantity);
}

int GetIniInfoFromDialog(HWND dialog) {
  SettingsRecord candidate = Settings;  // moveRange has no control: it stays
  if (!ReadFolderEdit(dialog, candidate.imageFolder)) return -1;
  // A control the user left alone gives back the stored value.
  candidate.reactMouseMove = SwitchFromCheckBox(Settings.reactMouseMove, GetDlgBoolByInt(dialog, kMouseMoveId));
  candidate.reactMouseClick = SwitchFromCheckBox(Settings.reactMouseClick, GetDlgBoolByInt(dialog, kMouseClickId));
  candidate.reactKey = SwitchFromCheckBox(Settings.reactKey, GetDlgBoolByInt(dialog, kKeyId));
  candidate.reactEnterKey = SwitchFromCheckBox(Settings.reactEnterKey, GetDlgBoolByInt(dialog, kEnterKeyId));
  candidate.quantity = ShownCount(dialog);

  int result = CompairIniInfo(Settings, candidate);
  if (result != 0) SaveChangedIniInfo(candidate);
  return result;
}

int SelectImageFolder(HWND owner, wchar_t* output) {
  // The browser is a shell object: it needs COM on the calling thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.pidlRoot = nullptr;  // the desktop
  browse.lpszTitle = kBrowseTitle;
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(Settings.imageFolder);
  int chosen = 0;
  if (LPITEMIDLIST item = SHBrowseForFolderW(&browse)) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path)) {
      lstrcpynW(output, path, kFolderPathSize);
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
  // The saved folder is an ANSI path; every ANSI path widens.
  wchar_t wide[kTextSize] = {};
  MultiByteToWideChar(CP_ACP, 0, start, -1, wide, kTextSize);
  SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wide));
  return 0;
}
