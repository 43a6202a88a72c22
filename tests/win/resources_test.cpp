// What the program file carries: texts, the settings dialog, the manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

namespace {

TEST(Resources, StringTableTextsLoadInTheJapaneseCodePage) {
  ASSERT_EQ(GetACP(), 932u) << "the tests run with a Japanese ANSI code page";
  char text[260];
  ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), 157, text, sizeof text), 0);
  EXPECT_STREQ(text, "\x8F\x49\x97\xB9");  // 終了 in Shift-JIS
  ASSERT_GT(LoadStringA(GetModuleHandleA(nullptr), 162, text, sizeof text), 0);
  EXPECT_NE(std::strchr(text, '\n'), nullptr) << "the slot 9 text holds a line break";
  for (int id = 154; id <= 166; ++id) {
    EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text), 0) << id;
  }
}

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(Resources, SettingsDialogHasItsControlsInTemplateOrder) {
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(127), nullptr, QuietProc, 0);
  ASSERT_NE(dialog, nullptr) << "dialog 127 could not be made (is common controls 6 there?)";
  char className[64] = {};
  GetClassNameA(GetDlgItem(dialog, 1001), className, sizeof className);
  EXPECT_STREQ(className, "msctls_updown32");

  std::vector<int> ids;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(child));
  }
  const std::vector<int> expected = {1, 2, -1, -1, 1003, 1005, 1007, 1008, 1009, -1, 1010, 1011, 1015, -1,
                                     1001, -1, 1014};
  ASSERT_EQ(ids.size(), expected.size());
  for (size_t i = 0; i < ids.size(); ++i) {
    // Static and group box ids may read back as 0xFFFF.
    int id = ids[i] == 0xFFFF ? -1 : ids[i];
    EXPECT_EQ(id, expected[i]) << "control " << i;
  }
  // The enabling walk from 1008 relies on these styles: 1008 starts a group,
  // 1009 and the folder group box continue it, and the edit ends it.
  LONG radio = GetWindowLongA(GetDlgItem(dialog, 1008), GWL_STYLE);
  EXPECT_TRUE(radio & WS_GROUP);
  EXPECT_FALSE(GetWindowLongA(GetDlgItem(dialog, 1009), GWL_STYLE) & WS_GROUP);
  LONG edit = GetWindowLongA(GetDlgItem(dialog, 1010), GWL_STYLE);
  EXPECT_EQ(edit & 0x0009, 0);
  DestroyWindow(dialog);
}

}  // namespace
