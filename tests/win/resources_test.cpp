// What the program file carries: texts, the settings dialog, the manifest,
// by the ids the resource script and the code share.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <vector>

#include "base/resource_ids.h"

namespace {

TEST(Resources, EveryStringOfTheTableLoadsWide) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  wchar_t text[260];
  ASSERT_GT(LoadStringW(self, IDS_EXIT, text, 260), 0);
  EXPECT_STREQ(text, L"終了");
  ASSERT_GT(LoadStringW(self, IDS_FOLDER_UNUSABLE, text, 260), 0);
  EXPECT_NE(std::wcschr(text, L'\n'), nullptr) << "this message holds a line break";
  for (int id = IDS_ERASE; id <= IDS_MORE_FILES; ++id) {
    EXPECT_GT(LoadStringW(self, id, text, 260), 0) << id;
  }
}

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Each language's template, the same controls in the same order.
TEST(Resources, SettingsDialogHasItsControlsInTemplateOrder) {
  for (WORD language : {0x0411, 0x0409}) {
  SCOPED_TRACE(language);
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceExW(self, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(IDD_SETTINGS), language);
  ASSERT_NE(found, nullptr);
  auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(self, found)));
  HWND dialog = CreateDialogIndirectParamA(self, dialogTemplate, nullptr, QuietProc, 0);
  ASSERT_NE(dialog, nullptr) << "dialog 127 could not be made (is common controls 6 there?)";
  char className[64] = {};
  GetClassNameA(GetDlgItem(dialog, IDC_SPIN), className, sizeof className);
  EXPECT_STREQ(className, "msctls_updown32");

  std::vector<int> ids;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(child));
  }
  const std::vector<int> expected = {IDOK,           IDCANCEL,      -1,
                                     -1,             IDC_MOUSE_CLICK, IDC_KEY,
                                     IDC_MOUSE_MOVE, IDC_ENTER_KEY, IDC_ALL_KEYS,
                                     -1,             IDC_FOLDER_EDIT, IDC_BROWSE,
                                     IDC_TEST_DISPLAY, -1,           IDC_SPIN,
                                     -1,             IDC_COUNT_LABEL, IDC_INI_FILE,
                                     IDC_LANGUAGE_LABEL, IDC_LANGUAGE};
  ASSERT_EQ(ids.size(), expected.size());
  for (size_t i = 0; i < ids.size(); ++i) {
    // Static and group box ids may read back as 0xFFFF.
    int id = ids[i] == 0xFFFF ? -1 : ids[i];
    EXPECT_EQ(id, expected[i]) << "control " << i;
  }
  // The enabling walk from the Enter-only radio relies on these styles: it
  // starts a group, the all-keys radio and the folder group box continue it,
  // and the edit ends it.
  LONG radio = GetWindowLongA(GetDlgItem(dialog, IDC_ENTER_KEY), GWL_STYLE);
  EXPECT_TRUE(radio & WS_GROUP);
  EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, IDC_ALL_KEYS), GWL_STYLE) & WS_GROUP);
  LONG edit = GetWindowLongA(GetDlgItem(dialog, IDC_FOLDER_EDIT), GWL_STYLE);
  EXPECT_EQ(edit & 0x0009, 0);
  DestroyWindow(dialog);
  }
}

}  // namespace
