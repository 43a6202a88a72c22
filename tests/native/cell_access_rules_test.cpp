#include "cells/cell_access_rules.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "app/library_trust_rules.h"

namespace {

TEST(CellSddl, GrantsReadAndWriteToTheUserAloneWithAMediumNoWriteUpLabel) {
  wchar_t out[128];
  ASSERT_EQ(ComposeCellSddl(L"S-1-5-21-1004336348-1177238915-682003330-512", out, 128), 1);
  EXPECT_EQ(std::wstring(out), L"D:P(A;;GRGW;;;S-1-5-21-1004336348-1177238915-682003330-512)S:(ML;;NW;;;ME)");
  // What a cell's opener asks for is what the descriptor grants: read and write.
  EXPECT_EQ(kCellOpenAccess, 0x6u);
}

// Elevated over the shoulder, the program runs as an administrator's account
// while the desktop's programs run as the signed-in user: both may use the cells.
TEST(CellSddl, TheDesktopsUserGetsTheSameEntryWhenTheProgramRunsAsAnother) {
  wchar_t out[256];
  ASSERT_EQ(ComposeCellSddl(L"S-1-5-21-1-2-3-500", out, 256, L"S-1-5-21-1-2-3-1001"), 1);
  EXPECT_EQ(std::wstring(out), L"D:P(A;;GRGW;;;S-1-5-21-1-2-3-500)(A;;GRGW;;;S-1-5-21-1-2-3-1001)S:(ML;;NW;;;ME)");
  ASSERT_EQ(ComposeCellSddl(L"S-1-5-21-1-2-3-500", out, 256, L"S-1-5-21-1-2-3-500"), 1);
  EXPECT_EQ(std::wstring(out), L"D:P(A;;GRGW;;;S-1-5-21-1-2-3-500)S:(ML;;NW;;;ME)") << "the same user once";
  ASSERT_EQ(ComposeCellSddl(L"S-1-5-21-1-2-3-500", out, 256, L"S-1-1-0)(A;;GA;;;WD"), 1);
  EXPECT_EQ(std::wstring(out), L"D:P(A;;GRGW;;;S-1-5-21-1-2-3-500)S:(ML;;NW;;;ME)") << "no SID, left out";
  const size_t whole = std::wcslen(L"D:P(A;;GRGW;;;S-1-5-18)(A;;GRGW;;;S-1-5-19)S:(ML;;NW;;;ME)");
  EXPECT_EQ(ComposeCellSddl(L"S-1-5-18", out, whole, L"S-1-5-19"), 0) << "cut rather than dropped";
  EXPECT_EQ(ComposeCellSddl(L"S-1-5-18", out, whole + 1, L"S-1-5-19"), 1);
}

TEST(CellSddl, AnythingButASidIsRefusedRatherThanWideningTheDescriptor) {
  const wchar_t* const refused[] = {
      L"",        L"S-",  L"WD",  L"S-1-1-0)(A;;GA;;;WD",  // a second ACE for everyone smuggled in
      L"s-1-5-18", L"S-1-5-18 ",
  };
  for (const wchar_t* sid : refused) {
    wchar_t out[128] = L"x";
    EXPECT_EQ(ComposeCellSddl(sid, out, 128), 0) << std::wstring(sid).size();
    EXPECT_EQ(out[0], L'\0');
  }
  wchar_t out[128] = L"x";
  EXPECT_EQ(ComposeCellSddl(nullptr, out, 128), 0);
}

TEST(CellSddl, ATextThatWouldNotFitIsNotCut) {
  const wchar_t sid[] = L"S-1-5-18";
  const size_t whole = std::wcslen(L"D:P(A;;GRGW;;;S-1-5-18)S:(ML;;NW;;;ME)");
  wchar_t out[64];
  EXPECT_EQ(ComposeCellSddl(sid, out, whole), 0);
  EXPECT_EQ(out[0], L'\0');
  EXPECT_EQ(ComposeCellSddl(sid, out, whole + 1), 1);
  EXPECT_EQ(std::wcslen(out), whole);
  EXPECT_EQ(ComposeCellSddl(sid, out, 0), 0);
}

// The hook library of an elevated copy: only the administration may change it.
TEST(LibraryTrust, OnlyAnAdministrationOwnedListWithoutOthersWritingIsTrusted) {
  constexpr Trustee kAdmin = Trustee::kAdministration;
  constexpr Trustee kOther = Trustee::kOther;
  constexpr uint32_t kReadExecute = 0x001200A9u;
  constexpr uint32_t kModify = 0x001301BFu;
  const AccessEntry programFiles[] = {
      {true, false, 0x001F01FFu, kAdmin}, {true, false, kReadExecute, kOther},
      {true, true, 0x10000000u, kOther},  // CREATOR OWNER: for what is made inside only
  };
  EXPECT_TRUE(OnlyAdministrationChanges(true, kAdmin, programFiles, 3));
  EXPECT_FALSE(OnlyAdministrationChanges(true, kOther, programFiles, 3)) << "an owner rewrites the list at will";
  EXPECT_FALSE(OnlyAdministrationChanges(false, kAdmin, nullptr, 0)) << "no list lets everybody in";
  EXPECT_TRUE(OnlyAdministrationChanges(true, kAdmin, nullptr, 0)) << "an empty list lets nobody in";
  // The Downloads folder: the user may modify it.
  const AccessEntry downloads[] = {{true, false, 0x001F01FFu, kAdmin}, {true, false, kModify, kOther}};
  EXPECT_FALSE(OnlyAdministrationChanges(true, kAdmin, downloads, 2));
  // Each changing right alone is enough to swap the library.
  for (uint32_t right : {0x0002u, 0x0004u, 0x0040u, 0x00010000u, 0x00040000u, 0x00080000u, 0x10000000u, 0x40000000u}) {
    const AccessEntry one[] = {{true, false, right, kOther}};
    EXPECT_FALSE(OnlyAdministrationChanges(true, kAdmin, one, 1)) << std::hex << right;
    const AccessEntry denied[] = {{false, false, right, kOther}};
    EXPECT_TRUE(OnlyAdministrationChanges(true, kAdmin, denied, 1)) << "a denying entry grants nothing";
  }
}

}  // namespace
