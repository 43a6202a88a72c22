#include "app/settings_store.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "app/ini_rules.h"
#include "app/ini_section.h"
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

// The settings file's text in the code page, at most kIniReadLimit bytes of
// it; a file that starts with a UTF-16 or UTF-8 mark is turned into the code
// page, as the system's reader would. Owns its bytes.
constexpr DWORD kIniReadLimit = 1 << 20;
class IniText {
 public:
  IniText() = default;
  ~IniText() { Free(); }
  IniText(const IniText&) = delete;
  IniText& operator=(const IniText&) = delete;

  bool Load(const wchar_t* path) {
    UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER fileSize{};
    if (!GetFileSizeEx(file.Get(), &fileSize)) return false;
    const DWORD wanted = fileSize.QuadPart < kIniReadLimit ? static_cast<DWORD>(fileSize.QuadPart) : kIniReadLimit;
    bytes_ = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, wanted + 2));
    if (bytes_ == nullptr) return false;
    DWORD read = 0;
    if (wanted > 0 && !ReadFile(file.Get(), bytes_, wanted, &read, nullptr)) return false;
    length_ = read;
    const auto* raw = reinterpret_cast<const unsigned char*>(bytes_);
    if (length_ >= 2 && raw[0] == 0xFE && raw[1] == 0xFF) {  // UTF-16, big end first
      for (size_t at = 0; at + 1 < length_; at += 2) std::swap(bytes_[at], bytes_[at + 1]);
    }
    if (length_ >= 2 && raw[0] == 0xFF && raw[1] == 0xFE) {
      return FromWide(reinterpret_cast<const wchar_t*>(bytes_ + 2), static_cast<int>((length_ - 2) / 2));
    }
    if (length_ >= 3 && raw[0] == 0xEF && raw[1] == 0xBB && raw[2] == 0xBF) return FromUtf8();
    return true;
  }
  const char* Bytes() const { return bytes_; }
  size_t Length() const { return length_; }

 private:
  bool FromUtf8() {
    const int count = MultiByteToWideChar(CP_UTF8, 0, bytes_ + 3, static_cast<int>(length_ - 3), nullptr, 0);
    auto* wide = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (static_cast<size_t>(count) + 1) * sizeof(wchar_t)));
    if (wide == nullptr) return false;
    MultiByteToWideChar(CP_UTF8, 0, bytes_ + 3, static_cast<int>(length_ - 3), wide, count);
    const bool done = FromWide(wide, count);
    HeapFree(GetProcessHeap(), 0, wide);
    return done;
  }
  // Replaces the bytes with the wide text in the code page.
  bool FromWide(const wchar_t* wide, int count) {
    const int narrow = WideCharToMultiByte(CP_ACP, 0, wide, count, nullptr, 0, nullptr, nullptr);
    auto* bytes = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, static_cast<size_t>(narrow) + 1));
    if (bytes == nullptr) return false;
    length_ = static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, wide, count, bytes, narrow, nullptr, nullptr));
    Free();
    bytes_ = bytes;
    return true;
  }
  void Free() {
    if (bytes_ != nullptr) HeapFree(GetProcessHeap(), 0, bytes_);
    bytes_ = nullptr;
  }

  char* bytes_ = nullptr;
  size_t length_ = 0;
};

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

int SettingsStore::ReadIniKey(void* store, const char* key, char* out, int size) {
  return static_cast<const SettingsStore*>(store)->ReadKey(key, out, size);
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

int SettingsStore::ReadKey(const char* key, char* out, int size) const {
  if (size > 0) out[0] = '\0';
  if (iniPath_[0] == L'\0') return 0;
  IniText text;
  if (!text.Load(iniPath_)) return 0;
  return FindIniValue(text.Bytes(), text.Length(), kIniSection, key, out, size, IsAnsiLeadByte);
}

void SettingsStore::GetPps(const char* key, char* out, int size) const { ReadKey(key, out, size); }

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
