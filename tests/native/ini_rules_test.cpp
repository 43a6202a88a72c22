#include "app/ini_rules.h"
#include "app/ini_section.h"
#include "base/ui_language_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// An INI section in memory, read and written the way the platform's profile
// functions do: a missing key reads empty, a long text is cut to the buffer.
// A section that refuses writes stands for a file that cannot be written.
struct FakeSection {
  std::vector<std::pair<std::string, std::string>> keys;
  bool refuseWrites = false;
};

int ReadFake(void* context, const char* key, char* out, int size) {
  out[0] = '\0';
  int present = 0;
  for (const auto& [name, text] : static_cast<FakeSection*>(context)->keys) {
    if (name == key) {
      size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
      std::memcpy(out, text.data(), n);
      out[n] = '\0';
      present = 1;
    }
  }
  return present;
}

int WriteFake(void* context, const char* key, const char* text) {
  auto* section = static_cast<FakeSection*>(context);
  if (section->refuseWrites) return 0;
  section->keys.emplace_back(key, text);
  return 1;
}

SettingsRecord Load(std::vector<std::pair<std::string, std::string>> keys) {
  FakeSection section{std::move(keys)};
  return ReadSettings(ReadFake, &section);
}

TEST(IniLoading, DefaultsOfAFirstStartAreWrittenAsTheSevenKeysInOrderThenTheNewOnes) {
  FakeSection written;
  EXPECT_EQ(WriteSettings(DefaultSettings(), WriteFake, &written), 1);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"IMAGEFOLDER", ""}, {"QUANTITY", "2"}, {"MOVERANGE", "70"}, {"MOUSECLICK", "1"},
      {"MOUSEMOVE", "1"},  {"KEYENTRY", "1"}, {"ENTERKEY", "1"},   {"FULLSCREENPAUSE", "1"},
      {"HOTKEY", "Ctrl+Alt+Shift+F8"}, {"EXCLUDE", ""}, {"LANGUAGE", "ja"}, {"WEBCARET", "0"}};
  EXPECT_EQ(written.keys, expected);
}

TEST(IniLoading, AFileOfTheFirstVersionWorksAndGainsTheNewKeysWithTheirDefaults) {
  FakeSection section{{{"IMAGEFOLDER", ""}, {"QUANTITY", "5"}, {"MOVERANGE", "70"}, {"MOUSECLICK", "1"},
                       {"MOUSEMOVE", "0"}, {"KEYENTRY", "1"}, {"ENTERKEY", "1"}}};
  SettingsRecord settings = ReadSettings(ReadFake, &section);
  EXPECT_EQ(settings.quantity, 5);
  EXPECT_EQ(settings.reactMouseMove, 0);
  EXPECT_EQ(settings.fullscreenPause, 1);
  EXPECT_STREQ(settings.hotkey, "Ctrl+Alt+Shift+F8");
  EXPECT_STREQ(settings.exclude, "");
  ASSERT_EQ(AddMissingKeys(settings, ReadFake, WriteFake, &section), 1);
  ASSERT_EQ(section.keys.size(), 12u);
  EXPECT_EQ(section.keys[7], (std::pair<std::string, std::string>{"FULLSCREENPAUSE", "1"}));
  EXPECT_EQ(section.keys[8], (std::pair<std::string, std::string>{"HOTKEY", "Ctrl+Alt+Shift+F8"}));
  EXPECT_EQ(section.keys[9], (std::pair<std::string, std::string>{"EXCLUDE", ""}));
  EXPECT_EQ(section.keys[10], (std::pair<std::string, std::string>{"LANGUAGE", "ja"}));
  EXPECT_EQ(section.keys[11], (std::pair<std::string, std::string>{"WEBCARET", "0"})) << "off unless the user turns it on";
  EXPECT_EQ(settings.webCaret, 0);
  EXPECT_EQ(AddMissingKeys(settings, ReadFake, WriteFake, &section), 1);
  EXPECT_EQ(section.keys.size(), 12u) << "keys present are left as they are";

  FakeSection cutDown{{{"QUANTITY", "5"}, {"MOUSECLICK", "0"}}};
  EXPECT_EQ(AddMissingKeys(ReadSettings(ReadFake, &cutDown), ReadFake, WriteFake, &cutDown), 1);
  EXPECT_EQ(cutDown.keys.size(), 2u) << "a file cut down by hand is not rewritten";
}

