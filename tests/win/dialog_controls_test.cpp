#include "app/dialog_controls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The real settings dialog template, created modeless for inspection.
class SettingsTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(127), nullptr, QuietProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override { DestroyWindow(dialog_); }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  HWND dialog_ = nullptr;
};

TEST_F(SettingsTemplate, GroupRadioEnableGreysTheKeyChoicesAndTheFolderCaptionOnly) {
  GroupRadioEnable(Item(1008), FALSE);
  EXPECT_FALSE(IsWindowEnabled(Item(1008)));
  EXPECT_FALSE(IsWindowEnabled(Item(1009)));
  HWND folderGroup = GetWindow(Item(1009), GW_HWNDNEXT);
  EXPECT_FALSE(IsWindowEnabled(folderGroup)) << "the image folder group's caption greys too";
  EXPECT_TRUE(IsWindowEnabled(Item(1010))) << "the walk stops at the edit";
  EXPECT_TRUE(IsWindowEnabled(Item(1005)));

  GroupRadioEnable(Item(1008), TRUE);
  EXPECT_TRUE(IsWindowEnabled(Item(1008)));
  EXPECT_TRUE(IsWindowEnabled(Item(1009)));
  EXPECT_TRUE(IsWindowEnabled(folderGroup));
}

TEST_F(SettingsTemplate, GroupRadioEnableIgnoresAControlThatStartsNoRadioGroup) {
  GroupRadioEnable(Item(1009), FALSE);  // no WS_GROUP
  EXPECT_TRUE(IsWindowEnabled(Item(1009)));
  GroupRadioEnable(Item(1010), FALSE);  // an edit
  EXPECT_TRUE(IsWindowEnabled(Item(1010)));
}

TEST_F(SettingsTemplate, SpinRunsFromOneToNineAndTheLabelShowsTheStoredValue) {
  InitLocalSpin(Item(1001), Item(1014), 25);
  char label[8] = {};
  GetWindowTextA(Item(1014), label, sizeof label);
  EXPECT_STREQ(label, "25");
  int low = 0, high = 0;
  SendMessageA(Item(1001), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 9);

  InitLocalSpin(Item(1001), Item(1014), 4);
  EXPECT_EQ(LOWORD(SendMessageA(Item(1001), UDM_GETPOS, 0, 0)), 4);
}

TEST_F(SettingsTemplate, CheckedButtonsReadAsOne) {
  CheckDlgButton(dialog_, 1003, BST_CHECKED);
  CheckDlgButton(dialog_, 1007, BST_UNCHECKED);
  EXPECT_EQ(GetDlgBoolByInt(dialog_, 1003), 1);
  EXPECT_EQ(GetDlgBoolByInt(dialog_, 1007), 0);
}

TEST_F(SettingsTemplate, SetCenterWindowCentresOnThePrimaryScreen) {
  SetCenterWindow(dialog_);
  RECT rect{};
  GetWindowRect(dialog_, &rect);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

}  // namespace
