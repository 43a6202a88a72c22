#include "app/sign_in_rules.h"

#include <cwchar>

namespace {

wchar_t FoldCase(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

int QuoteProgramPath(const wchar_t* path, wchar_t* out, size_t size) {
  const size_t length = std::wcslen(path);
  if (size == 0) return 0;
  if (length + 3 > size) {
    out[0] = L'\0';
    return 0;
  }
  out[0] = L'"';
  std::wmemcpy(out + 1, path, length);
  out[length + 1] = L'"';
  out[length + 2] = L'\0';
  return 1;
}

bool RunValueNamesProgram(const wchar_t* stored, const wchar_t* path) {
  size_t begin = 0;
  size_t end = std::wcslen(stored);
  while (begin < end && stored[begin] == L' ') ++begin;
  while (end > begin && stored[end - 1] == L' ') --end;
  if (end - begin >= 2 && stored[begin] == L'"' && stored[end - 1] == L'"') {
    ++begin;
    --end;
  }
  const size_t length = std::wcslen(path);
  if (end - begin != length || length == 0) return false;
  for (size_t at = 0; at < length; ++at) {
    if (FoldCase(stored[begin + at]) != FoldCase(path[at])) return false;
  }
  return true;
}

bool StartupApprovedBlocks(const unsigned char* data, size_t size) { return size > 0 && (data[0] & 1u) != 0; }

bool LastingPlace(const wchar_t* path, const wchar_t* tempFolder, DriveKind drive) {
  if (drive == DriveKind::kRemovable) return false;
  size_t length = tempFolder != nullptr ? std::wcslen(tempFolder) : 0;
  while (length > 0 && (tempFolder[length - 1] == L'\\' || tempFolder[length - 1] == L'/')) --length;
  if (length == 0) return true;
  for (size_t at = 0; at < length; ++at) {
    if (path[at] == L'\0' || FoldCase(path[at]) != FoldCase(tempFolder[at])) return true;
  }
  // Inside the folder, not a sibling whose name merely begins the same.
  return path[length] != L'\\' && path[length] != L'/';
}