TEST(IniLoading, TheNewKeysKeepGoodValuesAndGiveMalformedOnesTheirDefaults) {
  SettingsRecord good = Load({{"FULLSCREENPAUSE", "0"}, {"HOTKEY", "Shift+Alt+P"}, {"EXCLUDE", " mstsc.exe ;game.exe"},
                              {"WEBCARET", "1"}});
  EXPECT_EQ(good.fullscreenPause, 0);
  EXPECT_EQ(good.webCaret, 1);
  EXPECT_STREQ(good.hotkey, "Shift+Alt+P");
  // The list is kept as written: the program tidies it entry by entry in UTF-16.
  EXPECT_STREQ(good.exclude, " mstsc.exe ;game.exe");

  SettingsRecord none = Load({{"HOTKEY", ""}, {"EXCLUDE", ""}});
  EXPECT_STREQ(none.hotkey, "") << "an empty hotkey means none";

  SettingsRecord bad = Load({{"FULLSCREENPAUSE", "yes"}, {"HOTKEY", "F12"}, {"EXCLUDE", "C:\\Games\\game.exe"},
                             {"WEBCARET", "yes"}});
  EXPECT_EQ(bad.fullscreenPause, 1);
  EXPECT_EQ(bad.webCaret, 0);
  EXPECT_STREQ(bad.hotkey, "Ctrl+Alt+Shift+F8");
  EXPECT_STREQ(bad.exclude, "C:\\Games\\game.exe") << "an entry is dropped alone, later, and the user told";
  for (const char* refused : {"Shift+A", "Ctrl+C", "Ctrl+Alt+Q"}) {
    EXPECT_STREQ(Load({{"HOTKEY", refused}}).hotkey, "Ctrl+Alt+Shift+F8") << refused << " takes the default";
  }

  std::string longHotkey = "Ctrl+" + std::string(200, 'A');
  std::string longList(3000, 'x');
  SettingsRecord overLong = Load({{"HOTKEY", longHotkey}, {"EXCLUDE", longList}});
  EXPECT_STREQ(overLong.hotkey, "Ctrl+Alt+Shift+F8");
  EXPECT_STREQ(overLong.exclude, "");
}

// LANGUAGE: ja, en or auto in any letter case; anything else is Japanese,
// and such a text stays in the file until the user picks a language.
TEST(IniLoading, LanguageKnowsThreeChoicesAndKeepsAnUnknownTextUntilChanged) {
  EXPECT_EQ(Load({}).language, LANGUAGE_JAPANESE);
  EXPECT_EQ(Load({{"LANGUAGE", "en"}}).language, LANGUAGE_ENGLISH);
  EXPECT_EQ(Load({{"LANGUAGE", " AUTO "}}).language, LANGUAGE_AUTO);
  SettingsRecord unknown = Load({{"LANGUAGE", "fr"}});
  EXPECT_EQ(unknown.language, LANGUAGE_JAPANESE);

  SettingsRecord changed = unknown;
  FakeSection untouched;
  EXPECT_EQ(WriteSettings(changed, WriteFake, &untouched, &unknown), 1);
  EXPECT_TRUE(untouched.keys.empty()) << "the unknown text is not rewritten as ja";
  changed.language = LANGUAGE_AUTO;
  EXPECT_EQ(CompairIniInfo(unknown, changed), 1) << "a new language is saved and applied, no restart";
  FakeSection written;
  WriteSettings(changed, WriteFake, &written, &unknown);
  const std::vector<std::pair<std::string, std::string>> onlyTheLanguage = {{"LANGUAGE", "auto"}};
  EXPECT_EQ(written.keys, onlyTheLanguage);
}

