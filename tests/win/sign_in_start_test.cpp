#include "app/sign_in_start.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kValue[] = L"Tovik2 sign-in test";

std::wstring RunValue() {
  wchar_t value[1024] = {};
  DWORD bytes = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kValue, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return value;
}

void StoreRunValue(const std::wstring& text) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kValue, REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

void BlockAtStartUp(unsigned char first) {
  const unsigned char data[12] = {first};
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kStartupApprovedKey, kValue, REG_BINARY, data, sizeof data),
            ERROR_SUCCESS);
}

bool StartUpBlockThere() {
  DWORD bytes = 0;
  return RegGetValueW(HKEY_CURRENT_USER, kStartupApprovedKey, kValue, RRF_RT_REG_BINARY, nullptr, nullptr, &bytes) ==
         ERROR_SUCCESS;
}

class SignInStartTest : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kValue);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kStartupApprovedKey, kValue);
  }
};

TEST_F(SignInStartTest, OnStoresTheQuotedPathOffRemovesItAndIsOnReadsTheRegistry) {
  SignInStart run(kValue, L"C:\\Program Files\\ソフト\\Tovik2.exe");
  EXPECT_FALSE(run.IsOn());
  ASSERT_TRUE(run.Set(true));
  EXPECT_EQ(RunValue(), L"\"C:\\Program Files\\ソフト\\Tovik2.exe\"");
  EXPECT_TRUE(run.IsOn());
  ASSERT_TRUE(run.Set(false));
  EXPECT_EQ(RunValue(), L"<none>");
  EXPECT_FALSE(run.IsOn());
  EXPECT_TRUE(run.Set(false)) << "removing what is not there is no failure";
}

// Disabled in the task manager's start-up list, the value stays but Windows
// does not run it: the mark says so, and ticking it clears the block.
TEST_F(SignInStartTest, TheStartUpListsBlockShowsAsOffAndTurningOnClearsIt) {
  SignInStart run(kValue, L"C:\\Tools\\Tovik2.exe");
  ASSERT_TRUE(run.Set(true));
  BlockAtStartUp(0x03);
  EXPECT_FALSE(run.IsOn()) << "the mark would show a start Windows does not make";
  BlockAtStartUp(0x02);
  EXPECT_TRUE(run.IsOn()) << "enabled again in the list";
  BlockAtStartUp(0x03);
  ASSERT_TRUE(run.Set(true));
  EXPECT_TRUE(run.IsOn());
  EXPECT_FALSE(StartUpBlockThere());
  EXPECT_EQ(RunValue(), L"\"C:\\Tools\\Tovik2.exe\"");
  BlockAtStartUp(0x03);
  ASSERT_TRUE(run.Set(false));
  EXPECT_FALSE(StartUpBlockThere()) << "a stale block stays behind";
}

// A copy run from inside a zip archive (unpacked into the temporary folder)
// does not take the value from the copy the user keeps.
TEST_F(SignInStartTest, ACopyInTheTemporaryFolderLeavesTheValueAlone) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring unpacked = std::wstring(temp) + L"Temp1_tovik2.zip\\Tovik2.exe";
  StoreRunValue(L"\"C:\\Tools\\Tovik2.exe\"");
  EXPECT_TRUE(SignInStart(kValue, unpacked.c_str()).FollowMove());
  EXPECT_EQ(RunValue(), L"\"C:\\Tools\\Tovik2.exe\"");
}

TEST_F(SignInStartTest, AMovedProgramPointsTheValueAtItsNewPlaceAndNothingElseIsTouched) {
  SignInStart moved(kValue, L"D:\\New\\Tovik2.exe");
  EXPECT_TRUE(moved.FollowMove());
  EXPECT_EQ(RunValue(), L"<none>") << "the user did not ask to start at sign-in";

  StoreRunValue(L"\"C:\\Old\\Tovik2.exe\"");
  EXPECT_TRUE(moved.FollowMove());
  EXPECT_EQ(RunValue(), L"\"D:\\New\\Tovik2.exe\"");

  StoreRunValue(L"d:\\new\\TOVIK2.EXE");
  EXPECT_TRUE(moved.FollowMove());
  EXPECT_EQ(RunValue(), L"d:\\new\\TOVIK2.EXE") << "the same file in other letters is left as the user wrote it";
}

TEST_F(SignInStartTest, ARefusedWriteIsAFailure) {
  const std::wstring tooLong(20000, L'v');  // longer than a value's name may be
  SignInStart refused(tooLong.c_str(), L"C:\\Tovik2.exe");
  EXPECT_FALSE(refused.Set(true));
  EXPECT_FALSE(refused.IsOn());
  SignInStart noPath(kValue, L"");
  EXPECT_FALSE(noPath.Set(true)) << "without the program's path there is nothing to start";
  EXPECT_EQ(RunValue(), L"<none>");
}

}  // namespace
