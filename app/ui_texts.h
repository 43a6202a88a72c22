// The user-interface texts: twelve fixed slots filled from the string table at
// start, in the system's ANSI code page.
#pragma once
#include "app/settings.h"

constexpr int kUiTextSlots = 12;

struct UiTextBlock {
  char slot[kUiTextSlots][kTextSize];
};

extern UiTextBlock UiTexts;

// Fills all twelve slots; a text that cannot be loaded leaves its slot empty.
void LoadUiTexts();

// LoadStringA of the id from appInstance into the slot, at most 259
// characters; 1 when a text was loaded, 0 otherwise (slot empty, or no such slot).
int LoadUiString(int slot, unsigned stringId);
