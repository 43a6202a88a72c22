// The programs whose input never makes stars: the EXCLUDE setting, a list of
// program file names separated by ';' ("mstsc.exe;game.exe"). The program
// turns the setting's text into UTF-16 once, as it loads, and tidies it into
// the list; each process that loads the hook library reads it from its cell
// and decides whether it is on it. The list is split and compared in UTF-16,
// so no half of a double-byte character is ever taken for a separator, a
// forbidden character or a letter to fold.
#pragma once
#include <cstddef>

#include "cells/cell_names.h"

// The list with its NUL fits this many characters, as its cell holds it.
constexpr int kExcludeListSize = kExcludeCellSize;

// Tidies the setting's text into out (outSize characters): names trimmed of
// blanks and joined by ';'. An entry that can't be a program's file name (it
// holds a path separator, a wildcard or another character no file name may
// hold, or it no longer fits) is dropped alone, the rest kept; an empty one
// is passed over. How many were dropped; the first of them, trimmed and cut
// to droppedSize, goes into dropped (empty when none was).
int NormaliseExcludeList(const wchar_t* text, wchar_t* out, size_t outSize, wchar_t* dropped, size_t droppedSize);

// Whether programName (a file name without folder, such as L"Game.EXE") is
// on the normalised list; letters A to Z compare without regard to case,
// every other character as it is.
bool IsExcludedProgram(const wchar_t* list, const wchar_t* programName);
