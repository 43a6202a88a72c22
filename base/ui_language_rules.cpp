#include "base/ui_language_rules.h"

#include <cstring>

namespace {

constexpr uint16_t kPrimaryJapanese = 0x11;  // LANG_JAPANESE
constexpr uint16_t kPrimaryMask = 0x3FF;     // the primary language of a language id

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether text, blanks around it skipped, is word in any letter case.
bool IsWord(const char* text, const char* word) {
  while (*text == ' ' || *text == '\t') ++text;
  size_t length = std::strlen(word);
  for (size_t at = 0; at < length; ++at) {
    if (Lower(text[at]) != word[at]) return false;
  }
  for (const char* rest = text + length; *rest != '\0'; ++rest) {
    if (*rest != ' ' && *rest != '\t') return false;
  }
  return true;
}

}  // namespace

LanguageChoice LanguageFromText(const char* text) {
  if (IsWord(text, "en")) return LANGUAGE_ENGLISH;
  if (IsWord(text, "auto")) return LANGUAGE_AUTO;
  return LANGUAGE_JAPANESE;
}

const char* LanguageText(int32_t choice) {
  switch (choice) {
    case LANGUAGE_ENGLISH:
      return "en";
    case LANGUAGE_AUTO:
      return "auto";
    default:
      return "ja";
  }
}

UiLanguage ResolveLanguage(int32_t choice, uint16_t userUiLanguageId) {
  switch (choice) {
    case LANGUAGE_ENGLISH:
      return UI_ENGLISH;
    case LANGUAGE_AUTO:
      return (userUiLanguageId & kPrimaryMask) == kPrimaryJapanese ? UI_JAPANESE : UI_ENGLISH;
    default:
      return UI_JAPANESE;
  }
}

uint16_t ResourceLanguageId(UiLanguage language) { return language == UI_ENGLISH ? 0x0409 : 0x0411; }
