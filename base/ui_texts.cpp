#include "base/ui_texts.h"

#include <windows.h>

#include "base/app_state.h"

UiTextBlock UiTexts{};

namespace {

// String ids in slot order: tray texts, the star menu (4-6), then messages.
constexpr unsigned kSlotStringIds[kUiTextSlots] = {157, 160, 158, 159, 154, 155, 156,
                                                   165, 161, 162, 163, 164, 166};

}  // namespace

int LoadUiString(int slot, unsigned stringId) {
  if (slot < 0 || slot >= kUiTextSlots) return 0;
  char* text = UiTexts.slot[slot];
  text[0] = '\0';
  int length = LoadStringA(appInstance, stringId, text, kTextSize);
  text[kTextSize - 1] = '\0';
  if (length <= 0) {
    text[0] = '\0';
    return 0;
  }
  return 1;
}

void LoadUiTexts() {
  for (int slot = 0; slot < kUiTextSlots; ++slot) LoadUiString(slot, kSlotStringIds[slot]);
}
