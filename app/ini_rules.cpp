#include "app/ini_rules.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "app/hotkey_rules.h"
#include "base/ui_language_rules.h"
#include "cells/exclude_rules.h"
#include "stars/motion_rules.h"

static_assert(kExcludeTextSize == kExcludeListSize, "the settings record holds the list the hook library reads");

namespace {

// A missing key leaves the field as it was, its default, and so does a text
// that starts with no number or with a negative one ("abc", "yes", "-3").
// An empty text of the first version's keys reads as 0, as it always did;
// the keys added since (emptyIsZero false) keep their default for it too.
void ReadNumber(IniKeyReader read, void* context, const char* key, int32_t* field, bool emptyIsZero = true) {
  char text[kIniNumberChars + 1] = {};
  if (!read(context, key, text, sizeof text)) return;
  text[kIniNumberChars] = '\0';
  const char* at = text;
  while (*at == ' ' || *at == '\t') ++at;
  if (*at == '\0' && emptyIsZero) *field = 0;
  if (*at == '+') ++at;
  if (*at >= '0' && *at <= '9') *field = IniTextToInt(text);
}

int WriteNumber(IniKeyWriter write, void* context, const char* key, int32_t value, const int32_t* stored) {
  if (stored != nullptr && *stored == value) return 1;
  char text[16] = {};
  std::to_chars(text, text + sizeof text - 1, value);
  return write(context, key, text);
}

}  // namespace

SettingsRecord DefaultSettings() {
  SettingsRecord settings{};
  settings.moveRange = kMinMoveRange;
  settings.quantity = 2;
  settings.reactMouseClick = 1;
  settings.reactMouseMove = 1;
  settings.reactKey = 1;
  settings.reactEnterKey = 1;
  settings.fullscreenPause = 1;
  settings.language = LANGUAGE_JAPANESE;
  std::snprintf(settings.hotkey, sizeof settings.hotkey, "%s", kDefaultHotkey);
  return settings;
}

