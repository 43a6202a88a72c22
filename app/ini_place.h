// Finds the settings file: beside the program while that folder lets it be
// written, else in %APPDATA%\Tovik2 (ChooseIniPlace decides). Every path is
// UTF-16, so a folder whose name the ANSI code page cannot spell works too.
#pragma once
#include <windows.h>

#include <cstddef>

constexpr size_t kIniPathSize = 520;  // wide characters with the NUL

struct IniLocation {
  wchar_t path[kIniPathSize];  // empty when the program's path did not fit
  bool writable;               // false: saves will fail and the user is told
};

// The program file's folder with its trailing backslash; 0, with out empty,
// when its path does not fit.
int ProgramFolderW(wchar_t* out, size_t size);

// Decides between programFolder's tovik2.ini and appDataFolder's
// Tovik2\tovik2.ini (appDataFolder null or empty: none), making the Tovik2
// folder and copying the file beside the program there when the choice asks.
// Only a test of the places: no settings file is left behind that was not
// there before, but for that copy.
void LocateIniFile(const wchar_t* programFolder, const wchar_t* appDataFolder, IniLocation* out);

// LocateIniFile with the program's folder and the user's roaming
// application data folder.
void FindIniFile(IniLocation* out);
