// Starting at sign-in, apart from the registry: the value the Run key holds
// for the program (its full path in quotes, so that a folder with blanks
// starts the right file) and whether a stored value still points at it.
#pragma once
#include <cstddef>

// "path" within size characters with the NUL; 0, with out empty, when it
// would not fit.
int QuoteProgramPath(const wchar_t* path, wchar_t* out, size_t size);

// Whether the stored Run value starts the program at path: its text, with or
// without quotes and blanks around it, names the same file (letter case
// does not matter on Windows' file systems). A program that was moved sees
// false and points the value at its new path.
bool RunValueNamesProgram(const wchar_t* stored, const wchar_t* path);
