#include "app/sign_in_start.h"

#include "app/sign_in_rules.h"

namespace {

constexpr DWORD kValueSize = MAX_PATH * 2 + 4;  // wide characters: the quoted path and the NUL

// The value's text; false when it is not there or not a text.
bool ReadRunValue(const wchar_t* name, wchar_t* out) {
  DWORD bytes = kValueSize * sizeof(wchar_t);
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  LONG result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  out[kValueSize - 1] = L'\0';
  out[bytes / sizeof(wchar_t) < kValueSize ? bytes / sizeof(wchar_t) : kValueSize - 1] = L'\0';
  return true;
}

}  // namespace

SignInStart::SignInStart(const wchar_t* valueName, const wchar_t* programPath) : valueName_(valueName) {
  if (programPath != nullptr) {
    lstrcpynW(programPath_, programPath, MAX_PATH * 2);
    return;
  }
  DWORD length = GetModuleFileNameW(nullptr, programPath_, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) programPath_[0] = L'\0';  // cut: no path to store
}

bool SignInStart::IsOn() const {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  const bool present = RegQueryValueExW(key, valueName_, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return present;
}

bool SignInStart::Set(bool on) const {
  wchar_t quoted[kValueSize];
  if (on && !QuoteProgramPath(programPath_, quoted, kValueSize)) return false;
  if (on && programPath_[0] == L'\0') return false;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  LONG result = on ? RegSetValueExW(key, valueName_, 0, REG_SZ, reinterpret_cast<const BYTE*>(quoted),
                                    static_cast<DWORD>((lstrlenW(quoted) + 1) * sizeof(wchar_t)))
                   : RegDeleteValueW(key, valueName_);
  RegCloseKey(key);
  return result == ERROR_SUCCESS || (!on && result == ERROR_FILE_NOT_FOUND);
}

bool SignInStart::FollowMove() const {
  wchar_t stored[kValueSize] = {};
  if (!ReadRunValue(valueName_, stored) || RunValueNamesProgram(stored, programPath_)) return true;
  return Set(true);
}
