#include "app/settings_store.h"

#include <windows.h>

#include <cstring>

#include "app/ini_rules.h"
#include "app/message_out.h"
#include "app/mm_file.h"
#include "base/ui_texts.h"

char iniPath[kTextSize] = {};

namespace {

int IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) ? 1 : 0;
}

// Whether the section holds the key: the key names come as a list of
// NUL-terminated names, ended by an empty one.
bool IniKeyPresent(const char* key) {
  char names[2048] = {};
  DWORD length = GetPrivateProfileStringA(kIniSection, nullptr, "", names, sizeof names, iniPath);
  for (DWORD at = 0; at < length && names[at] != '\0'; at += static_cast<DWORD>(strnlen(names + at, sizeof names - at)) + 1) {
    if (lstrcmpiA(names + at, key) == 0) return true;
  }
  return false;
}

int ReadIniKey(void*, const char* key, char* out, int size) {
  if (iniPath[0] == '\0' || !IniKeyPresent(key)) {
    if (size > 0) out[0] = '\0';
    return 0;
  }
  GetPps(key, out, size);
  return 1;
}

int WriteIniKey(void*, const char* key, const char* text) {
  return WritePrivateProfileStringA(kIniSection, key, text, iniPath) ? 1 : 0;
}

// The last save failed, and whether the user has been told since.
bool lastSaveFailed = false;
bool saveFailureTold = false;

int NoteSave(int written) {
  lastSaveFailed = written == 0;
  if (written) saveFailureTold = false;  // a later failure is news again
  return written;
}

// Only a test of existence: the file is closed again at once.
bool IniFileExists() {
  HANDLE file = CreateFileA(iniPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

int GetModulePath(char* out) {
  DWORD length = GetModuleFileNameA(nullptr, out, kTextSize);
  // A path that filled the buffer was cut, and its directory would be wrong.
  if (length == 0 || length >= static_cast<DWORD>(kTextSize)) {
    out[0] = '\0';
    return 0;
  }
  CutAfterLastBackslash(out, IsAnsiLeadByte);
  return 1;
}

int GetIniFileName(char* out) {
  if (!GetModulePath(out)) return 0;
  return MakeIniPath(out, out);
}

void GetPps(const char* key, char* out, int size) {
  out[0] = '\0';
  if (iniPath[0] == '\0' || size <= 0) return;
  GetPrivateProfileStringA(kIniSection, key, "", out, static_cast<DWORD>(size), iniPath);
  out[size - 1] = '\0';
}

int32_t GetPpsByInt(const char* key) {
  char text[kIniNumberChars + 1];
  GetPps(key, text, sizeof text);
  return IniTextToInt(text);
}

int GetIniInfo() {
  if (iniPath[0] == '\0' || !IniFileExists()) {
    Settings = DefaultSettings();
    return SaveIniInfo();
  }
  Settings = ReadSettings(ReadIniKey, nullptr);
  // A file of the first version gains the keys added since, with their defaults.
  AddMissingKeys(Settings, ReadIniKey, WriteIniKey, nullptr);
  UpdateMMFile();
  return 1;
}

int SaveIniInfo() {
  // Without a whole path there is no file to write; the settings stay in memory.
  int written = iniPath[0] != '\0' ? WriteSettings(Settings, WriteIniKey, nullptr) : 1;
  UpdateMMFile();
  return NoteSave(written);
}

int SaveChangedIniInfo(const SettingsRecord& changed) {
  int written = iniPath[0] != '\0' ? WriteSettings(changed, WriteIniKey, nullptr, &Settings) : 1;
  Settings = changed;
  UpdateMMFile();
  return NoteSave(written);
}

void TellUnsavedSettings() {
  if (!lastSaveFailed || saveFailureTold) return;
  saveFailureTold = true;
  MessageOut(UiTexts.slot[TEXT_SETTINGS_UNSAVED]);
}
