// Loading and saving the settings in the INI file beside the program. Every
// load and save also mirrors the reaction switches into the shared cells.
#pragma once
#include <cstdint>

#include "base/settings.h"

// The INI file's path, set once at start-up. Empty when the program's
// directory leaves no room for the file name: the settings then live in
// memory only and nothing is written.
extern char iniPath[kTextSize];

// The program file's directory with its trailing backslash; empty when the
// path holds no backslash. 0, with out empty, when the program's path does
// not fit in the buffer.
int GetModulePath(char* out);

// The INI path: the program's directory and "tovik2.ini". 0, with out empty,
// when the path cannot be had whole.
int GetIniFileName(char* out);

// The text of one key of the settings section, at most size - 1 characters;
// empty for a missing file, section or key.
void GetPps(const char* key, char* out, int size);

// The leading number of a key's first five characters; negative reads as 0.
int32_t GetPpsByInt(const char* key);

// Loads Settings: the defaults, written to a new file, when none exists.
// 0 when that new file could not be written.
int GetIniInfo();

// Writes Settings to the file and mirrors the switches. 0 when the file
// could not be written (the settings then hold in memory only).
int SaveIniInfo();

// Takes the changed record as Settings and writes only the keys whose values
// changed; mirrors the switches. 0 when a write failed.
int SaveChangedIniInfo(const SettingsRecord& changed);

// Tells the user once that the last save failed; nothing when it succeeded
// or the user has been told already. A successful save re-arms it.
void TellUnsavedSettings();
