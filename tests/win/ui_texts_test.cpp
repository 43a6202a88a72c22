#include "base/ui_texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "base/app_state.h"
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
