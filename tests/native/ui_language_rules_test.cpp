#include "base/ui_language_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(LanguageFromText, KnowsThreeWordsAndTakesJapaneseForAnythingElse) {
  EXPECT_EQ(LanguageFromText("ja"), LANGUAGE_JAPANESE);
  EXPECT_EQ(LanguageFromText("en"), LANGUAGE_ENGLISH);
  EXPECT_EQ(LanguageFromText(" EN\t"), LANGUAGE_ENGLISH);
  EXPECT_EQ(LanguageFromText("Auto"), LANGUAGE_AUTO);
  for (const char* other : {"", "e", "eng", "english", "en-US", "autox", "fr", "日本語"}) {
    EXPECT_EQ(LanguageFromText(other), LANGUAGE_JAPANESE) << other;
  }
}

TEST(LanguageText, RoundTripsEveryChoice) {
  for (int32_t choice : {LANGUAGE_JAPANESE, LANGUAGE_ENGLISH, LANGUAGE_AUTO}) {
    EXPECT_EQ(LanguageFromText(LanguageText(choice)), choice);
  }
  EXPECT_STREQ(LanguageText(7), "ja") << "a number no choice has is the default";
}

TEST(ResolveLanguage, AutoIsEnglishUnlessTheUsersDisplayLanguageIsJapanese) {
  EXPECT_EQ(ResolveLanguage(LANGUAGE_AUTO, 0x0411), UI_JAPANESE);
  EXPECT_EQ(ResolveLanguage(LANGUAGE_AUTO, 0x0409), UI_ENGLISH);
  EXPECT_EQ(ResolveLanguage(LANGUAGE_AUTO, 0x0407), UI_ENGLISH) << "German";
  EXPECT_EQ(ResolveLanguage(LANGUAGE_AUTO, 0x0404), UI_ENGLISH) << "Chinese is not Japanese";
  EXPECT_EQ(ResolveLanguage(LANGUAGE_AUTO, 0x0011), UI_JAPANESE) << "Japanese of no region";
  // The fixed choices ignore the display language.
  EXPECT_EQ(ResolveLanguage(LANGUAGE_JAPANESE, 0x0409), UI_JAPANESE);
  EXPECT_EQ(ResolveLanguage(LANGUAGE_ENGLISH, 0x0411), UI_ENGLISH);
  EXPECT_EQ(ResolveLanguage(-1, 0x0409), UI_JAPANESE);
}

TEST(ResourceLanguageId, NamesTheTablesOfTheResourceFile) {
  EXPECT_EQ(ResourceLanguageId(UI_JAPANESE), 0x0411);
  EXPECT_EQ(ResourceLanguageId(UI_ENGLISH), 0x0409);
}

}  // namespace
