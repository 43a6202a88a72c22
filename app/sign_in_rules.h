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

// Whether the start-up list of the task manager blocks the Run value: it
// keeps, under Explorer\StartupApproved\Run, a binary value of the same name
// whose first byte is odd while the user has disabled it there (even, or no
// value at all: Windows runs it).
bool StartupApprovedBlocks(const unsigned char* data, size_t size);

// The kind of drive a program lies on, as far as lasting goes.
enum class DriveKind { kFixed, kRemovable, kOther };

// Whether a copy at `path` may take the Run value over: not one on a
// removable drive or a disc (gone at the next sign-in), nor one inside the
// temporary folder `tempFolder` (a copy run from inside a zip archive is
// unpacked there, and cleaned away). Letter case does not matter.
bool LastingPlace(const wchar_t* path, const wchar_t* tempFolder, DriveKind drive);
