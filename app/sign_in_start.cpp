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

// The start-up list's block of the value, if any.
bool BlockedAtStartUp(const wchar_t* name) {
  unsigned char data[16] = {};
  DWORD bytes = sizeof data;
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kStartupApprovedKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  const LONG result = RegQueryValueExW(key, name, nullptr, &type, data, &bytes);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_BINARY && StartupApprovedBlocks(data, bytes);
}

bool InLastingPlace(const wchar_t* programPath) {
  wchar_t temp[MAX_PATH + 1] = {};
  const DWORD tempLength = GetTempPathW(MAX_PATH + 1, temp);
  if (tempLength == 0 || tempLength > MAX_PATH) temp[0] = L'\0';
  // The long form too: the temporary folder is often named in its short form.
  wchar_t longTemp[MAX_PATH * 2] = {};
  const DWORD longLength = temp[0] != L'\0' ? GetLongPathNameW(temp, longTemp, MAX_PATH * 2) : 0;
  wchar_t root[4] = {programPath[0], L':', L'\\', L'\0'};
  const UINT type = programPath[0] != L'\0' && programPath[1] == L':' ? GetDriveTypeW(root) : DRIVE_UNKNOWN;
  const DriveKind drive =
      type == DRIVE_REMOVABLE || type == DRIVE_CDROM ? DriveKind::kRemovable : type == DRIVE_FIXED ? DriveKind::kFixed : DriveKind::kOther;
  return LastingPlace(programPath, temp, drive) &&
         (longLength == 0 || longLength >= MAX_PATH * 2 || LastingPlace(programPath, longTemp, drive));
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
  return present && !BlockedAtStartUp(valueName_);
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
  if (result != ERROR_SUCCESS && !(!on && result == ERROR_FILE_NOT_FOUND)) return false;
  // Without its block, Windows runs the value again; turned off, no stale block stays behind.
  const LONG unblocked = RegDeleteKeyValueW(HKEY_CURRENT_USER, kStartupApprovedKey, valueName_);
  return !on || unblocked == ERROR_SUCCESS || unblocked == ERROR_FILE_NOT_FOUND || !BlockedAtStartUp(valueName_);
}

bool SignInStart::FollowMove() const {
  wchar_t stored[kValueSize] = {};
  if (!ReadRunValue(valueName_, stored) || RunValueNamesProgram(stored, programPath_)) return true;
  if (!InLastingPlace(programPath_)) return true;  // the value stays with the copy that lasts
  return Set(true);
}
