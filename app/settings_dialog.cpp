#include "app/settings_dialog.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

#include "app/dialog_controls.h"
#include "app/ini_rules.h"
#include "app/message_out.h"
#include "app/settings_store.h"
#include "base/app_state.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "images/folder_scan.h"

namespace {

constexpr wchar_t kBrowseTitle[] = L"Select a folder including PNG image.";
constexpr wchar_t kBusyCaption[] = L"---";

// The folder browser is a shell object: COM on the calling thread for the
// owner's life, and the browser's answer freed with the task allocator.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};
using UniqueItemList = Owned<LPITEMIDLIST, NullIsInvalid<LPITEMIDLIST, CoTaskMemFree>>;

UniqueItemList BrowseForFolder(BROWSEINFOW* browse) { return UniqueItemList(SHBrowseForFolderW(browse)); }

// The session the dialog was made with (its creation parameter), or null.
SettingsSession* SessionOf(HWND dialog) {
  return reinterpret_cast<SettingsSession*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

HWND OwnerOf(HWND dialog) {
  SettingsSession* session = SessionOf(dialog);
  return session != nullptr ? session->Owner() : nullptr;
}

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
      MessageOut(OwnerOf(dialog), UiTexts.slot[TEXT_FOLDER_NOT_ANSI]);
      return 0;
    default:
      MessageOut(OwnerOf(dialog), UiTexts.slot[TEXT_FOLDER_TOO_LONG]);
      return 0;
  }
}

// Which file the settings live in: beside the program, or in the user's
// application data when the program's folder cannot be written.
void ShowIniFile(HWND dialog, const wchar_t* path) {
  wchar_t text[kTextSize + kIniPathSize];
  wsprintfW(text, UiTexts.slot[TEXT_INI_FILE], path);
  SetDlgItemTextW(dialog, kIniFileId, text);
}

void OnInitDialog(HWND dialog, SettingsSession* session) {
  SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(session));
  SetCenterWindow(dialog);
  // The folder setting holds 259 characters; a longer text would be cut.
  SendDlgItemMessageW(dialog, kFolderEditId, EM_LIMITTEXT, kTextSize - 1, 0);
  if (session != nullptr) UpdateSettingDialog(dialog, session->Edited());
  ShowIniFile(dialog, session != nullptr ? session->IniPath() : L"");
  WidenCutLabels(dialog);
  ShowWindow(dialog, SW_SHOW);
  if (session != nullptr) session->SetDialog(dialog);
}

void OnBrowse(HWND dialog) {
  SettingsSession* session = SessionOf(dialog);
  wchar_t folder[kFolderPathSize] = {};
  const char* start = session != nullptr ? session->Edited().imageFolder : "";
  if (SelectImageFolder(dialog, start, folder)) SetDlgItemTextW(dialog, kFolderEditId, folder);
}

void OnTestDisplay(HWND dialog) {
  SettingsSession* session = SessionOf(dialog);
  if (session == nullptr) return;
  session->Display().CleanUpImageList();
  char folder[kTextSize] = {};
  if (!ReadFolderEdit(dialog, folder)) return;
  HWND button = GetDlgItem(dialog, kTestDisplayId);
  wchar_t caption[kTextSize] = {};
  GetWindowTextW(button, caption, kTextSize);
  SetWindowTextW(button, kBusyCaption);
  UpdateWindow(button);  // the work below holds this thread: show the caption now
  session->Display().ViewImageListInFolder(folder, TestDisplayHost{session->Owner(), session->Cursor(), dialog});
  SetWindowTextW(button, caption);
}

void OnOk(HWND dialog) {
  SettingsSession* session = SessionOf(dialog);
  SettingsRecord chosen{};
  int result = GetIniInfoFromDialog(dialog, &chosen);
  if (result < 0) return;  // the folder cannot be kept: the dialog stays for another
  // The main thread alone writes the settings: it saves and applies the
  // choice (restarting the star field for a new folder) while this thread
  // waits, and the stars stand still until it is done.
  if (result > 0 && session != nullptr) {
    session->Choose(chosen);
    SendMessageW(session->Owner(), PWM_SETTINGS_CHOSEN, 0, 0);
  }
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

void OnDestroy(HWND dialog) {
  // Test pictures go with the dialog.
  if (SettingsSession* session = SessionOf(dialog)) session->Display().CleanUpImageList();
}

}  // namespace

const DLGTEMPLATE* SettingsDialogTemplate(UiLanguage language) {
  HRSRC found = FindResourceExW(appInstance, MAKEINTRESOURCEW(5) /* RT_DIALOG */, MAKEINTRESOURCEW(kSettingDialogId),
                                ResourceLanguageId(language));
  if (found == nullptr) {
    found = FindResourceExW(appInstance, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(kSettingDialogId),
                            ResourceLanguageId(UI_JAPANESE));
  }
  if (found == nullptr) return nullptr;
  return static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(appInstance, found)));
}