TEST(IniLoading, MoveRangeIsKeptBetween70And32767) {
  const struct { const char* text; int32_t expected; } rows[] = {
      {"12", 70}, {"0", 70}, {"70", 70}, {"71", 71}, {"32767", 32767},
      // Larger ranges would leave no speed to draw (32767 is divided by it).
      {"32768", 32767}, {"99999", 32767}, {"-500", 70}, {"abc", 70}};
  for (const auto& row : rows) {
    EXPECT_EQ(Load({{"MOVERANGE", row.text}}).moveRange, row.expected) << row.text;
  }
}

TEST(IniLoading, AnUnreadableNumberTakesItsDefaultAndTheCountIsTheOneInForce) {
  for (const char* unreadable : {"abc", "-3", "yes", " -", "x7"}) {
    SettingsRecord settings = Load({{"QUANTITY", unreadable}, {"MOUSECLICK", unreadable}, {"MOUSEMOVE", unreadable}});
    EXPECT_EQ(settings.quantity, 2) << unreadable;
    EXPECT_EQ(settings.reactMouseClick, 1) << unreadable;
    EXPECT_EQ(settings.reactMouseMove, 1) << unreadable;
  }
  SettingsRecord read = Load({{"QUANTITY", " 7 stars"}, {"MOUSECLICK", "0"}, {"KEYENTRY", "+0"}});
  EXPECT_EQ(read.quantity, 7);
  EXPECT_EQ(read.reactMouseClick, 0) << "a readable 0 is kept";
  EXPECT_EQ(read.reactKey, 0);
  EXPECT_EQ(Load({{"QUANTITY", "0"}}).quantity, 0);
  EXPECT_EQ(Load({{"QUANTITY", "1000000"}}).quantity, 99) << "a click makes 99 at most, so that is what shows";
  EXPECT_EQ(Load({{"QUANTITY", "99"}}).quantity, 99);
}

int SjisLead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

std::string Find(const std::string& file, const char* key, int size = 64) {
  std::vector<char> out(static_cast<size_t>(size), 'x');
  if (!FindIniValue(file.data(), file.size(), "PIPWINK", key, out.data(), size, SjisLead)) return "<missing>";
  return out.data();
}

TEST(IniSection, EveryKeyIsReadWhateverTheLengthOfTheLinesBeforeIt) {
  const std::string longLine = "NOTE=" + std::string(3000, 'n') + "\r\n" + std::string(70000, 'k') + "\r\n";
  const std::string file = "[PIPWINK]\r\n" + longLine + "QUANTITY=5\r\nMOUSEMOVE=0\nLANGUAGE=en\r";
  EXPECT_EQ(Find(file, "QUANTITY"), "5");
  EXPECT_EQ(Find(file, "MOUSEMOVE"), "0");
  EXPECT_EQ(Find(file, "LANGUAGE"), "en") << "a last line without its end";
  EXPECT_EQ(Find(file, "NOTE", 8), "nnnnnnn") << "a long value is cut to the buffer";
}

