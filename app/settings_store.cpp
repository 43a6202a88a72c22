#include "app/settings_store.h"

#include <windows.h>

#include "app/ini_rules.h"
#include "app/mm_file.h"

char iniPath[kTextSize] = {};

namespace {

int IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) ? 1 : 0;
}

void ReadIniKey(void*, const char* key, char* out, int size) {
  GetPps(key, out, size);
}

void WriteIniKey(void*, const char* key, const char* text) {
  WritePrivateProfileStringA(kIniSection, key, text, iniPath);
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

void GetIniInfo() {
  if (iniPath[0] == '\0' || !IniFileExists()) {
    Settings = DefaultSettings();
    SaveIniInfo();
    return;
  }
  Settings = ReadSettings(ReadIniKey, nullptr);
  UpdateMMFile();
}

void SaveIniInfo() {
  // Without a whole path there is no file to write; the settings stay in memory.
  if (iniPath[0] != '\0') WriteSettings(Settings, WriteIniKey, nullptr);
  UpdateMMFile();
}