DWORD WINAPI SettingDialogThread(LPVOID parameter) {
  auto* session = static_cast<SettingsSession*>(parameter);
  // The wide dialog in the language of the texts: it reads the same whatever
  // the ANSI code page, and a language chosen since shows at its next opening.
  DialogBoxIndirectParamW(appInstance, SettingsDialogTemplate(UiTextLanguage), session->Owner(), SettingDialogProc,
                          reinterpret_cast<LPARAM>(session));
  // The test display's windows belong to this thread and were asked to close
  // as the dialog went; let them before the thread ends.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  session->Close();
  session->LetGo();
  return 0;
}

INT_PTR CALLBACK SettingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, reinterpret_cast<SettingsSession*>(lParam));
      break;
    case WM_COMMAND:
      OnCommand(dialog, wParam);
      break;
    case WM_VSCROLL:
      OnSpin(dialog, reinterpret_cast<HWND>(lParam));
      break;
    case WM_DESTROY:
      OnDestroy(dialog);
      break;
    default:
      break;
  }
  return 0;
}

void UpdateSettingDialog(HWND dialog, const SettingsRecord& settings) {
  // Any nonzero switch reacts, so it shows checked.
  CheckDlgButton(dialog, kMouseClickId, settings.reactMouseClick != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kMouseMoveId, settings.reactMouseMove != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, kKeyId, settings.reactKey != 0 ? BST_CHECKED : BST_UNCHECKED);
  GroupRadioEnable(GetDlgItem(dialog, kEnterKeyId), settings.reactKey != 0 ? TRUE : FALSE);
  CheckRadioButton(dialog, kEnterKeyId, kAllKeysId, settings.reactEnterKey != 0 ? kEnterKeyId : kAllKeysId);
  SetDlgItemTextA(dialog, kFolderEditId, settings.imageFolder);  // an ANSI path, widened by the call
  InitLocalSpin(GetDlgItem(dialog, kSpinId), GetDlgItem(dialog, kCountLabelId), settings.quantity);
  SetShownCount(dialog, settings.quantity);
  // The choices in LanguageChoice order, each named in the texts' language.
  HWND language = GetDlgItem(dialog, kLanguageId);
  SendMessageW(language, CB_RESETCONTENT, 0, 0);
  for (int slot : {TEXT_LANGUAGE_JAPANESE, TEXT_LANGUAGE_ENGLISH, TEXT_LANGUAGE_AUTO}) {
    SendMessageW(language, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UiTexts.slot[slot]));
  }
  const int32_t choice = LanguageFromText(LanguageText(settings.language));  // unknown numbers read as Japanese
  SendMessageW(language, CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
}

int GetIniInfoFromDialog(HWND dialog, SettingsRecord* chosen) {
  SettingsSession* session = SessionOf(dialog);
  if (session == nullptr) return 0;
  const SettingsRecord& stored = session->Edited();
  SettingsRecord candidate = stored;  // moveRange has no control: it stays
  if (!ReadFolderEdit(dialog, candidate.imageFolder)) return -1;
  // A control the user left alone gives back the stored value.
  candidate.reactMouseMove = SwitchFromCheckBox(stored.reactMouseMove, GetDlgBoolByInt(dialog, kMouseMoveId));
  candidate.reactMouseClick = SwitchFromCheckBox(stored.reactMouseClick, GetDlgBoolByInt(dialog, kMouseClickId));
  candidate.reactKey = SwitchFromCheckBox(stored.reactKey, GetDlgBoolByInt(dialog, kKeyId));
  candidate.reactEnterKey = SwitchFromCheckBox(stored.reactEnterKey, GetDlgBoolByInt(dialog, kEnterKeyId));
  candidate.quantity = ShownCount(dialog);
  const LRESULT language = SendDlgItemMessageW(dialog, kLanguageId, CB_GETCURSEL, 0, 0);
  if (language >= LANGUAGE_JAPANESE && language <= LANGUAGE_AUTO) candidate.language = static_cast<int32_t>(language);
  *chosen = candidate;
  return CompairIniInfo(stored, candidate);
}

int SelectImageFolder(HWND owner, const char* startFolder, wchar_t* output) {
  ComApartment com;
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.pidlRoot = nullptr;  // the desktop
  browse.lpszTitle = kBrowseTitle;
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(startFolder);
  UniqueItemList item = BrowseForFolder(&browse);
  wchar_t path[MAX_PATH] = {};
  if (!item || !SHGetPathFromIDListW(item.Get(), path)) return 0;
  lstrcpynW(output, path, kFolderPathSize);
  return 1;
}

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED) return 0;
  const char* saved = reinterpret_cast<const char*>(data);
  // The saved folder is an ANSI path, and every ANSI path widens; the
  // program's folder is taken wide, whatever its name.
  wchar_t wide[kIniPathSize] = {};
  if (saved != nullptr && saved[0] != '\0') {
    MultiByteToWideChar(CP_ACP, 0, saved, -1, wide, kIniPathSize);
    wide[kIniPathSize - 1] = L'\0';
  } else {
    ProgramFolderW(wide, kIniPathSize);
  }
  SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(wide));
  return 0;
}
