// The interface texts in the language in use, from the Windows string tables
// (rc_texts.h is made from them at build time).
#pragma once
#include "base/ui_language_rules.h"
#include "linux/rc_texts.h"

// The language the texts are shown in; Japanese until the settings say.
extern UiLanguage UiTextLanguage;

inline const char* UiText(const RcText& text) {
  return UiTextLanguage == UI_ENGLISH ? text.english : text.japanese;
}
