#include "cells/cell_security.h"

#include <sddl.h>

#include <cwchar>

#include "base/owned_handles.h"
#include "cells/cell_access_rules.h"

namespace {

// An SDDL text with two users' SIDs fits this many characters with room to spare.
constexpr size_t kSddlSize = 384;

}  // namespace

namespace {

// The user a process's token names, as a string SID.
bool UserSidOf(HANDLE process, wchar_t* out, size_t outSize) {
  if (outSize == 0) return false;
  out[0] = L'\0';
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &rawToken)) return false;
  UniqueHandle token(rawToken);
  // A TOKEN_USER with its SID: the SID is at most 68 bytes.
  alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD length = 0;
  if (!GetTokenInformation(token.Get(), TokenUser, buffer, sizeof buffer, &length)) return false;
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &text)) return false;
  const bool fits = std::wcslen(text) < outSize;
  if (fits) std::wcscpy(out, text);
  LocalFree(text);
  return fits;
}

}  // namespace

bool CurrentUserSid(wchar_t* out, size_t outSize) { return UserSidOf(GetCurrentProcess(), out, outSize); }

bool DesktopUserSid(wchar_t* out, size_t outSize) {
  if (outSize > 0) out[0] = L'\0';
  DWORD shellProcess = 0;
  HWND shell = GetShellWindow();
  if (shell == nullptr || GetWindowThreadProcessId(shell, &shellProcess) == 0) return false;
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellProcess));
  return process && UserSidOf(process.Get(), out, outSize);
}

bool CurrentCellSddl(wchar_t* out, size_t outSize) {
  wchar_t sid[kSddlSize];
  if (!CurrentUserSid(sid, kSddlSize)) {
    if (outSize > 0) out[0] = L'\0';
    return false;
  }
  wchar_t desktop[kSddlSize];
  const bool desktopKnown = DesktopUserSid(desktop, kSddlSize);
  return ComposeCellSddl(sid, out, outSize, desktopKnown ? desktop : nullptr) == 1;
}

CellSecurity::CellSecurity() {
  wchar_t sddl[kSddlSize];
  if (!CurrentCellSddl(sddl, kSddlSize)) return;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor_, nullptr)) {
    descriptor_ = nullptr;
    return;
  }
  attributes_.nLength = sizeof attributes_;
  attributes_.lpSecurityDescriptor = descriptor_;
  attributes_.bInheritHandle = FALSE;
}

CellSecurity::~CellSecurity() {
  if (descriptor_ != nullptr) LocalFree(descriptor_);
}
