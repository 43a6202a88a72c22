#include "base/ui_texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "base/app_state.h"
#include "base/resource_ids.h"
#include "code_page.h"

namespace {

// The texts are kept in UTF-16, so they are the same Japanese whatever the
// ANSI code page (this case also runs under a Western one).
TEST(UiTexts, SlotsHoldTheJapaneseStringTableInSlotOrder) {
  ExpectCodePageOfThisRun();
  appInstance = GetModuleHandleA(nullptr);
  std::memset(&UiTexts, 'x', sizeof UiTexts);
  LoadUiTexts();
  const wchar_t* expected[kUiTextSlots] = {
      L"終了", L"設定", L"有効化", L"無効化", L"消去", L"全て消去", L"整理する", L"バージョン情報",
      L"読み込みできないイメージがありました。",
      L"設定されたフォルダ内の画像ファイルを全く認識できませんでした。\nデフォルトの画像を使用します。",
      L"初期化に失敗しました。Pipwink2 を終了します。", L"表示スペースがありません(>_<)", nullptr, nullptr,
      nullptr};
  for (int slot = 0; slot < kUiTextSlots; ++slot) {
    size_t length = wcsnlen(UiTexts.slot[slot], kTextSize);
    EXPECT_GT(length, 0u) << slot;
    EXPECT_LT(length, static_cast<size_t>(kTextSize)) << slot;
    if (expected[slot] != nullptr) {
      EXPECT_STREQ(UiTexts.slot[slot], expected[slot]) << slot;
    }
  }
  // The messages added since say what they are about.
  EXPECT_NE(std::wcsstr(UiTexts.slot[TEXT_FOLDER_NOT_ANSI], L"文字コード"), nullptr);
  EXPECT_NE(std::wcsstr(UiTexts.slot[TEXT_FOLDER_TOO_LONG], L"長すぎる"), nullptr);
  EXPECT_NE(std::wcsstr(UiTexts.slot[TEXT_SETTINGS_UNSAVED], L"tovik2.ini"), nullptr);
  EXPECT_NE(std::wcsstr(UiTexts.slot[TEXT_FOLDER_LOADED], L"フォルダ"), nullptr);
}

// With the English table the slots hold its texts, each different from its
// Japanese form but for the language names; every slot is filled.
TEST(UiTexts, EnglishSlotsHoldTheEnglishTable) {
  appInstance = GetModuleHandleA(nullptr);
  LoadUiTexts(UI_JAPANESE);
  UiTextBlock japanese = UiTexts;
  std::memset(&UiTexts, 'x', sizeof UiTexts);
  LoadUiTexts(UI_ENGLISH);
  EXPECT_EQ(UiTextLanguage, UI_ENGLISH);
  EXPECT_STREQ(UiTexts.slot[TEXT_EXIT], L"Exit");
  EXPECT_STREQ(UiTexts.slot[TEXT_SETTINGS], L"Settings");
  EXPECT_STREQ(UiTexts.slot[TEXT_START_AT_SIGN_IN], L"Start at sign-in");
  EXPECT_STREQ(UiTexts.slot[TEXT_ERASE_ALL], L"Erase all");
  EXPECT_NE(std::wcsstr(UiTexts.slot[TEXT_HOTKEY_TAKEN], L"%ls"), nullptr) << "the hotkey still goes in";
  EXPECT_NE(std::wcsstr(UiTexts.slot[TEXT_MORE_FILES], L"%d"), nullptr);
  EXPECT_NE(std::wcsstr(UiTexts.slot[TEXT_INI_FILE], L"%ls"), nullptr);
  for (int slot = 0; slot < kUiTextSlots; ++slot) {
    EXPECT_GT(wcsnlen(UiTexts.slot[slot], kTextSize), 0u) << slot;
    if (slot != TEXT_LANGUAGE_JAPANESE && slot != TEXT_LANGUAGE_ENGLISH) {
      EXPECT_STRNE(UiTexts.slot[slot], japanese.slot[slot]) << slot;
    }
  }
  LoadUiTexts();
  EXPECT_EQ(UiTextLanguage, UI_JAPANESE);
  EXPECT_STREQ(UiTexts.slot[TEXT_EXIT], L"終了");
}

// Every text of the Japanese table has its English form under the same id:
// a text added to one table only fails here.
TEST(UiTexts, EveryJapaneseTextHasItsEnglishForm) {
  appInstance = GetModuleHandleA(nullptr);
  wchar_t japanese[kTextSize];
  wchar_t english[kTextSize];
  int texts = 0;
  for (unsigned id = 1; id < 4096; ++id) {
    if (LoadTableString(id, 0x0411, japanese, kTextSize) == 0) continue;
    ++texts;
    EXPECT_GT(LoadTableString(id, 0x0409, english, kTextSize), 0) << "string " << id << " has no English form";
  }
  EXPECT_GE(texts, kUiTextSlots);
  EXPECT_EQ(LoadTableString(IDS_EXIT, 0x0407, english, kTextSize), 0) << "no German table: nothing";
}

TEST(UiTexts, MissingTextsAndSlotsFailQuietly) {
  appInstance = GetModuleHandleA(nullptr);
  std::memset(UiTexts.slot[TEXT_DISABLE], 'x', sizeof UiTexts.slot[TEXT_DISABLE]);
  EXPECT_EQ(LoadUiString(TEXT_DISABLE, 999), 0);
  EXPECT_STREQ(UiTexts.slot[TEXT_DISABLE], L"");
  EXPECT_EQ(LoadUiString(kUiTextSlots, 154), 0);
  EXPECT_EQ(LoadUiString(-1, 154), 0);
  EXPECT_EQ(LoadUiString(TEXT_DISABLE, 159), 1);
  EXPECT_STREQ(UiTexts.slot[TEXT_DISABLE], L"無効化");
}

}  // namespace
