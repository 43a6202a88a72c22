// The programs whose input never makes stars: the EXCLUDE setting, a list of
// program file names separated by ';' ("mstsc.exe;game.exe"). Each process
// that loads the hook library decides once whether it is one of them.
#pragma once
#include <cstddef>

// The list with its NUL fits this many characters; a longer one is malformed.
constexpr int kExcludeListSize = 1024;

// Checks and tidies the setting's text into out (outSize characters): names
// trimmed of blanks, empty entries dropped, joined by ';'. 1 when the text is
// a list (an empty one included); 0, with out empty, when it is too long or
// a name holds a path separator or a character no file name may hold.
int NormaliseExcludeList(const char* text, char* out, size_t outSize);

// Whether programName (a file name without folder, such as "Game.EXE") is
// on the normalised list; letters compare without regard to ASCII case.
bool IsExcludedProgram(const char* list, const char* programName);
