#include "app/settings_store.h"

#include <cstdio>
#include <cstring>

#include "app/ini_rules.h"
#include "app/message_out.h"
#include "base/owned_handles.h"
#include "base/ui_texts.h"

namespace {

int IsAnsiLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) ? 1 : 0;
}

// Keys and texts of the settings file are in the ANSI code page, as the
// profile functions' ANSI forms would have them; only the file's path is
// wide. The contents go through the code page both ways, as those forms do,
// so the file's bytes stay what they were.
constexpr int kWideKeySize = 64;
void WidenKey(const char* key, wchar_t* out) {
  if (MultiByteToWideChar(CP_ACP, 0, key, -1, out, kWideKeySize) == 0) out[0] = L'\0';
}

// The wide text back in the code page, at most size - 1 bytes, never ending
// in half a character.
void NarrowText(const wchar_t* text, char* out, int size) {
  if (size <= 0) return;
  char whole[kExcludeTextSize * 2 + 8] = {};
  int length = WideCharToMultiByte(CP_ACP, 0, text, -1, whole, sizeof whole, nullptr, nullptr);
  if (length == 0) whole[0] = '\0';
  whole[sizeof whole - 1] = '\0';
  int at = 0;
  while (whole[at] != '\0') {
    const int step = IsAnsiLeadByte(static_cast<unsigned char>(whole[at])) && whole[at + 1] != '\0' ? 2 : 1;
    if (at + step > size - 1) break;
    at += step;
  }
  std::memcpy(out, whole, at);
  out[at] = '\0';
}

}  // namespace

void SettingsStore::UseIniPath(const wchar_t* path) {
  lstrcpynW(iniPath_, path != nullptr ? path : L"", kIniPathSize);
}

void SettingsStore::UseIniPath(const char* path) {
  wchar_t wide[kIniPathSize] = {};
  if (path != nullptr) MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kIniPathSize);
  wide[kIniPathSize - 1] = L'\0';
  UseIniPath(wide);
}

// Whether the section holds the key: the key names come as a list of
// NUL-terminated names, ended by an empty one.
bool SettingsStore::IniKeyPresent(const char* key) const {
  wchar_t names[2048] = {};
  wchar_t section[kWideKeySize];
  wchar_t wideKey[kWideKeySize];
  WidenKey(kIniSection, section);
  WidenKey(key, wideKey);
  DWORD length = GetPrivateProfileStringW(section, nullptr, L"", names, 2048, iniPath_);
  for (DWORD at = 0; at < length && names[at] != L'\0'; at += static_cast<DWORD>(wcsnlen(names + at, 2048 - at)) + 1) {
    if (lstrcmpiW(names + at, wideKey) == 0) return true;
  }
  return false;
}

int SettingsStore::ReadIniKey(void* store, const char* key, char* out, int size) {
  const auto* self = static_cast<const SettingsStore*>(store);
  if (self->iniPath_[0] == '\0' || !self->IniKeyPresent(key)) {
    if (size > 0) out[0] = '\0';
    return 0;
  }
  self->GetPps(key, out, size);
  return 1;
}

int SettingsStore::WriteIniKey(void* store, const char* key, const char* text) {
  wchar_t section[kWideKeySize];
  wchar_t wideKey[kWideKeySize];
  wchar_t wideText[kExcludeTextSize + 1] = {};
  WidenKey(kIniSection, section);
  WidenKey(key, wideKey);
  if (MultiByteToWideChar(CP_ACP, 0, text, -1, wideText, kExcludeTextSize + 1) == 0) return 0;
  return WritePrivateProfileStringW(section, wideKey, wideText, static_cast<const SettingsStore*>(store)->iniPath_) ? 1 : 0;
}

int SettingsStore::NoteSave(int written) {
  lastSaveFailed_ = written == 0;
  if (written) saveFailureTold_ = false;  // a later failure is news again
  return written;
}

void SettingsStore::Mirror() {
  if (cells_ != nullptr) cells_->UpdateMMFile(settings_);
}

// Only a test of existence: the file is closed again at once.
bool SettingsStore::IniFileExists() const {
  UniqueFile file(CreateFileW(iniPath_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

void SettingsStore::GetPps(const char* key, char* out, int size) const {
  if (size <= 0) return;
  out[0] = '\0';
  if (iniPath_[0] == '\0') return;
  wchar_t section[kWideKeySize];
  wchar_t wideKey[kWideKeySize];
  wchar_t text[kExcludeTextSize + 1] = {};
  WidenKey(kIniSection, section);
  WidenKey(key, wideKey);
  // As many characters as the buffer has bytes: the narrowing cuts the rest.
  const int room = size < kExcludeTextSize + 1 ? size : kExcludeTextSize + 1;
  GetPrivateProfileStringW(section, wideKey, L"", text, static_cast<DWORD>(room), iniPath_);
  NarrowText(text, out, size);
}

int32_t SettingsStore::GetPpsByInt(const char* key) const {
  char text[kIniNumberChars + 1];
  GetPps(key, text, sizeof text);
  return IniTextToInt(text);
}

int SettingsStore::GetIniInfo() {
  if (iniPath_[0] == '\0' || !IniFileExists()) return SaveIniInfo(DefaultSettings());
  settings_ = ReadSettings(ReadIniKey, this);
  // A file of the first version gains the keys added since, with their defaults.
  AddMissingKeys(settings_, ReadIniKey, WriteIniKey, this);
  Mirror();
  return 1;
}

int SettingsStore::SaveIniInfo(const SettingsRecord& settings) {
  settings_ = settings;
  // Without a whole path there is no file to write; the settings stay in memory.
  int written = iniPath_[0] != '\0' ? WriteSettings(settings_, WriteIniKey, this) : 1;
  Mirror();
  return NoteSave(written);
}

int SettingsStore::SaveChangedIniInfo(const SettingsRecord& changed) {
  int written = iniPath_[0] != '\0' ? WriteSettings(changed, WriteIniKey, this, &settings_) : 1;
  settings_ = changed;
  Mirror();
  return NoteSave(written);
}

int SettingsStore::TakeChosenSettings(const SettingsRecord& chosen) {
  const int changed = CompairIniInfo(settings_, chosen);
  if (changed != 0) SaveChangedIniInfo(chosen);
  return changed;
}

void SettingsStore::TellUnsavedSettings(HWND owner) {
  if (!lastSaveFailed_ || saveFailureTold_) return;
  saveFailureTold_ = true;
  // The text names the file, so the user knows which one to look at.
  wchar_t text[kTextSize + kIniPathSize + 4];
  wsprintfW(text, L"%s\n\n%s", UiTexts.slot[TEXT_SETTINGS_UNSAVED], iniPath_[0] != L'\0' ? iniPath_ : L"tovik2.ini");
  MessageOut(owner, text);
}
