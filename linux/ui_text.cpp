#include "linux/ui_text.h"

UiLanguage UiTextLanguage = UI_JAPANESE;
