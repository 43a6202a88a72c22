// An elevated copy installs its hooks only from a library nobody but the
// administrators and the system can replace (library_trust_rules.h).
#pragma once
#include <windows.h>

// Whether this process runs elevated (as administrator).
bool RunsElevated();

// Whether only the administration can change the file or folder at `path`;
// false when its security cannot be read.
bool OnlyAdministrationChangesPath(const wchar_t* path);

// The same for the library at `path` and for the folder that holds it.
bool LibraryWriteProtected(const wchar_t* path);