TEST(IniSection, SectionsNamesBlanksQuotesAndCommentsReadAsTheSystemReads) {
  const std::string file =
      "QUANTITY=1\n[other]\nQUANTITY=2\n[ pipwink ]\n; QUANTITY=3\n  quantity =  \"4 \"  \nQUANTITY=5\n"
      "EMPTY=\nNOEQUALS\n[PIPWINK]\nLATE=6\n";
  EXPECT_EQ(Find(file, "QUANTITY"), "4 ") << "the first key of the first section of the name, quotes dropped";
  EXPECT_EQ(Find(file, "EMPTY"), "");
  EXPECT_EQ(Find(file, "NOEQUALS"), "<missing>");
  EXPECT_EQ(Find(file, "LATE"), "<missing>") << "a second section of the name is not read";
  EXPECT_EQ(Find("[PIPWINK\nQUANTITY=1\n", "QUANTITY"), "<missing>") << "an unclosed name opens nothing";
  EXPECT_EQ(Find("", "QUANTITY"), "<missing>");
  const char binary[] = "[PIPWINK]\nA=1\0junk\nB=2\n";
  const std::string withNul(binary, sizeof binary - 1);
  EXPECT_EQ(Find(withNul, "A"), "1");
  EXPECT_EQ(Find(withNul, "B"), "2") << "binary bytes end nothing but their own value";
}

TEST(IniSection, AValueCutToItsRoomNeverEndsInHalfACharacter) {
  // \x95\x5C is one Shift-JIS character whose second byte is a backslash.
  const std::string file = "[PIPWINK]\nIMAGEFOLDER=C:\\\x95\x5C\\x\n";
  EXPECT_EQ(Find(file, "IMAGEFOLDER", 5), "C:\\") << "four bytes fit, the fifth would split the character";
  EXPECT_EQ(Find(file, "IMAGEFOLDER", 6), "C:\\\x95\x5C");
  char one[1] = {'x'};
  EXPECT_EQ(FindIniValue(file.data(), file.size(), "PIPWINK", "IMAGEFOLDER", one, 1, SjisLead), 1);
  EXPECT_EQ(one[0], '\0');
}

TEST(IniLoading, NumbersReadTheLeadingDecimalOfTheFirstFiveCharacters) {
  const struct { const char* text; int32_t expected; } rows[] = {
      {"-3", 0},         {"123456", 12345}, {"99999", 99999}, {"0", 0},  {"+7", 7},
      {"7 stars", 7},    {"x7", 0},         {"", 0},          {" 42", 42}, {"1234-", 1234},
      {"0012345", 123},    {"-", 0}};
  for (const auto& row : rows) {
    EXPECT_EQ(IniTextToInt(row.text), row.expected) << row.text;
  }
}

TEST(IniLoading, SwitchesKeepAnyNonNegativeNumberAndANegativeOneTakesTheDefault) {
  SettingsRecord s = Load({{"MOUSECLICK", "5"}, {"MOUSEMOVE", "0"}, {"KEYENTRY", "-1"}, {"ENTERKEY", "2"}});
  EXPECT_EQ(s.reactMouseClick, 5);
  EXPECT_EQ(s.reactMouseMove, 0);
  EXPECT_EQ(s.reactKey, 1) << "a negative number is unreadable: the default";
  EXPECT_EQ(s.reactEnterKey, 2);
}

// An empty file, a file without the section and a garbage file all read as a
// section without keys.
TEST(IniLoading, MissingKeysTakeTheirDefaultsAndPresentOnesKeepTheirValues) {
  SettingsRecord none = Load({});
  SettingsRecord defaults = DefaultSettings();
  EXPECT_EQ(none.reactMouseClick, 1);
  EXPECT_EQ(none.reactMouseMove, 1);
  EXPECT_EQ(none.reactKey, 1);
  EXPECT_EQ(none.reactEnterKey, 1);
  EXPECT_EQ(none.quantity, 2);
  EXPECT_EQ(none.moveRange, 70);
  EXPECT_STREQ(none.imageFolder, "");
  EXPECT_EQ(CompairIniInfo(defaults, none), 0);

  // Some keys: those present keep their values, even an empty or zero one.
  SettingsRecord some = Load({{"QUANTITY", "5"}, {"MOUSEMOVE", "0"}, {"KEYENTRY", ""}, {"IMAGEFOLDER", "C:\\Img"}});
  EXPECT_EQ(some.quantity, 5);
  EXPECT_EQ(some.reactMouseMove, 0);
  EXPECT_EQ(some.reactKey, 0) << "an empty value is the file's word, not a missing key";
  EXPECT_EQ(some.reactMouseClick, 1);
  EXPECT_EQ(some.reactEnterKey, 1);
  EXPECT_EQ(some.moveRange, 70);
  EXPECT_STREQ(some.imageFolder, "C:\\Img");
}

