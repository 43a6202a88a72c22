// The rules behind pausing: the hotkey's text, the programs left alone, and
// when the program in front counts as full screen.
#include <gtest/gtest.h>

#include <string>

#include "app/fullscreen_rules.h"
#include "app/hotkey_rules.h"
#include "cells/exclude_rules.h"

namespace {

Hotkey Parsed(const char* text, HotkeyParse expected) {
  Hotkey hotkey{99, 99};
  EXPECT_EQ(ParseHotkey(text, &hotkey), expected) << '"' << text << '"';
  return hotkey;
}

TEST(HotkeyText, CombinationsReadInAnyCaseAndSpacing) {
  Hotkey standard = Parsed(kDefaultHotkey, HOTKEY_VALID);
  EXPECT_EQ(standard.modifiers, kHotkeyControl | kHotkeyAlt);
  EXPECT_EQ(standard.virtualKey, 0x7Bu);  // F12

  Hotkey spaced = Parsed("  shift + WIN+ p ", HOTKEY_VALID);
  EXPECT_EQ(spaced.modifiers, kHotkeyShift | kHotkeyWin);
  EXPECT_EQ(spaced.virtualKey, static_cast<uint32_t>('P'));
  EXPECT_EQ(Parsed("Control+7", HOTKEY_VALID).virtualKey, static_cast<uint32_t>('7'));
  EXPECT_EQ(Parsed("Alt+F1", HOTKEY_VALID).virtualKey, 0x70u);
  EXPECT_EQ(Parsed("Alt+F24", HOTKEY_VALID).virtualKey, 0x87u);
  EXPECT_EQ(Parsed("Ctrl+PageDown", HOTKEY_VALID).virtualKey, 0x22u);
  EXPECT_EQ(Parsed("Ctrl+Shift+Pause", HOTKEY_VALID).virtualKey, 0x13u);
}

TEST(HotkeyText, EmptyMeansNoneAndAnythingElseIsMalformed) {
  Hotkey none = Parsed("", HOTKEY_NONE);
  EXPECT_EQ(none.virtualKey, 0u);
  Parsed("   ", HOTKEY_NONE);
  EXPECT_EQ(ParseHotkey(nullptr, &none), HOTKEY_NONE);

  for (const char* text : {"F12", "A", "Ctrl", "Ctrl+Alt", "Ctrl++A", "Ctrl+A+B", "Ctrl+A+Alt", "+Ctrl+A",
                           "Ctrl+A+", "Ctrl+Ctrl+A", "Ctrl+F0", "Ctrl+F25", "Ctrl+F012", "Ctrl+Esc",
                           "Hyper+A", "Ctrl+\xE3\x81\x82", "Ctrl-Alt-F12"}) {
    Hotkey hotkey = Parsed(text, HOTKEY_MALFORMED);
    EXPECT_EQ(hotkey.virtualKey, 0u) << text;
    EXPECT_EQ(hotkey.modifiers, 0u) << text;
  }
  std::string overLong = "Ctrl+Alt+" + std::string(kHotkeyTextSize, ' ') + "F12";
  Parsed(overLong.c_str(), HOTKEY_MALFORMED);
}

std::string Normalised(const char* text, int expected) {
  char out[kExcludeListSize] = "untouched";
  EXPECT_EQ(NormaliseExcludeList(text, out, sizeof out), expected) << '"' << text << '"';
  return out;
}

TEST(ExcludeList, NamesAreTrimmedAndEmptyEntriesDropped) {
  EXPECT_EQ(Normalised(" mstsc.exe ; ;game.exe;", 1), "mstsc.exe;game.exe");
  EXPECT_EQ(Normalised("", 1), "");
  EXPECT_EQ(Normalised(" ; ", 1), "");
  EXPECT_EQ(Normalised("my game.exe", 1), "my game.exe") << "blanks inside a name stay";
}

TEST(ExcludeList, PathsForbiddenCharactersAndOverLongListsAreRefused) {
  EXPECT_EQ(Normalised("C:\\Games\\game.exe", 0), "");
  EXPECT_EQ(Normalised("a.exe;dir/b.exe", 0), "");
  EXPECT_EQ(Normalised("what?.exe", 0), "");
  EXPECT_EQ(Normalised("tab\x01.exe", 0), "");
  std::string overLong(kExcludeListSize, 'a');
  EXPECT_EQ(Normalised(overLong.c_str(), 0), "");
  char small[8];
  EXPECT_EQ(NormaliseExcludeList("abc.exe;d.exe", small, sizeof small), 0) << "no room: refused, not cut";
  EXPECT_STREQ(small, "");
}

TEST(ExcludeList, AProgramMatchesItsWholeNameWithoutRegardToCase) {
  const char* list = "mstsc.exe;Game.exe";
  EXPECT_TRUE(IsExcludedProgram(list, "MSTSC.EXE"));
  EXPECT_TRUE(IsExcludedProgram(list, "game.exe"));
  EXPECT_FALSE(IsExcludedProgram(list, "ame.exe"));
  EXPECT_FALSE(IsExcludedProgram(list, "game.exe2"));
  EXPECT_FALSE(IsExcludedProgram(list, "notepad.exe"));
  EXPECT_FALSE(IsExcludedProgram("", "game.exe"));
  EXPECT_FALSE(IsExcludedProgram(list, ""));
}

TEST(FullScreen, OnlyACaptionlessWindowCoveringItsWholeMonitorCounts) {
  const ScreenBox monitor{0, 0, 1920, 1080};
  EXPECT_TRUE(CoversMonitor({0, 0, 1920, 1080}, monitor, false));
  EXPECT_TRUE(CoversMonitor({-8, -8, 1928, 1088}, monitor, false)) << "overhanging the edges still covers";
  EXPECT_FALSE(CoversMonitor({-8, -8, 1928, 1048}, monitor, true)) << "a maximised window with a caption";
  EXPECT_FALSE(CoversMonitor({0, 0, 1920, 1080}, monitor, true));
  EXPECT_FALSE(CoversMonitor({0, 0, 1920, 1079}, monitor, false)) << "one row short";
  EXPECT_FALSE(CoversMonitor({100, 100, 800, 600}, monitor, false));
  const ScreenBox second{1920, 0, 3200, 1024};
  EXPECT_TRUE(CoversMonitor({1920, 0, 3200, 1024}, second, false));
  EXPECT_FALSE(CoversMonitor({0, 0, 1920, 1080}, second, false)) << "full on another monitor";
  EXPECT_FALSE(CoversMonitor({0, 0, 10, 10}, {0, 0, 0, 0}, false)) << "an empty monitor";
}

// What the watch's look sees, and how often it looked.
bool fullScreenNow = false;
int looks = 0;
bool Look() {
  ++looks;
  return fullScreenNow;
}

TEST(FullScreen, TheWatchLooksAgainOnlyOnceItsLastLookIsOld) {
  looks = 0;
  fullScreenNow = false;
  FullScreenWatch watch(Look);
  EXPECT_FALSE(watch.InFront(1000));
  EXPECT_EQ(looks, 1) << "the first question looks";
  fullScreenNow = true;
  EXPECT_FALSE(watch.InFront(1000 + kFullScreenLookMs - 1)) << "a recent look is reused";
  EXPECT_EQ(looks, 1);
  EXPECT_TRUE(watch.InFront(1000 + kFullScreenLookMs)) << "an old one is renewed";
  EXPECT_EQ(looks, 2);
  // The tick count wraps around after 49 days: ages still count right.
  FullScreenWatch wrapped(Look);
  EXPECT_TRUE(wrapped.InFront(0xFFFFFFF0u));
  fullScreenNow = false;
  EXPECT_TRUE(wrapped.InFront(0xFFFFFFF0u + 10));
  EXPECT_FALSE(wrapped.InFront(0xFFFFFFF0u + kFullScreenLookMs));
  EXPECT_EQ(looks, 4);
}

}  // namespace
