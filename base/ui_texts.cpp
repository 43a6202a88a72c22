#include "base/ui_texts.h"

#include <windows.h>

#include "base/app_state.h"
#include "base/resource_ids.h"

UiTextBlock UiTexts{};

namespace {

// String ids in slot order: tray texts, the star menu (4-6), then messages.
constexpr unsigned kSlotStringIds[kUiTextSlots] = {
    IDS_EXIT,      IDS_SETTINGS,        IDS_ENABLE,          IDS_DISABLE,         IDS_ERASE,
    IDS_ERASE_ALL, IDS_TIDY,            IDS_VERSION,         IDS_SOME_UNREADABLE, IDS_FOLDER_UNUSABLE,
    IDS_START_FAILED, IDS_NO_DISPLAY_ROOM, IDS_FOLDER_NOT_ANSI, IDS_FOLDER_TOO_LONG, IDS_SETTINGS_UNSAVED,
    IDS_FOLDER_MISSING, IDS_FOLDER_IS_FILE, IDS_USING_DEFAULT, IDS_NO_PICTURE, IDS_MORE_FILES,
    IDS_NO_HOOK_LIBRARY, IDS_HOTKEY_TAKEN, IDS_EXCLUDE_DROPPED};

}  // namespace

int LoadUiString(int slot, unsigned stringId) {
  if (slot < 0 || slot >= kUiTextSlots) return 0;
  wchar_t* text = UiTexts.slot[slot];
  text[0] = L'\0';
  int length = LoadStringW(appInstance, stringId, text, kTextSize);
  text[kTextSize - 1] = L'\0';
  if (length <= 0) {
    text[0] = L'\0';
    return 0;
  }
  return 1;
}

void LoadUiTexts() {
  for (int slot = 0; slot < kUiTextSlots; ++slot) LoadUiString(slot, kSlotStringIds[slot]);
}
