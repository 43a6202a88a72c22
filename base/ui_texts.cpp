#include "base/ui_texts.h"

#include <windows.h>

#include "base/app_state.h"
#include "base/resource_ids.h"

UiTextBlock UiTexts{};
UiLanguage UiTextLanguage = UI_JAPANESE;

namespace {

// String ids in slot order: tray texts, the star menu (4-6), then messages.
constexpr unsigned kSlotStringIds[kUiTextSlots] = {
    IDS_EXIT,      IDS_SETTINGS,        IDS_ENABLE,          IDS_DISABLE,         IDS_ERASE,
    IDS_ERASE_ALL, IDS_TIDY,            IDS_VERSION,         IDS_SOME_UNREADABLE, IDS_FOLDER_UNUSABLE,
    IDS_START_FAILED, IDS_NO_DISPLAY_ROOM, IDS_FOLDER_NOT_ANSI, IDS_FOLDER_TOO_LONG, IDS_SETTINGS_UNSAVED,
    IDS_FOLDER_MISSING, IDS_FOLDER_IS_FILE, IDS_USING_DEFAULT, IDS_NO_PICTURE, IDS_MORE_FILES,
    IDS_NO_HOOK_LIBRARY, IDS_HOTKEY_TAKEN, IDS_FOLDER_LOADED, IDS_INI_FILE, IDS_START_AT_SIGN_IN,
    IDS_SIGN_IN_UNSAVED, IDS_LANGUAGE_JAPANESE, IDS_LANGUAGE_ENGLISH, IDS_LANGUAGE_AUTO, IDS_EXCLUDE_DROPPED,
    IDS_ALREADY_RUNNING};

}  // namespace

// A string table resource is a block of sixteen counted strings: block
// id / 16 + 1 holds the id at place id % 16.
int LoadTableString(unsigned stringId, unsigned short languageId, wchar_t* out, int size) {
  if (size <= 0) return 0;
  out[0] = L'\0';
  HRSRC found = FindResourceExW(appInstance, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                MAKEINTRESOURCEW((stringId >> 4) + 1), languageId);
  if (found == nullptr) return 0;
  const auto* at = static_cast<const wchar_t*>(LockResource(LoadResource(appInstance, found)));
  if (at == nullptr) return 0;
  for (unsigned skip = stringId & 15; skip > 0; --skip) at += 1 + static_cast<unsigned short>(*at);
  int length = static_cast<unsigned short>(*at);
  if (length > size - 1) length = size - 1;
  for (int i = 0; i < length; ++i) out[i] = at[1 + i];
  out[length] = L'\0';
  return length;
}

int LoadTextInUiLanguage(unsigned stringId, wchar_t* out, int size) {
  if (LoadTableString(stringId, ResourceLanguageId(UiTextLanguage), out, size) > 0) return 1;
  return LoadTableString(stringId, ResourceLanguageId(UI_JAPANESE), out, size) > 0 ? 1 : 0;
}

int LoadUiString(int slot, unsigned stringId) {
  if (slot < 0 || slot >= kUiTextSlots) return 0;
  return LoadTextInUiLanguage(stringId, UiTexts.slot[slot], kTextSize);
}

void LoadUiTexts(UiLanguage language) {
  UiTextLanguage = language;
  for (int slot = 0; slot < kUiTextSlots; ++slot) LoadUiString(slot, kSlotStringIds[slot]);
}