int32_t IniTextToInt(const char* text) {
  int at = 0;
  while (at < kIniNumberChars && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < kIniNumberChars && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  // At most five digits, so the value cannot overflow.
  int32_t value = 0;
  while (at < kIniNumberChars && text[at] >= '0' && text[at] <= '9') {
    value = value * 10 + (text[at] - '0');
    ++at;
  }
  return negative ? 0 : value;
}

SettingsRecord ReadSettings(IniKeyReader read, void* context) {
  SettingsRecord settings = DefaultSettings();
  ReadNumber(read, context, "MOUSECLICK", &settings.reactMouseClick);
  ReadNumber(read, context, "MOUSEMOVE", &settings.reactMouseMove);
  ReadNumber(read, context, "KEYENTRY", &settings.reactKey);
  ReadNumber(read, context, "ENTERKEY", &settings.reactEnterKey);
  ReadNumber(read, context, "QUANTITY", &settings.quantity);
  // The value in force, so the dialog shows what a click makes.
  if (settings.quantity > kMaxStarsPerEvent) settings.quantity = kMaxStarsPerEvent;
  ReadNumber(read, context, "MOVERANGE", &settings.moveRange);
  if (settings.moveRange <= kMinMoveRange) settings.moveRange = kMinMoveRange;
  if (settings.moveRange > kMaxMoveRange) settings.moveRange = kMaxMoveRange;
  char folder[kTextSize] = {};
  if (read(context, "IMAGEFOLDER", folder, kTextSize)) {
    std::memcpy(settings.imageFolder, folder, kTextSize);
    settings.imageFolder[kTextSize - 1] = '\0';
  }
  ReadNumber(read, context, "FULLSCREENPAUSE", &settings.fullscreenPause, false);
  // A text that is no hotkey or a refused one, or no list of programs, takes
  // the default; the file keeps what the user wrote.
  char hotkey[kHotkeyTextSize + 1] = {};
  Hotkey parsed;
  if (read(context, "HOTKEY", hotkey, sizeof hotkey) && !HotkeyUnusable(ParseHotkey(hotkey, &parsed))) {
    std::memcpy(settings.hotkey, hotkey, kHotkeyTextSize);
    settings.hotkey[kHotkeyTextSize - 1] = '\0';
  }
  // The list is kept as written; the program tidies it in UTF-16, entry by
  // entry, when it hands it to the hook library. One too long for its cell
  // takes the default.
  char exclude[kExcludeTextSize + 1] = {};
  if (read(context, "EXCLUDE", exclude, sizeof exclude) && std::strlen(exclude) < kExcludeTextSize) {
    std::memcpy(settings.exclude, exclude, kExcludeTextSize);
  }
  char language[kLanguageTextSize] = {};
  if (read(context, "LANGUAGE", language, sizeof language)) settings.language = LanguageFromText(language);
  ReadNumber(read, context, "WEBCARET", &settings.webCaret, false);
  return settings;
}

int AddMissingKeys(const SettingsRecord& settings, IniKeyReader read, IniKeyWriter write, void* context) {
  int written = 1;
  char text[kExcludeTextSize + 1];
  // Only a whole file of the first version gains them: a file the user cut
  // down, or one that is no settings file at all, is left as it is.
  for (const char* key : {"IMAGEFOLDER", "QUANTITY", "MOVERANGE", "MOUSECLICK", "MOUSEMOVE", "KEYENTRY", "ENTERKEY"}) {
    if (!read(context, key, text, sizeof text)) return 1;
  }
  if (!read(context, "FULLSCREENPAUSE", text, sizeof text)) {
    written &= WriteNumber(write, context, "FULLSCREENPAUSE", settings.fullscreenPause, nullptr);
  }
  if (!read(context, "HOTKEY", text, sizeof text)) written &= write(context, "HOTKEY", settings.hotkey);
  if (!read(context, "EXCLUDE", text, sizeof text)) written &= write(context, "EXCLUDE", settings.exclude);
  if (!read(context, "LANGUAGE", text, sizeof text)) written &= write(context, "LANGUAGE", LanguageText(settings.language));
  if (!read(context, "WEBCARET", text, sizeof text)) {
    written &= WriteNumber(write, context, "WEBCARET", settings.webCaret, nullptr);
  }
  return written;
}

int WriteSettings(const SettingsRecord& settings, IniKeyWriter write, void* context,
                  const SettingsRecord* stored) {
  int written = 1;
  char folder[kTextSize];
  std::memcpy(folder, settings.imageFolder, kTextSize);
  folder[kTextSize - 1] = '\0';
  if (stored == nullptr || std::strncmp(stored->imageFolder, folder, kTextSize) != 0) {
    written &= write(context, "IMAGEFOLDER", folder);
  }
  auto was = [stored](const int32_t SettingsRecord::*field) { return stored != nullptr ? &(stored->*field) : nullptr; };
  written &= WriteNumber(write, context, "QUANTITY", settings.quantity, was(&SettingsRecord::quantity));
  written &= WriteNumber(write, context, "MOVERANGE", settings.moveRange, was(&SettingsRecord::moveRange));
  written &= WriteNumber(write, context, "MOUSECLICK", settings.reactMouseClick, was(&SettingsRecord::reactMouseClick));
  written &= WriteNumber(write, context, "MOUSEMOVE", settings.reactMouseMove, was(&SettingsRecord::reactMouseMove));
  written &= WriteNumber(write, context, "KEYENTRY", settings.reactKey, was(&SettingsRecord::reactKey));
  written &= WriteNumber(write, context, "ENTERKEY", settings.reactEnterKey, was(&SettingsRecord::reactEnterKey));
  written &= WriteNumber(write, context, "FULLSCREENPAUSE", settings.fullscreenPause,
                         was(&SettingsRecord::fullscreenPause));
  if (stored == nullptr || std::strncmp(stored->hotkey, settings.hotkey, kHotkeyTextSize) != 0) {
    written &= write(context, "HOTKEY", settings.hotkey);
  }
  if (stored == nullptr || std::strncmp(stored->exclude, settings.exclude, kExcludeTextSize) != 0) {
    written &= write(context, "EXCLUDE", settings.exclude);
  }
  if (stored == nullptr || stored->language != settings.language) {
    written &= write(context, "LANGUAGE", LanguageText(settings.language));
  }
  written &= WriteNumber(write, context, "WEBCARET", settings.webCaret, was(&SettingsRecord::webCaret));
  return written;
}

int32_t SwitchFromCheckBox(int32_t stored, int checked) {
  return (stored != 0) == (checked != 0) ? stored : (checked != 0 ? 1 : 0);
}

int CompairIniInfo(SettingsRecord current, SettingsRecord candidate) {
  if (std::strncmp(current.imageFolder, candidate.imageFolder, kTextSize) != 0) return 2;
  if (current.reactMouseMove != candidate.reactMouseMove ||
      current.reactMouseClick != candidate.reactMouseClick || current.reactKey != candidate.reactKey ||
      current.reactEnterKey != candidate.reactEnterKey || current.quantity != candidate.quantity ||
      current.language != candidate.language) {
    return 1;
  }
  return 0;
}

void CutAfterLastBackslash(char* path, LeadByteTest isLeadByte) {
  int cut = 0;  // just after the last backslash found so far
  for (int at = 0; at < kTextSize && path[at] != '\0'; ++at) {
    if (path[at] == '\\') {
      cut = at + 1;
    } else if (isLeadByte(static_cast<unsigned char>(path[at])) && at + 1 < kTextSize &&
               path[at + 1] != '\0') {
      ++at;  // the second byte belongs to this character
    }
  }
  path[cut < kTextSize ? cut : kTextSize - 1] = '\0';
}

int MakeIniPath(const char* directory, char* out) {
  size_t length = strnlen(directory, kTextSize);
  if (length + sizeof kIniFileName > static_cast<size_t>(kTextSize)) {
    out[0] = '\0';
    return 0;
  }
  std::memmove(out, directory, length);  // out may be the directory's own buffer
  std::memcpy(out + length, kIniFileName, sizeof kIniFileName);
  return 1;
}
