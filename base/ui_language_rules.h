// The interface's language apart from the system: the INI key LANGUAGE
// ("ja", "en" or "auto"), what "auto" resolves to, and the language id of
// each language's resource tables. Japanese is the default, for a missing or
// unknown value too.
#pragma once
#include <cstdint>

// What the settings hold.
enum LanguageChoice : int32_t {
  LANGUAGE_JAPANESE = 0,  // "ja"
  LANGUAGE_ENGLISH = 1,   // "en"
  LANGUAGE_AUTO = 2,      // "auto": the user's display language decides
};

// The language the texts are shown in.
enum UiLanguage : int32_t {
  UI_JAPANESE = 0,
  UI_ENGLISH = 1,
};

// The key's text (letter case and blanks around it do not matter); any
// other text is Japanese.
LanguageChoice LanguageFromText(const char* text);
// "ja", "en" or "auto"; an unknown number is "ja".
const char* LanguageText(int32_t choice);

// Japanese for "ja" and for "auto" when the user's display language (a
// Windows language id) is Japanese; English for "en" and "auto" otherwise.
UiLanguage ResolveLanguage(int32_t choice, uint16_t userUiLanguageId);

// The language id the resources of a language carry: Japanese 0x0411,
// English (United States) 0x0409.
uint16_t ResourceLanguageId(UiLanguage language);
