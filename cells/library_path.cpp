#include "cells/library_path.h"

#include <cwchar>

int PathBesideModule(const wchar_t* modulePath, const wchar_t* fileName, wchar_t* out, size_t outSize) {
  if (outSize == 0) return 0;
  out[0] = L'\0';
  // UTF-16 units of other characters never equal a separator, so a plain scan is enough.
  size_t folderLength = 0;
  for (size_t i = 0; modulePath[i] != L'\0'; ++i) {
    if (modulePath[i] == L'\\' || modulePath[i] == L'/') folderLength = i + 1;
  }
  if (folderLength == 0) return 0;
  size_t nameLength = std::wcslen(fileName);
  if (folderLength >= outSize || nameLength >= outSize - folderLength) return 0;
  std::wmemcpy(out, modulePath, folderLength);
  std::wmemcpy(out + folderLength, fileName, nameLength + 1);
  return 1;
}