TEST(IniLoading, FolderIsReadWholeUpTo259Characters) {
  std::string longFolder = "C:\\" + std::string(256, 'a');  // 259 characters
  EXPECT_STREQ(Load({{"IMAGEFOLDER", longFolder}}).imageFolder, longFolder.c_str());
  SettingsRecord cut = Load({{"IMAGEFOLDER", longFolder + "bcd"}});
  EXPECT_EQ(std::strlen(cut.imageFolder), 259u);
}

TEST(IniWriting, AFolderWithoutItsNulIsWrittenCutTo259Characters) {
  SettingsRecord s = DefaultSettings();
  std::memset(s.imageFolder, 'f', sizeof s.imageFolder);
  FakeSection written;
  WriteSettings(s, WriteFake, &written);
  ASSERT_EQ(written.keys[0].first, "IMAGEFOLDER");
  EXPECT_EQ(written.keys[0].second, std::string(259, 'f'));
}

// Against the stored record only what changed is written, so a value the
// user never touched (a folder longer than the record, cut on loading) stays
// in the file as it was.
TEST(IniWriting, AgainstTheStoredRecordOnlyChangedKeysAreWritten) {
  SettingsRecord stored = Load({{"IMAGEFOLDER", "C:\\" + std::string(300, 'a')}, {"QUANTITY", "25"}});
  SettingsRecord changed = stored;
  changed.reactMouseMove = 0;
  FakeSection written;
  EXPECT_EQ(WriteSettings(changed, WriteFake, &written, &stored), 1);
  const std::vector<std::pair<std::string, std::string>> onlyTheSwitch = {{"MOUSEMOVE", "0"}};
  EXPECT_EQ(written.keys, onlyTheSwitch);

  changed.quantity = 3;
  std::strcpy(changed.imageFolder, "D:\\New");
  FakeSection again;
  WriteSettings(changed, WriteFake, &again, &stored);
  const std::vector<std::pair<std::string, std::string>> three = {
      {"IMAGEFOLDER", "D:\\New"}, {"QUANTITY", "3"}, {"MOUSEMOVE", "0"}};
  EXPECT_EQ(again.keys, three);

  FakeSection same;
  EXPECT_EQ(WriteSettings(stored, WriteFake, &same, &stored), 1);
  EXPECT_TRUE(same.keys.empty());
}

TEST(IniWriting, AWriteThatFailsIsReported) {
  FakeSection locked;
  locked.refuseWrites = true;
  EXPECT_EQ(WriteSettings(DefaultSettings(), WriteFake, &locked), 0);
  SettingsRecord stored = DefaultSettings();
  SettingsRecord changed = stored;
  changed.quantity = 4;
  EXPECT_EQ(WriteSettings(changed, WriteFake, &locked, &stored), 0);
  EXPECT_EQ(WriteSettings(stored, WriteFake, &locked, &stored), 1) << "nothing to write, nothing failed";
}

// A stored switch of 2 shows checked and stays 2 while the box stays
// checked; a box the user changed gives 0 or 1.
TEST(IniWriting, ASwitchLeftAloneKeepsItsStoredValue) {
  EXPECT_EQ(SwitchFromCheckBox(2, 1), 2);
  EXPECT_EQ(SwitchFromCheckBox(7, 1), 7);
  EXPECT_EQ(SwitchFromCheckBox(2, 0), 0);
  EXPECT_EQ(SwitchFromCheckBox(0, 1), 1);
  EXPECT_EQ(SwitchFromCheckBox(0, 0), 0);
  EXPECT_EQ(SwitchFromCheckBox(1, 1), 1);
}

