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

}  // namespace

void SettingsStore::UseIniPath(const char* path) {
  std::snprintf(iniPath_, sizeof iniPath_, "%s", path != nullptr ? path : "");
}

// Whether the section holds the key: the key names come as a list of
// NUL-terminated names, ended by an empty one.
bool SettingsStore::IniKeyPresent(const char* key) const {
  char names[2048] = {};
  DWORD length = GetPrivateProfileStringA(kIniSection, nullptr, "", names, sizeof names, iniPath_);
  for (DWORD at = 0; at < length && names[at] != '\0'; at += static_cast<DWORD>(strnlen(names + at, sizeof names - at)) + 1) {
    if (lstrcmpiA(names + at, key) == 0) return true;
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
  return WritePrivateProfileStringA(kIniSection, key, text, static_cast<const SettingsStore*>(store)->iniPath_) ? 1 : 0;
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
  UniqueFile file(CreateFileA(iniPath_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

void SettingsStore::GetPps(const char* key, char* out, int size) const {
  if (size <= 0) return;
  out[0] = '\0';
  if (iniPath_[0] == '\0') return;
  GetPrivateProfileStringA(kIniSection, key, "", out, static_cast<DWORD>(size), iniPath_);
  out[size - 1] = '\0';
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
  MessageOut(owner, UiTexts.slot[TEXT_SETTINGS_UNSAVED]);
}

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
