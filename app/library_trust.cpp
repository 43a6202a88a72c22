#include "app/library_trust.h"

#include <aclapi.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "app/library_trust_rules.h"
#include "base/owned_handles.h"

namespace {

// The installer service's account, which owns the system's own files.
constexpr wchar_t kTrustedInstaller[] = L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

Trustee TrusteeOf(PSID sid) {
  if (sid == nullptr || !IsValidSid(sid)) return Trustee::kOther;
  if (IsWellKnownSid(sid, WinLocalSystemSid) || IsWellKnownSid(sid, WinBuiltinAdministratorsSid)) {
    return Trustee::kAdministration;
  }
  PSID installer = nullptr;
  if (!ConvertStringSidToSidW(kTrustedInstaller, &installer)) return Trustee::kOther;
  const bool same = EqualSid(sid, installer) != FALSE;
  LocalFree(installer);
  return same ? Trustee::kAdministration : Trustee::kOther;
}

// A token's integrity level (its label's last part); 0 when unknown.
DWORD IntegrityOf(HANDLE token) {
  alignas(TOKEN_MANDATORY_LABEL) unsigned char buffer[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE];
  DWORD length = 0;
  if (!GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &length)) return 0;
  PSID label = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
  const UCHAR parts = *GetSidSubAuthorityCount(label);
  return parts > 0 ? *GetSidSubAuthority(label, parts - 1) : 0;
}

}  // namespace

bool RunsElevated() {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return false;
  UniqueHandle token(rawToken);
  TOKEN_ELEVATION elevation{};
  DWORD length = 0;
  if (!GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &length) ||
      elevation.TokenIsElevated == 0) {
    return false;
  }
  TOKEN_LINKED_TOKEN linked{};
  if (!GetTokenInformation(token.Get(), TokenLinkedToken, &linked, sizeof linked, &length)) {
    // No limited twin: every program of the user runs as elevated as this one,
    // unless the system only fails to tell; then the library is checked.
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    return !GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof type, &length) ||
           type == TokenElevationTypeFull;
  }
  UniqueHandle twin(linked.LinkedToken);
  const DWORD own = IntegrityOf(token.Get());
  const DWORD ordinary = IntegrityOf(twin.Get());
  return own == 0 || ordinary == 0 || ordinary < own;
}

bool OnlyAdministrationChangesPath(const wchar_t* path) {
  PSID owner = nullptr;
  PACL list = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                            nullptr, &list, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  std::vector<AccessEntry> entries;
  if (list != nullptr) {
    for (DWORD i = 0; i < list->AceCount; ++i) {
      void* raw = nullptr;
      if (!GetAce(list, i, &raw)) continue;
      const auto* header = static_cast<const ACE_HEADER*>(raw);
      const bool allows = header->AceType == ACCESS_ALLOWED_ACE_TYPE;
      // Other kinds of entry (denying, auditing, object entries) count as allowing all, to be safe.
      const bool known = allows || header->AceType == ACCESS_DENIED_ACE_TYPE;
      const auto* ace = static_cast<const ACCESS_ALLOWED_ACE*>(raw);  // the same layout for denying ones
      entries.push_back(AccessEntry{allows || !known, (header->AceFlags & INHERIT_ONLY_ACE) != 0,
                                    known ? ace->Mask : 0xFFFFFFFFu,
                                    known ? TrusteeOf(const_cast<DWORD*>(&ace->SidStart)) : Trustee::kOther});
    }
  }
  const bool protectedPath = OnlyAdministrationChanges(list != nullptr, TrusteeOf(owner), entries.data(), entries.size());
  LocalFree(descriptor);
  return protectedPath;
}

bool LibraryWriteProtected(const wchar_t* path) {
  std::wstring folder(path);
  const size_t slash = folder.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return false;
  folder.resize(slash == 2 && folder[1] == L':' ? 3 : slash);  // a drive's root keeps its backslash
  return OnlyAdministrationChangesPath(path) && OnlyAdministrationChangesPath(folder.c_str());
}
