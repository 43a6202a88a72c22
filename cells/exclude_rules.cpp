#include "cells/exclude_rules.h"

#include <cwchar>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000; }  // the last: a full-width space

bool ForbiddenInName(wchar_t c) { return c < 0x20 || std::wcschr(L"\\/:*?\"<>|", c) != nullptr; }

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool CanBeProgramName(const wchar_t* from, const wchar_t* to) {
  for (const wchar_t* c = from; c < to; ++c) {
    if (ForbiddenInName(*c)) return false;
  }
  return true;
}

void CopyCut(const wchar_t* from, size_t length, wchar_t* out, size_t outSize) {
  if (outSize == 0) return;
  if (length >= outSize) length = outSize - 1;
  std::wmemcpy(out, from, length);
  out[length] = L'\0';
}

}  // namespace

int NormaliseExcludeList(const wchar_t* text, wchar_t* out, size_t outSize, wchar_t* dropped, size_t droppedSize) {
  if (outSize > 0) out[0] = L'\0';
  if (droppedSize > 0) dropped[0] = L'\0';
  if (text == nullptr) return 0;
  int droppedCount = 0;
  size_t written = 0;
  for (const wchar_t* at = text; *at != L'\0';) {
    const wchar_t* end = at;
    while (*end != L'\0' && *end != L';') ++end;
    const wchar_t* from = at;
    const wchar_t* to = end;
    while (from < to && IsBlank(*from)) ++from;
    while (to > from && IsBlank(to[-1])) --to;
    at = *end == L';' ? end + 1 : end;
    if (to == from) continue;
    const size_t length = static_cast<size_t>(to - from);
    const size_t needed = length + (written > 0 ? 1 : 0);
    if (!CanBeProgramName(from, to) || written + needed + 1 > outSize) {
      if (droppedCount++ == 0) CopyCut(from, length, dropped, droppedSize);
      continue;
    }
    if (written > 0) out[written++] = L';';
    std::wmemcpy(out + written, from, length);
    written += length;
    out[written] = L'\0';
  }
  return droppedCount;
}

bool IsExcludedProgram(const wchar_t* list, const wchar_t* programName) {
  if (list == nullptr || programName == nullptr || programName[0] == L'\0') return false;
  const size_t nameLength = std::wcslen(programName);
  for (const wchar_t* at = list; *at != L'\0';) {
    const wchar_t* end = at;
    while (*end != L'\0' && *end != L';') ++end;
    if (static_cast<size_t>(end - at) == nameLength) {
      size_t i = 0;
      while (i < nameLength && Lower(at[i]) == Lower(programName[i])) ++i;
      if (i == nameLength) return true;
    }
    at = *end == L';' ? end + 1 : end;
  }
  return false;
}
