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

// The task manager's start-up list: 02 or 06 first when enabled, 03 (or
// another odd byte) when the user disabled the program there.
TEST(StartupApproved, AnOddFirstByteBlocksTheRunValue) {
  const unsigned char enabled[12] = {0x02};
  const unsigned char enabledAgain[12] = {0x06};
  const unsigned char disabled[12] = {0x03, 0, 0, 0, 0x4F, 0x21, 0x90, 0x1C, 0x3A, 0x12, 0xD6, 0x01};
  EXPECT_FALSE(StartupApprovedBlocks(enabled, sizeof enabled));
  EXPECT_FALSE(StartupApprovedBlocks(enabledAgain, sizeof enabledAgain));
  EXPECT_TRUE(StartupApprovedBlocks(disabled, sizeof disabled));
  EXPECT_TRUE(StartupApprovedBlocks(disabled, 1));
  EXPECT_FALSE(StartupApprovedBlocks(disabled, 0)) << "an empty value blocks nothing";
}

TEST(LastingPlace, ACopyInTheTemporaryFolderOrOnARemovableDriveDoesNotTakeTheValueOver) {
  const wchar_t* temp = L"C:\\Users\\u\\AppData\\Local\\Temp\\";
  EXPECT_TRUE(LastingPlace(L"C:\\Tools\\Tovik2\\Tovik2.exe", temp, DriveKind::kFixed));
  EXPECT_FALSE(LastingPlace(L"C:\\Users\\u\\AppData\\Local\\Temp\\Temp1_tovik2.zip\\Tovik2.exe", temp,
                            DriveKind::kFixed))
      << "run from inside a zip archive";
  EXPECT_FALSE(LastingPlace(L"c:\\users\\U\\appdata\\local\\TEMP\\x\\Tovik2.exe", temp, DriveKind::kFixed))
      << "in other letters";
  EXPECT_FALSE(LastingPlace(L"C:\\Users\\u\\AppData\\Local\\Temp\\Tovik2.exe", L"C:\\Users\\u\\AppData\\Local\\Temp",
                            DriveKind::kFixed))
      << "a folder named without its last backslash";
  EXPECT_TRUE(LastingPlace(L"C:\\Users\\u\\AppData\\Local\\Temporary Tools\\Tovik2.exe",
                           L"C:\\Users\\u\\AppData\\Local\\Temp", DriveKind::kFixed))
      << "a sibling whose name begins the same";
  EXPECT_FALSE(LastingPlace(L"E:\\Tovik2\\Tovik2.exe", temp, DriveKind::kRemovable)) << "a USB stick";
  EXPECT_TRUE(LastingPlace(L"\\\\server\\share\\Tovik2.exe", temp, DriveKind::kOther));
  EXPECT_TRUE(LastingPlace(L"C:\\Tovik2.exe", L"", DriveKind::kFixed)) << "no temporary folder known";
}

}  // namespace
