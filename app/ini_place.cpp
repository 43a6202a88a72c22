#include "app/ini_place.h"

#include <initguid.h>  // the folder ids are defined here, not taken from a library
#include <knownfolders.h>
#include <shlobj.h>

#include "app/ini_place_rules.h"
#include "app/ini_rules.h"

namespace {

constexpr wchar_t kWideIniName[] = L"tovik2.ini";
constexpr wchar_t kAppDataSubfolder[] = L"Tovik2\\";

bool IsFile(const wchar_t* path) {
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Opens the file for writing as a save would; a file this made goes again.
bool CanWrite(const wchar_t* path) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool made = GetLastError() != ERROR_ALREADY_EXISTS;
  CloseHandle(file);
  if (made) DeleteFileW(path);
  return true;
}

}  // namespace

int ProgramFolderW(wchar_t* out, size_t size) {
  DWORD length = GetModuleFileNameW(nullptr, out, static_cast<DWORD>(size));
  // A path that filled the buffer was cut, and its folder would be wrong.
  if (length == 0 || length >= size) {
    if (size > 0) out[0] = L'\0';
    return 0;
  }
  CutAfterLastBackslashW(out);
  return 1;
}

void LocateIniFile(const wchar_t* programFolder, const wchar_t* appDataFolder, IniLocation* out) {
  wchar_t beside[kIniPathSize] = {};
  wchar_t appDataDir[kIniPathSize] = {};
  wchar_t appData[kIniPathSize] = {};
  IniPlaceFacts facts{};
  if (JoinWidePath(programFolder, kWideIniName, beside, kIniPathSize)) {
    facts.besideExists = IsFile(beside);
    facts.besideWritable = CanWrite(beside);
  }
  // The application data folder is looked at only when it is needed.
  if (!facts.besideWritable && appDataFolder != nullptr && appDataFolder[0] != L'\0') {
    const wchar_t* separator = appDataFolder[lstrlenW(appDataFolder) - 1] == L'\\' ? L"" : L"\\";
    facts.appDataKnown = JoinWidePath(appDataFolder, separator, appDataDir, kIniPathSize) &&
                         JoinWidePath(appDataDir, kAppDataSubfolder, appDataDir, kIniPathSize) &&
                         JoinWidePath(appDataDir, kWideIniName, appData, kIniPathSize);
    if (facts.appDataKnown) {
      CreateDirectoryW(appDataDir, nullptr);
      facts.appDataExists = IsFile(appData);
      facts.appDataWritable = CanWrite(appData);
    }
  }
  const IniPlaceChoice choice = ChooseIniPlace(facts);
  if (choice.copyBesideFirst) CopyFileW(beside, appData, TRUE);
  lstrcpynW(out->path, choice.place == INI_APP_DATA ? appData : beside, kIniPathSize);
  out->writable = choice.writable;
}

void FindIniFile(IniLocation* out) {
  wchar_t programFolder[kIniPathSize] = {};
  if (!ProgramFolderW(programFolder, kIniPathSize)) {
    out->path[0] = L'\0';
    out->writable = false;
    return;
  }
  PWSTR appData = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &appData))) appData = nullptr;
  LocateIniFile(programFolder, appData, out);
  CoTaskMemFree(appData);
}
