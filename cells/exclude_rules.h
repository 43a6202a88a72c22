// The programs whose input never makes stars: the EXCLUDE setting, a list of
// program file names separated by ';' ("mstsc.exe;game.exe"). The program
// tidies the setting's text into the list; each process that loads the hook
// library reads it from its cell and decides whether it is on it.
#pragma once
#include <cstddef>

#include "cells/cell_names.h"

// The list with its NUL fits this many characters, as its cell holds it; a
// longer one is malformed.
constexpr int kExcludeListSize = kExcludeCellSize;

// Checks and tidies the setting's text into out (outSize characters): names
// trimmed of blanks, empty entries dropped, joined by ';'. 1 when the text is
// a list (an empty one included); 0, with out empty, when it is too long or
// a name holds a path separator or a character no file name may hold.
int NormaliseExcludeList(const char* text, char* out, size_t outSize);

// Whether programName (a file name without folder, such as "Game.EXE") is
// on the normalised list; letters compare without regard to ASCII case.
bool IsExcludedProgram(const char* list, const char* programName);
