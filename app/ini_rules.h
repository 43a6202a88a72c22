// The settings file's rules apart from the file itself: the defaults, how a
// key's text becomes a number, the limits applied on loading, the order in
// which keys are written, and what a changed record asks of the program.
#pragma once
#include <cstdint>

#include "base/settings.h"

constexpr char kIniSection[] = "PIPWINK";
constexpr char kIniFileName[] = "tovik2.ini";

// A number is read from at most this many characters of its key's text.
constexpr int kIniNumberChars = 5;
// LANGUAGE is read from at most this many characters ("auto" and blanks).
constexpr int kLanguageTextSize = 16;
// Below this speed range the stars would hardly move; above the upper one no
// speed can be drawn at all (32767 is divided by the range).
constexpr int32_t kMinMoveRange = 70;
constexpr int32_t kMaxMoveRange = 32767;

// The settings of a first start, before any file exists.
SettingsRecord DefaultSettings();

// The leading decimal number of the first five characters of text: blanks
// skipped, an optional sign, digits up to the first other character. No
// digits gives 0, and so does a negative number.
int32_t IniTextToInt(const char* text);

// Reads the text of one key of the section into out (size characters with
// the NUL). 1 when the key is in the file (its text may be empty); 0, with
// out empty, when the file, the section or the key is missing.
using IniKeyReader = int (*)(void* context, const char* key, char* out, int size);
// Writes one key of the section with the given text; 1 when it was written.
using IniKeyWriter = int (*)(void* context, const char* key, const char* text);

// Builds the settings from an existing file through read: every number in
// the loading order, moveRange kept within its limits, quantity at most the
// stars one event can make, then the folder. A key the file lacks, or a
// number that cannot be read (no digits first, or negative), takes its
// default, as on a first start; a key present keeps its value, so files
// written before read as they did.
SettingsRecord ReadSettings(IniKeyReader read, void* context);

// Writes, after the seven keys of the first version, the keys a file written
// by that version lacks (FULLSCREENPAUSE, HOTKEY, EXCLUDE, LANGUAGE, WEBCARET), with the record's
// values; a file without all seven (cut down by hand, or no settings file at
// all) is left alone. 1 when every write succeeded.
int AddMissingKeys(const SettingsRecord& settings, IniKeyReader read, IniKeyWriter write, void* context);

// Writes every key of the record through write, in the file's key order.
// With a stored record, only the keys whose values differ from it are
// written: a value nobody changed is never rewritten (a stored folder longer
// than the record holds stays whole in the file). 1 when every write
// succeeded.
int WriteSettings(const SettingsRecord& settings, IniKeyWriter write, void* context,
                  const SettingsRecord* stored = nullptr);

// The value a switch shown as a check box takes back: the stored value while
// the box shows it unchanged (a stored 2 shows checked and stays 2), else
// the box's 0 or 1.
int32_t SwitchFromCheckBox(int32_t stored, int checked);

// What a new record asks of the program: 0 nothing, 1 save (the new values
// take effect at once), 2 save and reload the pictures (the folder changed).
// moveRange is not compared: no dialog control edits it.
int CompairIniInfo(SettingsRecord current, SettingsRecord candidate);

// Cuts a program path just after its last backslash, which stays; a path
// without one becomes empty. isLeadByte tells the first byte of a two-byte
// character, whose second byte may have the backslash's value.
using LeadByteTest = int (*)(unsigned char byte);
void CutAfterLastBackslash(char* path, LeadByteTest isLeadByte);

// The INI file's path in a 260-character buffer: directory then the file
// name. 0, with out empty, when they would not fit: a cut path would name
// some other file.
int MakeIniPath(const char* directory, char* out);
