#include "app/hotkey_rules.h"

#include <cstring>

#include "base/resource_ids.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameWord(const char* part, int length, const char* word) {
  if (static_cast<int>(std::strlen(word)) != length) return false;
  for (int i = 0; i < length; ++i) {
    if (Lower(part[i]) != word[i]) return false;
  }
  return true;
}

uint32_t ModifierOf(const char* part, int length) {
  if (SameWord(part, length, "ctrl") || SameWord(part, length, "control")) return kHotkeyControl;
  if (SameWord(part, length, "alt")) return kHotkeyAlt;
  if (SameWord(part, length, "shift")) return kHotkeyShift;
  if (SameWord(part, length, "win")) return kHotkeyWin;
  return 0;
}

struct NamedKey {
  const char* name;
  uint32_t virtualKey;
};
constexpr NamedKey kNamedKeys[] = {
    {"space", 0x20},  {"pause", 0x13},  {"insert", 0x2D},   {"delete", 0x2E},
    {"home", 0x24},   {"end", 0x23},    {"pageup", 0x21},   {"pagedown", 0x22},
    {"tab", 0x09},    {"esc", 0x1B},    {"escape", 0x1B},
};

constexpr uint32_t kCtrl = kHotkeyControl;
constexpr uint32_t kAlt = kHotkeyAlt;
constexpr uint32_t kShift = kHotkeyShift;
constexpr uint32_t kWin = kHotkeyWin;
constexpr uint32_t kTab = 0x09;
constexpr uint32_t kEsc = 0x1B;
constexpr uint32_t kInsert = 0x2D;
constexpr uint32_t kDelete = 0x2E;
constexpr uint32_t kF4 = 0x73;
constexpr uint32_t kF12 = 0x7B;

// Combinations every program (or the system) relies on, with exactly these modifiers.
constexpr Hotkey kReservedHotkeys[] = {
    {kCtrl, 'C'},          {kCtrl, 'V'},          {kCtrl, 'X'},          {kCtrl, 'Z'},
    {kCtrl, 'Y'},          {kCtrl, 'A'},          {kCtrl, 'S'},          {kCtrl, kInsert},
    {kShift, kInsert},     {kShift, kDelete},     {kAlt, kF4},           {kAlt, kTab},
    {kAlt | kShift, kTab}, {kAlt, kEsc},          {kCtrl, kEsc},         {kCtrl | kShift, kEsc},
    {kCtrl | kAlt, kDelete},
};

bool Reserved(Hotkey hotkey) {
  for (const Hotkey& reserved : kReservedHotkeys) {
    if (reserved.modifiers == hotkey.modifiers && reserved.virtualKey == hotkey.virtualKey) return true;
  }
  return false;
}

// A key that types a character: AltGr (Ctrl+Alt) turns it into another one.
bool Printable(uint32_t virtualKey) {
  return (virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9') || virtualKey == 0x20;
}

// Why a readable combination must not be used, or HOTKEY_VALID.
HotkeyParse Judge(Hotkey hotkey) {
  // RegisterHotKey's own rule: F12 belongs to the debugger at all times, and
  // keys with the Windows key to the system.
  if (hotkey.virtualKey == kF12 || (hotkey.modifiers & kWin) != 0) return HOTKEY_SYSTEM_KEY;
  if (Reserved(hotkey)) return HOTKEY_RESERVED;
  if ((hotkey.modifiers & (kCtrl | kAlt)) == 0) return HOTKEY_NEEDS_MODIFIER;
  const bool altGr = (hotkey.modifiers & (kCtrl | kAlt)) == (kCtrl | kAlt);
  if (altGr && Printable(hotkey.virtualKey)) return HOTKEY_ALTGR;
  return HOTKEY_VALID;
}

// The virtual-key code the part names, or 0.
uint32_t KeyOf(const char* part, int length) {
  if (length == 1) {
    char c = Lower(part[0]);
    if (c >= 'a' && c <= 'z') return static_cast<uint32_t>(c - 'a' + 'A');
    if (c >= '0' && c <= '9') return static_cast<uint32_t>(c);
    return 0;
  }
  if (Lower(part[0]) == 'f' && length <= 3) {
    int number = 0;
    for (int i = 1; i < length; ++i) {
      if (part[i] < '0' || part[i] > '9') return 0;
      number = number * 10 + (part[i] - '0');
    }
    if (part[1] == '0' || number < 1 || number > 24) return 0;
    return static_cast<uint32_t>(0x70 + number - 1);  // F1 is 0x70
  }
  for (const NamedKey& key : kNamedKeys) {
    if (SameWord(part, length, key.name)) return key.virtualKey;
  }
  return 0;
}

}  // namespace

HotkeyParse ParseHotkey(const char* text, Hotkey* hotkey) {
  *hotkey = Hotkey{0, 0};
  if (text == nullptr) return HOTKEY_NONE;
  size_t length = strnlen(text, kHotkeyTextSize);
  if (length >= static_cast<size_t>(kHotkeyTextSize)) return HOTKEY_MALFORMED;
  size_t first = 0;
  while (first < length && (text[first] == ' ' || text[first] == '\t')) ++first;
  if (first == length) return HOTKEY_NONE;

  Hotkey found{0, 0};
  size_t at = first;
  while (at <= length) {
    size_t end = at;
    while (end < length && text[end] != '+') ++end;
    size_t from = at;
    size_t to = end;
    while (from < to && (text[from] == ' ' || text[from] == '\t')) ++from;
    while (to > from && (text[to - 1] == ' ' || text[to - 1] == '\t')) --to;
    const int partLength = static_cast<int>(to - from);
    if (partLength == 0 || found.virtualKey != 0) return HOTKEY_MALFORMED;  // empty part, or a part after the key
    uint32_t modifier = ModifierOf(text + from, partLength);
    if (modifier != 0) {
      if ((found.modifiers & modifier) != 0) return HOTKEY_MALFORMED;  // named twice
      found.modifiers |= modifier;
    } else {
      found.virtualKey = KeyOf(text + from, partLength);
      if (found.virtualKey == 0) return HOTKEY_MALFORMED;
    }
    at = end + 1;
  }
  if (found.virtualKey == 0) return HOTKEY_MALFORMED;
  HotkeyParse judged = Judge(found);
  if (judged == HOTKEY_VALID) *hotkey = found;
  return judged;
}

unsigned HotkeyReasonTextId(HotkeyParse parse) {
  switch (parse) {
    case HOTKEY_MALFORMED: return IDS_HOTKEY_UNREADABLE;
    case HOTKEY_NEEDS_MODIFIER: return IDS_HOTKEY_NEEDS_MODIFIER;
    case HOTKEY_ALTGR: return IDS_HOTKEY_ALTGR;
    case HOTKEY_RESERVED: return IDS_HOTKEY_RESERVED;
    case HOTKEY_SYSTEM_KEY: return IDS_HOTKEY_SYSTEM_KEY;
    default: return 0;
  }
}
