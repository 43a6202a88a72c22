// What the program file carries: texts, the settings dialog, the manifest,
// by the ids the resource script and the code share.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>
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

// The manifest the program carries, as text.
std::string ProgramManifest() {
  HMODULE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  if (found == nullptr) return {};
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(self, found)));
  return bytes == nullptr ? std::string() : std::string(bytes, SizeofResource(self, found));
}

// The text between <tag ...> and </tag>, or "(missing)".
std::string Element(const std::string& manifest, const std::string& tag) {
  size_t open = manifest.find("<" + tag);
  if (open == std::string::npos) return "(missing)";
  size_t start = manifest.find('>', open);
  size_t end = manifest.find("</" + tag + ">", start);
  if (start == std::string::npos || end == std::string::npos) return "(missing)";
  return manifest.substr(start + 1, end - start - 1);
}

TEST(Resources, ManifestDeclaresPerMonitorAwarenessAndTheSystemsItKnows) {
  const std::string manifest = ProgramManifest();
  ASSERT_FALSE(manifest.empty()) << "no manifest resource 1";
  // Without these Windows stretches the star windows and hands the program
  // logical coordinates that disagree with the hook's.
  EXPECT_EQ(Element(manifest, "dpiAwareness"), "PerMonitorV2, PerMonitor");
  EXPECT_EQ(Element(manifest, "dpiAware"), "true/pm");
  EXPECT_NE(manifest.find("http://schemas.microsoft.com/SMI/2016/WindowsSettings"), std::string::npos);
  EXPECT_NE(manifest.find("http://schemas.microsoft.com/SMI/2005/WindowsSettings"), std::string::npos);
  const char* systems[] = {
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
  };
  for (const char* id : systems) {
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
  }
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

}  // namespace
