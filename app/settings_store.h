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
void GetIniInfo();

// Writes Settings to the file and mirrors the switches.
void SaveIniInfo();