TEST(CompairIniInfo, TellsWhatAChangedRecordAsksFor) {
  SettingsRecord current = DefaultSettings();
  std::strcpy(current.imageFolder, "C:\\Img");

  SettingsRecord same = current;
  EXPECT_EQ(CompairIniInfo(current, same), 0);

  SettingsRecord range = current;
  range.moveRange = 300;
  EXPECT_EQ(CompairIniInfo(current, range), 0);

  SettingsRecord letterCase = current;
  std::strcpy(letterCase.imageFolder, "C:\\img");
  EXPECT_EQ(CompairIniInfo(current, letterCase), 2);

  SettingsRecord folderAndQuantity = current;
  std::strcpy(folderAndQuantity.imageFolder, "D:\\Other");
  folderAndQuantity.quantity = 7;
  EXPECT_EQ(CompairIniInfo(current, folderAndQuantity), 2);

  SettingsRecord quantity = current;
  quantity.quantity = 7;
  EXPECT_EQ(CompairIniInfo(current, quantity), 1);

  int32_t SettingsRecord::*switches[] = {&SettingsRecord::reactMouseClick, &SettingsRecord::reactMouseMove,
                                         &SettingsRecord::reactKey, &SettingsRecord::reactEnterKey};
  for (auto field : switches) {
    SettingsRecord one = current;
    one.*field = 0;
    EXPECT_EQ(CompairIniInfo(current, one), 1);
  }
}

// The lead bytes of code page 932.
int IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string Cut(std::string path) {
  char buffer[kTextSize] = {};
  std::strncpy(buffer, path.c_str(), kTextSize - 1);
  CutAfterLastBackslash(buffer, IsCp932LeadByte);
  return buffer;
}

TEST(ModulePath, KeepsTheDirectoryAndItsLastBackslash) {
  EXPECT_EQ(Cut("C:\\Games\\Tovik2\\Tovik2.exe"), "C:\\Games\\Tovik2\\");
  EXPECT_EQ(Cut("C:\\Tovik2.exe"), "C:\\");
  EXPECT_EQ(Cut("\\\\server\\share\\Tovik2.exe"), "\\\\server\\share\\");
}

TEST(ModulePath, WithoutABackslashTheIniPathIsRelative) {
  EXPECT_EQ(Cut("Tovik2.exe"), "");
  char ini[kTextSize];
  ASSERT_EQ(MakeIniPath("", ini), 1);
  EXPECT_STREQ(ini, "tovik2.ini");
}

TEST(ModulePath, ASecondByteWithTheBackslashValueIsNoSeparator) {
  // "表" is 0x95 0x5C in code page 932.
  EXPECT_EQ(Cut("C:\\Games\\\x95\x5C.exe"), "C:\\Games\\");
  EXPECT_EQ(Cut("C:\\\x95\x5C\\Tovik2.exe"), "C:\\\x95\x5C\\");
}

TEST(IniPath, APathThatWouldNotFitIsRefusedWhole) {
  char ini[kTextSize];
  std::string fits(249, 'd');  // 249 + "tovik2.ini" = 259 characters
  ASSERT_EQ(MakeIniPath(fits.c_str(), ini), 1);
  EXPECT_EQ(std::string(ini), fits + "tovik2.ini");

  std::string tooLong(250, 'd');
  std::strcpy(ini, "old");
  EXPECT_EQ(MakeIniPath(tooLong.c_str(), ini), 0);
  EXPECT_STREQ(ini, "");
}

TEST(IniPath, TheDirectoryMayBeInTheSameBuffer) {
  char buffer[kTextSize] = "C:\\Games\\";
  ASSERT_EQ(MakeIniPath(buffer, buffer), 1);
  EXPECT_STREQ(buffer, "C:\\Games\\tovik2.ini");
}

}  // namespace
