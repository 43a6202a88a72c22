// The tray icon's popup menu, rebuilt each time it is shown so that the
// enable item always says what it will do.
#pragma once
#include <windows.h>

#include "base/owned_handles.h"
#include "base/ui_texts.h"

// Builds the menu: version information, separator, settings, start at
// sign-in (checked while it is on), separator, disable (while reacting) or
// enable, exit. Holds nothing when it cannot be made.
UniqueMenu InitMenu(const UiTextBlock& texts, bool reacting, bool startsAtSignIn);
