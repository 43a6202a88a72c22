// Where the settings file lives, apart from the file system: beside the
// program while that can be written (the portable way), else in the user's
// roaming application data, else nowhere (the settings then hold in memory).
// And the wide paths that lead there, built from the program's own path.
#pragma once
#include <cstddef>

enum IniPlace : int {
  INI_BESIDE_PROGRAM = 0,
  INI_APP_DATA = 1,
};

// What the program found out about the two places.
struct IniPlaceFacts {
  bool besideExists;    // tovik2.ini is beside the program
  bool besideWritable;  // ... and can be written (or made there)
  bool appDataKnown;    // the user has a roaming application data folder
  bool appDataExists;   // %APPDATA%\Tovik2\tovik2.ini exists
  bool appDataWritable;  // ... and can be written (or made there)
};

struct IniPlaceChoice {
  IniPlace place;        // the file read and saved
  bool copyBesideFirst;  // the copy beside the program seeds the new file
  bool writable;         // false: saves fail, the user is told
};

// Beside the program when it can be written there. Else the application
// data file, which starts as a copy of the one beside the program when only
// that one exists. Where neither can be written, the file that exists is
// read (the application data one first, as the newer), beside otherwise.
IniPlaceChoice ChooseIniPlace(const IniPlaceFacts& facts);

// Cuts a wide path just after its last backslash, which stays; a path
// without one becomes empty.
void CutAfterLastBackslashW(wchar_t* path);

// out = first then second, within size characters with the NUL. 0, with out
// empty, when they would not fit: a cut path names some other file. out may
// be first's own buffer.
int JoinWidePath(const wchar_t* first, const wchar_t* second, wchar_t* out, size_t size);
