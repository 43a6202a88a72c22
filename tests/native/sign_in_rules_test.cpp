#include "app/sign_in_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(QuoteProgramPath, QuotesTheWholePathOrRefusesIt) {
  wchar_t out[32];
  ASSERT_EQ(QuoteProgramPath(L"C:\\Program Files\\T.exe", out, 32), 1);
  EXPECT_EQ(std::wstring(out), L"\"C:\\Program Files\\T.exe\"");
  wchar_t small[8];
  EXPECT_EQ(QuoteProgramPath(L"C:\\a.exe", small, 8), 0) << "8 characters, quotes and NUL need 11";
  EXPECT_EQ(std::wstring(small), L"");
  // One short of the room: the closing quote or the NUL would land past the end.
  wchar_t oneShort[10];
  EXPECT_EQ(QuoteProgramPath(L"C:\\a.exe", oneShort, 10), 0);
  EXPECT_EQ(std::wstring(oneShort), L"");
  wchar_t exact[11];
  EXPECT_EQ(QuoteProgramPath(L"C:\\a.exe", exact, 11), 1);
  EXPECT_EQ(std::wstring(exact, 10), L"\"C:\\a.exe\"");
  EXPECT_EQ(exact[10], L'\0');
}

TEST(RunValueNamesProgram, TheSameFileQuotedOrNotInAnyLetterCase) {
  const wchar_t* program = L"C:\\Tools\\ソフト\\Tovik2.exe";
  EXPECT_TRUE(RunValueNamesProgram(L"\"C:\\Tools\\ソフト\\Tovik2.exe\"", program));
  EXPECT_TRUE(RunValueNamesProgram(L"C:\\Tools\\ソフト\\Tovik2.exe", program));
  EXPECT_TRUE(RunValueNamesProgram(L"  \"c:\\tools\\ソフト\\TOVIK2.EXE\" ", program));
}

TEST(RunValueNamesProgram, AMovedProgramOrAnotherTextIsNotIt) {
  const wchar_t* program = L"D:\\New\\Tovik2.exe";
  EXPECT_FALSE(RunValueNamesProgram(L"\"C:\\Old\\Tovik2.exe\"", program)) << "the program moved";
  EXPECT_FALSE(RunValueNamesProgram(L"\"D:\\New\\Tovik2.exe\" /x", program));
  EXPECT_FALSE(RunValueNamesProgram(L"\"D:\\New\\Tovik2.exe", program)) << "a lone quote is part of the text";
  EXPECT_FALSE(RunValueNamesProgram(L"", program));
  EXPECT_FALSE(RunValueNamesProgram(L"\"\"", L""));
}

}  // namespace
