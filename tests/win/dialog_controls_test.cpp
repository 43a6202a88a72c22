#include "app/dialog_controls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "base/resource_ids.h"
#include "code_page.h"

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The real settings dialog template, created modeless for inspection, wide as
// the program makes it.
class SettingsTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, QuietProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override { DestroyWindow(dialog_); }
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  HWND dialog_ = nullptr;
};

TEST_F(SettingsTemplate, GroupRadioEnableGreysTheKeyChoicesAndTheFolderCaptionOnly) {
  GroupRadioEnable(Item(IDC_ENTER_KEY), FALSE);
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_ENTER_KEY)));
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_ALL_KEYS)));
  HWND folderGroup = GetWindow(Item(IDC_ALL_KEYS), GW_HWNDNEXT);
  EXPECT_FALSE(IsWindowEnabled(folderGroup)) << "the image folder group's caption greys too";
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_FOLDER_EDIT))) << "the walk stops at the edit";
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_KEY)));

  GroupRadioEnable(Item(IDC_ENTER_KEY), TRUE);
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_ENTER_KEY)));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_ALL_KEYS)));
  EXPECT_TRUE(IsWindowEnabled(folderGroup));
}

TEST_F(SettingsTemplate, GroupRadioEnableIgnoresAControlThatStartsNoRadioGroup) {
  GroupRadioEnable(Item(IDC_ALL_KEYS), FALSE);  // no WS_GROUP
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_ALL_KEYS)));
  GroupRadioEnable(Item(IDC_FOLDER_EDIT), FALSE);  // an edit
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_FOLDER_EDIT)));
}

TEST_F(SettingsTemplate, SpinRunsFromOneToNineAndTheLabelShowsTheStoredValue) {
  InitLocalSpin(Item(IDC_SPIN), Item(IDC_COUNT_LABEL), 25);
  wchar_t label[8] = {};
  GetWindowTextW(Item(IDC_COUNT_LABEL), label, 8);
  EXPECT_STREQ(label, L"25");
  int low = 0, high = 0;
  SendMessageA(Item(IDC_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 9);

  InitLocalSpin(Item(IDC_SPIN), Item(IDC_COUNT_LABEL), 4);
  EXPECT_EQ(LOWORD(SendMessageA(Item(IDC_SPIN), UDM_GETPOS, 0, 0)), 4);
}

TEST_F(SettingsTemplate, CheckedButtonsReadAsOne) {
  CheckDlgButton(dialog_, IDC_MOUSE_CLICK, BST_CHECKED);
  CheckDlgButton(dialog_, IDC_MOUSE_MOVE, BST_UNCHECKED);
  EXPECT_EQ(GetDlgBoolByInt(dialog_, IDC_MOUSE_CLICK), 1);
  EXPECT_EQ(GetDlgBoolByInt(dialog_, IDC_MOUSE_MOVE), 0);
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

int Width(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  return rect.right - rect.left;
}

RECT InDialog(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// A font wider than the template's (the system may lack that one) must not
// cut a label: the label grows to its text, but never over its neighbour on
// the row or past the dialog's margin.
TEST_F(SettingsTemplate, ALabelWhoseTextDoesNotFitIsWidenedWithinItsRow) {
  const int clickWidth = Width(Item(IDC_MOUSE_CLICK));
  const int moveWidth = Width(Item(IDC_MOUSE_MOVE));
  WidenCutLabels(dialog_);
  EXPECT_LE(LabelWidthNeeded(Item(IDC_MOUSE_CLICK)), Width(Item(IDC_MOUSE_CLICK)));
  ASSERT_GT(LabelWidthNeeded(Item(IDC_MOUSE_CLICK)), 0);

  SetWindowTextW(Item(IDC_MOUSE_CLICK), L"マウスクリックに反応するマウスクリックに反応する");
  SetWindowTextW(Item(IDC_MOUSE_MOVE), L"マウスクリックに反応するマウスクリックに反応するマウスクリックに反応する");
  HWND countText = GetWindow(Item(IDC_SPIN), GW_HWNDNEXT);  // the static before the count
  SetWindowTextW(countText, L" 1 クリック / タイプで発生する数の数の数の数");
  const int countTextWidth = Width(countText);
  ASSERT_GT(LabelWidthNeeded(Item(IDC_MOUSE_CLICK)), clickWidth);
  WidenCutLabels(dialog_);

  EXPECT_EQ(Width(Item(IDC_MOUSE_CLICK)), LabelWidthNeeded(Item(IDC_MOUSE_CLICK))) << "grown to its text";
  RECT client{};
  GetClientRect(dialog_, &client);
  RECT margin{7, 0, 0, 0};
  MapDialogRect(dialog_, &margin);
  RECT move = InDialog(dialog_, Item(IDC_MOUSE_MOVE));
  EXPECT_GT(move.right - move.left, moveWidth);
  EXPECT_EQ(move.right, client.right - margin.left) << "a text longer than the row stops at the margin";
  RECT count = InDialog(dialog_, countText);
  EXPECT_GE(count.right - count.left, countTextWidth);
  EXPECT_LE(count.right, InDialog(dialog_, Item(IDC_COUNT_LABEL)).left) << "never over the count beside it";
}

// A folder name is kept in the ANSI code page: what it cannot spell, or what
// would not fit, is refused whole, never cut or changed to a near letter.
TEST(WideToAnsiPath, RefusesWhatTheAnsiCodePageCannotHold) {
  ExpectCodePageOfThisRun();
  char out[kTextSize];
  EXPECT_EQ(WideToAnsiPath(L"C:\\Pictures\\Stars", out), kPathFits);
  EXPECT_STREQ(out, "C:\\Pictures\\Stars");
  EXPECT_EQ(WideToAnsiPath(L"C:\\한국", out), kPathNotAnsi) << "Hangul is in neither code page";
  EXPECT_STREQ(out, "");
  EXPECT_EQ(WideToAnsiPath(std::wstring(259, L'a').c_str(), out), kPathFits);
  EXPECT_EQ(std::string(out), std::string(259, 'a'));
  EXPECT_EQ(WideToAnsiPath(std::wstring(260, L'a').c_str(), out), kPathTooLong);
  EXPECT_STREQ(out, "");

  // 表示 has a backslash as a second byte in code page 932; elsewhere it has
  // no spelling at all.
  const std::wstring japanese = L"D:\\表示";
  const std::wstring longJapanese = L"D:\\" + std::wstring(200, L'表');
  if (GetACP() == 932) {
    EXPECT_EQ(WideToAnsiPath(japanese.c_str(), out), kPathFits);
    EXPECT_STREQ(out, "D:\\\x95\x5C\x8E\xA6");
    EXPECT_EQ(WideToAnsiPath(longJapanese.c_str(), out), kPathTooLong) << "two bytes a character";
  } else {
    EXPECT_EQ(WideToAnsiPath(japanese.c_str(), out), kPathNotAnsi);
    EXPECT_EQ(WideToAnsiPath(L"C:\\ａ", out), kPathNotAnsi) << "no near letter stands in";
  }
}

}  // namespace
