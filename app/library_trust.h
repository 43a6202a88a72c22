// An elevated copy installs its hooks only from a library nobody but the
// administrators and the system can replace (library_trust_rules.h).
#pragma once
#include <windows.h>

// Whether this process runs elevated above the user's ordinary programs:
// its token is elevated and its limited twin (the one those programs get)
// has a lower integrity level. Where every program gets the same elevated
// token (UAC turned off, or Wine), there is no ordinary program to guard
// against.
bool RunsElevated();

// Whether only the administration can change the file or folder at `path`;
// false when its security cannot be read.
bool OnlyAdministrationChangesPath(const wchar_t* path);

// The same for the library at `path` and for the folder that holds it.
bool LibraryWriteProtected(const wchar_t* path);
