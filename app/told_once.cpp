#include "app/told_once.h"

#include <cstring>

namespace {

constexpr char kToldSection[] = "TOLD";

}  // namespace

bool ToldOnce::FirstTime(const wchar_t* iniPath, const char* value) {
  char told[kHotkeyTextSize] = {};
  const bool inFile = iniPath != nullptr && iniPath[0] != L'\0';
  wchar_t wideKey[32] = {}, wideSection[8] = {}, wideTold[kHotkeyTextSize] = {}, wideValue[kHotkeyTextSize] = {};
  if (inFile) {
    MultiByteToWideChar(CP_ACP, 0, key_, -1, wideKey, 32);
    MultiByteToWideChar(CP_ACP, 0, kToldSection, -1, wideSection, 8);
    GetPrivateProfileStringW(wideSection, wideKey, L"", wideTold, kHotkeyTextSize, iniPath);
    WideCharToMultiByte(CP_ACP, 0, wideTold, -1, told, kHotkeyTextSize, nullptr, nullptr);
  } else {
    std::memcpy(told, inMemory_, sizeof told);
  }
  if (std::strncmp(told, value, kHotkeyTextSize - 1) == 0) return false;
  std::strncpy(inMemory_, value, kHotkeyTextSize - 1);
  if (inFile) {
    MultiByteToWideChar(CP_ACP, 0, value, -1, wideValue, kHotkeyTextSize);
    wideValue[kHotkeyTextSize - 1] = L'\0';
    WritePrivateProfileStringW(wideSection, wideKey, wideValue, iniPath);
  }
  return true;
}
