#include "cells/cell_access_rules.h"

#include <cwchar>

namespace {

constexpr wchar_t kBefore[] = L"D:P(A;;GRGW;;;";
constexpr wchar_t kBetween[] = L")(A;;GRGW;;;";
constexpr wchar_t kAfter[] = L")S:(ML;;NW;;;ME)";

// "S-" then digits and dashes only: anything else could close the ACE and
// widen the descriptor.
bool LooksLikeSid(const wchar_t* sid) {
  if (sid == nullptr || sid[0] != L'S' || sid[1] != L'-' || sid[2] == L'\0') return false;
  for (const wchar_t* at = sid + 2; *at != L'\0'; ++at) {
    if (!(*at == L'-' || (*at >= L'0' && *at <= L'9'))) return false;
  }
  return true;
}

}  // namespace

int ComposeCellSddl(const wchar_t* userSid, wchar_t* out, size_t outSize, const wchar_t* desktopUserSid) {
  if (outSize == 0) return 0;
  out[0] = L'\0';
  if (!LooksLikeSid(userSid)) return 0;
  const bool second = LooksLikeSid(desktopUserSid) && std::wcscmp(desktopUserSid, userSid) != 0;
  const size_t before = std::wcslen(kBefore);
  const size_t sid = std::wcslen(userSid);
  const size_t between = second ? std::wcslen(kBetween) : 0;
  const size_t sid2 = second ? std::wcslen(desktopUserSid) : 0;
  const size_t after = std::wcslen(kAfter);
  if (before + sid + between + sid2 + after >= outSize) return 0;
  wchar_t* at = out;
  std::wmemcpy(at, kBefore, before);
  std::wmemcpy(at += before, userSid, sid);
  at += sid;
  if (second) {
    std::wmemcpy(at, kBetween, between);
    std::wmemcpy(at += between, desktopUserSid, sid2);
    at += sid2;
  }
  std::wmemcpy(at, kAfter, after + 1);
  return 1;
}
