#include "base/ui_texts.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "base/app_state.h"

namespace {

// The texts arrive in the ANSI code page, Shift-JIS on a Japanese system.
TEST(UiTexts, SlotsHoldTheStringTableInSlotOrder) {
  ASSERT_EQ(GetACP(), 932u);
  appInstance = GetModuleHandleA(nullptr);
  std::memset(&UiTexts, 'x', sizeof UiTexts);
  LoadUiTexts();
  EXPECT_STREQ(UiTexts.slot[TEXT_EXIT], "\x8f\x49\x97\xb9");          // 終了
  EXPECT_STREQ(UiTexts.slot[TEXT_ERASE], "\x8f\xc1\x8b\x8e");          // 消去
  EXPECT_STREQ(UiTexts.slot[TEXT_TIDY], "\x90\xae\x97\x9d\x82\xb7\x82\xe9");  // 整理する
  for (int slot = 0; slot < kUiTextSlots; ++slot) {
    size_t length = strnlen(UiTexts.slot[slot], kTextSize);
    EXPECT_GT(length, 0u) << slot;
    EXPECT_LT(length, static_cast<size_t>(kTextSize)) << slot;
  }
  // The two-line message keeps its line break.
  EXPECT_NE(std::strchr(UiTexts.slot[TEXT_FOLDER_UNUSABLE], '\n'), nullptr);
  EXPECT_NE(std::strstr(UiTexts.slot[TEXT_START_FAILED], "Pipwink2"), nullptr);
}

TEST(UiTexts, MissingTextsAndSlotsFailQuietly) {
  appInstance = GetModuleHandleA(nullptr);
  std::memset(UiTexts.slot[TEXT_DISABLE], 'x', kTextSize);
  EXPECT_EQ(LoadUiString(3, 999), 0);
  EXPECT_STREQ(UiTexts.slot[TEXT_DISABLE], "");
  EXPECT_EQ(LoadUiString(kUiTextSlots, 154), 0);
  EXPECT_EQ(LoadUiString(-1, 154), 0);
  EXPECT_EQ(LoadUiString(3, 159), 1);
  EXPECT_STREQ(UiTexts.slot[TEXT_DISABLE], "\x96\xb3\x8c\xf8\x89\xbb");  // 無効化
}

}  // namespace
