#include "app/ini_rules.h"

#include <charconv>
#include <cstring>

namespace {

void ReadNumber(IniKeyReader read, void* context, const char* key, int32_t* field) {
  char text[kIniNumberChars + 1] = {};
  read(context, key, text, sizeof text);
  text[kIniNumberChars] = '\0';
  *field = IniTextToInt(text);
}

void WriteNumber(IniKeyWriter write, void* context, const char* key, int32_t value) {
  char text[16] = {};
  std::to_chars(text, text + sizeof text - 1, value);
  write(context, key, text);
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
  SettingsRecord settings{};
  ReadNumber(read, context, "MOUSECLICK", &settings.reactMouseClick);
  ReadNumber(read, context, "MOUSEMOVE", &settings.reactMouseMove);
  ReadNumber(read, context, "KEYENTRY", &settings.reactKey);
  ReadNumber(read, context, "ENTERKEY", &settings.reactEnterKey);
  ReadNumber(read, context, "QUANTITY", &settings.quantity);
  ReadNumber(read, context, "MOVERANGE", &settings.moveRange);
  if (settings.moveRange <= kMinMoveRange) settings.moveRange = kMinMoveRange;
  if (settings.moveRange > kMaxMoveRange) settings.moveRange = kMaxMoveRange;
  read(context, "IMAGEFOLDER", settings.imageFolder, kTextSize);
  settings.imageFolder[kTextSize - 1] = '\0';
  return settings;
}

void WriteSettings(const SettingsRecord& settings, IniKeyWriter write, void* context) {
  char folder[kTextSize];
  std::memcpy(folder, settings.imageFolder, kTextSize);
  folder[kTextSize - 1] = '\0';
  write(context, "IMAGEFOLDER", folder);
  WriteNumber(write, context, "QUANTITY", settings.quantity);
  WriteNumber(write, context, "MOVERANGE", settings.moveRange);
  WriteNumber(write, context, "MOUSECLICK", settings.reactMouseClick);
  WriteNumber(write, context, "MOUSEMOVE", settings.reactMouseMove);
  WriteNumber(write, context, "KEYENTRY", settings.reactKey);
  WriteNumber(write, context, "ENTERKEY", settings.reactEnterKey);
}

int CompairIniInfo(SettingsRecord current, SettingsRecord candidate) {
  if (std::strncmp(current.imageFolder, candidate.imageFolder, kTextSize) != 0) return 2;
  if (current.reactMouseMove != candidate.reactMouseMove ||
      current.reactMouseClick != candidate.reactMouseClick || current.reactKey != candidate.reactKey ||
      current.reactEnterKey != candidate.reactEnterKey || current.quantity != candidate.quantity) {
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
