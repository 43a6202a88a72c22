// The rules behind pausing: the hotkey's text, the programs left alone, and
// when the program in front counts as full screen.
#include <gtest/gtest.h>

#include <string>

#include "app/fullscreen_rules.h"
#include "app/hotkey_rules.h"
#include "base/resource_ids.h"
#include "cells/exclude_rules.h"

namespace {

Hotkey Parsed(const char* text, HotkeyParse expected) {
  Hotkey hotkey{99, 99};
  EXPECT_EQ(ParseHotkey(text, &hotkey), expected) << '"' << text << '"';
  return hotkey;
}

TEST(HotkeyText, CombinationsReadInAnyCaseAndSpacing) {
  Hotkey standard = Parsed(kDefaultHotkey, HOTKEY_VALID);
  EXPECT_EQ(standard.modifiers, kHotkeyControl | kHotkeyAlt | kHotkeyShift);
  EXPECT_EQ(standard.virtualKey, 0x77u);  // F8

  Hotkey spaced = Parsed("  shift + ALT+ p ", HOTKEY_VALID);
  EXPECT_EQ(spaced.modifiers, kHotkeyShift | kHotkeyAlt);
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

  for (const char* text : {"Ctrl", "Ctrl+Alt", "Ctrl++A", "Ctrl+A+B", "Ctrl+A+Alt", "+Ctrl+A", "Ctrl+A+",
                           "Ctrl+Ctrl+A", "Ctrl+F0", "Ctrl+F25", "Ctrl+F012", "Ctrl+Escap", "Hyper+A",
                           "Ctrl+\xE3\x81\x82", "Ctrl-Alt-F12"}) {
    Hotkey hotkey = Parsed(text, HOTKEY_MALFORMED);
    EXPECT_EQ(hotkey.virtualKey, 0u) << text;
    EXPECT_EQ(hotkey.modifiers, 0u) << text;
  }
  std::string overLong = "Ctrl+Alt+" + std::string(kHotkeyTextSize, ' ') + "F12";
  Parsed(overLong.c_str(), HOTKEY_MALFORMED);
}

// Each of the two modifiers that keep a hotkey out of typing is enough on
// its own, and each reads as its own bit.
TEST(HotkeyText, CtrlOrAltAloneIsEnough) {
  EXPECT_EQ(Parsed("Ctrl+P", HOTKEY_VALID).modifiers, kHotkeyControl);
  EXPECT_EQ(Parsed("Alt+P", HOTKEY_VALID).modifiers, kHotkeyAlt);
  EXPECT_EQ(Parsed("Ctrl+Alt+F11", HOTKEY_VALID).modifiers, kHotkeyControl | kHotkeyAlt);
  EXPECT_EQ(Parsed("Ctrl+Alt+Pause", HOTKEY_VALID).virtualKey, 0x13u) << "Ctrl+Alt with a key that types nothing";
  EXPECT_EQ(Parsed("Ctrl+Shift+Tab", HOTKEY_VALID).virtualKey, 0x09u);
  EXPECT_EQ(Parsed("Ctrl+Alt+Esc", HOTKEY_VALID).virtualKey, 0x1Bu);
  EXPECT_EQ(Parsed("Ctrl+D", HOTKEY_VALID).virtualKey, static_cast<uint32_t>('D'));
}

// Refused texts: each class with its reason, the combination never handed out.
void ExpectRefused(HotkeyParse why, std::initializer_list<const char*> texts) {
  for (const char* text : texts) {
    Hotkey hotkey = Parsed(text, why);
    EXPECT_EQ(hotkey.virtualKey, 0u) << text;
    EXPECT_TRUE(HotkeyUnusable(why)) << text;
  }
}

TEST(HotkeyText, ShiftAloneOrNoModifierWouldTakeTyping) {
  ExpectRefused(HOTKEY_NEEDS_MODIFIER, {"F11", "A", "Space", "Shift+A", "shift+7", "Shift+F11", "Shift+Space"});
  EXPECT_EQ(HotkeyReasonTextId(HOTKEY_NEEDS_MODIFIER), static_cast<unsigned>(IDS_HOTKEY_NEEDS_MODIFIER));
}

TEST(HotkeyText, CtrlAltWithACharacterKeyIsAltGr) {
  ExpectRefused(HOTKEY_ALTGR, {"Ctrl+Alt+Q", "Alt+Ctrl+e", "Ctrl+Alt+7", "Ctrl+Alt+Space", "Ctrl+Alt+Shift+Q"});
  EXPECT_EQ(HotkeyReasonTextId(HOTKEY_ALTGR), static_cast<unsigned>(IDS_HOTKEY_ALTGR));
}

TEST(HotkeyText, KeysEveryProgramReliesOnAreRefused) {
  ExpectRefused(HOTKEY_RESERVED,
                {"Ctrl+C", "Ctrl+V", "ctrl+x", "Ctrl+Z", "Ctrl+Y", "Ctrl+A", "Ctrl+S", "Ctrl+Insert",
                 "Shift+Insert", "Shift+Delete", "Alt+F4", "Alt+Tab", "Alt+Shift+Tab", "Alt+Esc", "Ctrl+Esc",
                 "Ctrl+Escape", "Ctrl+Shift+Esc", "Ctrl+Alt+Delete"});
  EXPECT_EQ(HotkeyReasonTextId(HOTKEY_RESERVED), static_cast<unsigned>(IDS_HOTKEY_RESERVED));
  // Only with exactly those modifiers: more of them make another combination.
  Parsed("Ctrl+Shift+C", HOTKEY_VALID);
  Parsed("Ctrl+Alt+F4", HOTKEY_VALID);
}

// RegisterHotKey's documentation keeps F12 for the debugger and the Windows
// key for the system; a driver often holds Ctrl+Alt+F12 as well.
TEST(HotkeyText, F12AndTheWindowsKeyBelongToTheSystem) {
  ExpectRefused(HOTKEY_SYSTEM_KEY, {"Ctrl+Alt+F12", "Ctrl+F12", "Alt+Shift+F12", "Win+P", "Win+L", "Win+Tab",
                                     "Win+Ctrl+Alt+Q", "Shift+Win+F8", "Win+F12"});
  EXPECT_EQ(HotkeyReasonTextId(HOTKEY_SYSTEM_KEY), static_cast<unsigned>(IDS_HOTKEY_SYSTEM_KEY));
}

TEST(HotkeyText, OnlyUnusableTextsHaveAReason) {
  EXPECT_FALSE(HotkeyUnusable(HOTKEY_NONE));
  EXPECT_FALSE(HotkeyUnusable(HOTKEY_VALID));
  EXPECT_TRUE(HotkeyUnusable(HOTKEY_MALFORMED));
  EXPECT_EQ(HotkeyReasonTextId(HOTKEY_NONE), 0u);
  EXPECT_EQ(HotkeyReasonTextId(HOTKEY_VALID), 0u);
  EXPECT_EQ(HotkeyReasonTextId(HOTKEY_MALFORMED), static_cast<unsigned>(IDS_HOTKEY_UNREADABLE));
}

struct Tidied {
  std::wstring list;
  int dropped;
  std::wstring firstDropped;
};

Tidied Normalised(const wchar_t* text) {
  wchar_t out[kExcludeListSize] = L"untouched";
  wchar_t dropped[64] = L"untouched";
  int count = NormaliseExcludeList(text, out, kExcludeListSize, dropped, 64);
  return Tidied{out, count, dropped};
}

TEST(ExcludeList, NamesAreTrimmedAndEmptyEntriesPassedOver) {
  Tidied tidied = Normalised(L" mstsc.exe ; ;game.exe;");
  EXPECT_EQ(tidied.list, L"mstsc.exe;game.exe");
  EXPECT_EQ(tidied.dropped, 0);
  EXPECT_EQ(tidied.firstDropped, L"");
  EXPECT_EQ(Normalised(L"").list, L"");
  EXPECT_EQ(Normalised(L" ;\u3000; ").list, L"");
  EXPECT_EQ(Normalised(L"my game.exe").list, L"my game.exe") << "blanks inside a name stay";
}

// In Shift-JIS the second byte of ソ, 表, 能 and 予 is 0x5C ('\') or 0x7C ('|'):
// split bytewise, each such name once threw the whole list away.
TEST(ExcludeList, JapaneseNamesWhoseSecondByteLooksLikeASeparatorAreKept) {
  Tidied tidied = Normalised(L"\u30BD\u30D5\u30C8.exe;\u8868\u8A08\u7B97.exe; \u80FD\u529B.exe ;\u4E88\u5B9A.exe");
  EXPECT_EQ(tidied.list, L"\u30BD\u30D5\u30C8.exe;\u8868\u8A08\u7B97.exe;\u80FD\u529B.exe;\u4E88\u5B9A.exe");
  EXPECT_EQ(tidied.dropped, 0);
  EXPECT_TRUE(IsExcludedProgram(tidied.list.c_str(), L"\u8868\u8A08\u7B97.EXE"));
  EXPECT_TRUE(IsExcludedProgram(tidied.list.c_str(), L"\u30BD\u30D5\u30C8.exe"));
  // Folding touches A to Z alone: a full-width letter is no ASCII letter.
  EXPECT_FALSE(IsExcludedProgram(L"\uFF21.exe", L"\uFF41.exe"));
  EXPECT_FALSE(IsExcludedProgram(tidied.list.c_str(), L"\u30BD.exe"));
}

TEST(ExcludeList, AnEntryThatCanBeNoProgramNameIsDroppedAloneAndTheFirstOneNamed) {
  Tidied tidied = Normalised(L"a.exe; C:\\Games\\game.exe ;*;\u8868.exe;dir/b.exe;what?.exe;tab\x01.exe");
  EXPECT_EQ(tidied.list, L"a.exe;\u8868.exe");
  EXPECT_EQ(tidied.dropped, 5);
  EXPECT_EQ(tidied.firstDropped, L"C:\\Games\\game.exe");

  // What no longer fits is dropped too, not cut; a long dropped name is cut to its room.
  wchar_t small[14];
  wchar_t dropped[6];
  EXPECT_EQ(NormaliseExcludeList(L"abc.exe;longer.exe;d.exe", small, 14, dropped, 6), 1);
  EXPECT_EQ(std::wstring(small), L"abc.exe;d.exe");
  EXPECT_EQ(std::wstring(dropped), L"longe");
  // A list whose end falls exactly on the buffer's end: its NUL needs one more.
  EXPECT_EQ(NormaliseExcludeList(L"abc.exe;de.exe", small, 14, dropped, 6), 1);
  EXPECT_EQ(std::wstring(small), L"abc.exe");
  EXPECT_EQ(std::wstring(dropped), L"de.ex");
  wchar_t exact[15];
  EXPECT_EQ(NormaliseExcludeList(L"abc.exe;de.exe", exact, 15, dropped, 6), 0);
  EXPECT_EQ(std::wstring(exact, 14), L"abc.exe;de.exe");
  EXPECT_EQ(exact[14], L'\0');
  EXPECT_EQ(NormaliseExcludeList(nullptr, small, 14, dropped, 6), 0);
  EXPECT_EQ(small[0], L'\0');
}

TEST(ExcludeList, AProgramMatchesItsWholeNameWithoutRegardToCase) {
  const wchar_t* list = L"mstsc.exe;Game.exe";
  EXPECT_TRUE(IsExcludedProgram(list, L"MSTSC.EXE"));
  EXPECT_TRUE(IsExcludedProgram(list, L"game.exe"));
  EXPECT_FALSE(IsExcludedProgram(list, L"ame.exe"));
  EXPECT_FALSE(IsExcludedProgram(list, L"game.exe2"));
  EXPECT_FALSE(IsExcludedProgram(list, L"notepad.exe"));
  EXPECT_FALSE(IsExcludedProgram(L"", L"game.exe"));
  EXPECT_FALSE(IsExcludedProgram(list, L""));
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

TEST(FullScreen, TheWindowInFrontDecidesAndTheShellOnlyConfirms) {
  const ScreenBox monitor{0, 0, 1920, 1080};
  // The shell reports "busy" with nothing full screen in front (an overlay
  // left on): a window that does not cover its monitor never pauses.
  EXPECT_FALSE(FrontIsFullScreen({100, 100, 800, 600}, monitor, true, true));
  EXPECT_FALSE(FrontIsFullScreen({100, 100, 800, 600}, monitor, false, true));
  EXPECT_FALSE(FrontIsFullScreen({-8, -8, 1928, 1048}, monitor, true, true)) << "a maximised window above the taskbar";
  // A captionless window covering its monitor counts on its own.
  EXPECT_TRUE(FrontIsFullScreen({0, 0, 1920, 1080}, monitor, false, false));
  // One that keeps a caption style counts only when the shell confirms it.
  EXPECT_FALSE(FrontIsFullScreen({0, 0, 1920, 1080}, monitor, true, false));
  EXPECT_TRUE(FrontIsFullScreen({0, 0, 1920, 1080}, monitor, true, true));
}

TEST(FullScreen, TheShellsOwnWindowsAreNeverFullScreenPrograms) {
  EXPECT_TRUE(IsShellWindowClass("Progman"));
  EXPECT_TRUE(IsShellWindowClass("WorkerW")) << "the desktop during a wallpaper slideshow";
  EXPECT_TRUE(IsShellWindowClass("workerw")) << "class names know no letter case";
  EXPECT_TRUE(IsShellWindowClass("Shell_TrayWnd"));
  EXPECT_TRUE(IsShellWindowClass("Shell_SecondaryTrayWnd"));
  EXPECT_FALSE(IsShellWindowClass("WorkerWx")) << "a longer name is another class";
  EXPECT_FALSE(IsShellWindowClass("Worker"));
  EXPECT_FALSE(IsShellWindowClass("SHELLDLL_DefView")) << "a child, never a window in front";
  EXPECT_FALSE(IsShellWindowClass("Tovik2HookTarget"));
  EXPECT_FALSE(IsShellWindowClass(""));
  EXPECT_FALSE(IsShellWindowClass(nullptr));
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
