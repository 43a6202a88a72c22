// Finding one key of one section in the settings file's text, read by the
// program itself: the system's reader drops keys that follow a very long
// line, and a settings file is the user's to write whatever it holds.
#pragma once
#include <cstddef>

#include "app/ini_rules.h"

// Reads key of section from text (length bytes in the code page; NULs and
// any bytes allowed). Lines end in LF, CR LF or CR, whatever their length;
// a line "[name]" opens a section, and the first section of a name is the
// one read; "name=value" is a key, the first of a name counts; ';' opens a
// comment line. Names match without regard to A to Z case; blanks around
// names and values are dropped, and so is one pair of quotes around a value.
// 1 with the value in out, cut to size - 1 bytes without splitting a
// two-byte character; 0, with out empty, when the section or key is missing.
int FindIniValue(const char* text, size_t length, const char* section, const char* key, char* out, int size,
                 LeadByteTest isLeadByte);
