// Where the program finds its hook library: beside its own executable, by
// full path, so no other file of that name on the search path is ever loaded.
#pragma once
#include <cstddef>

constexpr char kHookLibraryFile[] = "nivlet2.dll";

// Tells whether a byte of an ANSI text starts a two-byte character of the
// system code page (whose second byte may equal '\\').
using LeadByteTest = bool (*)(unsigned char byte);

// Writes the folder of modulePath (up to and including its last separator)
// followed by fileName into out, NUL-terminated. 1 on success; 0, with out
// empty, when modulePath has no folder or the result would not fit.
int PathBesideModule(const char* modulePath, const char* fileName, LeadByteTest isLeadByte,
                     char* out, size_t outSize);
