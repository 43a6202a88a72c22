#include "cells/cell_access_rules.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

TEST(CellSddl, GrantsReadAndWriteToTheUserAloneWithAMediumNoWriteUpLabel) {
  wchar_t out[128];
  ASSERT_EQ(ComposeCellSddl(L"S-1-5-21-1004336348-1177238915-682003330-512", out, 128), 1);
  EXPECT_EQ(std::wstring(out), L"D:P(A;;GRGW;;;S-1-5-21-1004336348-1177238915-682003330-512)S:(ML;;NW;;;ME)");
  // What a cell's opener asks for is what the descriptor grants: read and write.
  EXPECT_EQ(kCellOpenAccess, 0x6u);
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

}  // namespace
