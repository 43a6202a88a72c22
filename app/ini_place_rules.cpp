#include "app/ini_place_rules.h"

#include <cwchar>

IniPlaceChoice ChooseIniPlace(const IniPlaceFacts& facts) {
  if (facts.besideWritable) return {INI_BESIDE_PROGRAM, false, true};
  if (facts.appDataKnown && facts.appDataWritable) {
    return {INI_APP_DATA, facts.besideExists && !facts.appDataExists, true};
  }
  if (facts.appDataKnown && facts.appDataExists) return {INI_APP_DATA, false, false};
  return {INI_BESIDE_PROGRAM, false, false};
}

void CutAfterLastBackslashW(wchar_t* path) {
  size_t cut = 0;  // just after the last backslash found so far
  for (size_t at = 0; path[at] != L'\0'; ++at) {
    if (path[at] == L'\\') cut = at + 1;
  }
  path[cut] = L'\0';
}

int JoinWidePath(const wchar_t* first, const wchar_t* second, wchar_t* out, size_t size) {
  const size_t firstLength = std::wcslen(first);
  const size_t secondLength = std::wcslen(second);
  if (size == 0) return 0;
  if (firstLength + secondLength + 1 > size) {
    out[0] = L'\0';
    return 0;
  }
  std::wmemmove(out, first, firstLength);
  std::wmemcpy(out + firstLength, second, secondLength + 1);
  return 1;
}
