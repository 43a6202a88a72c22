// The hook library as the program knows it: its file name, the entries it
// calls by name, and where it finds the file when the loader cannot be told to
// search the program's own folder alone: beside its executable, by full path,
// so no other file of that name on the search path is ever loaded. Wide
// paths, so a folder whose name lies outside the ANSI code page, or is longer
// than 259 characters, still works.
#pragma once
#include <cstddef>

constexpr wchar_t kHookLibraryFile[] = L"nivlet2.dll";
// The two entries the program calls by name (the library's .def file exports them).
constexpr char kStartHookEntry[] = "StartHook";
constexpr char kEndHookEntry[] = "EndHook";

// The longest path the system gives, in characters with the NUL.
constexpr size_t kLongPathSize = 32768;

// Writes the folder of modulePath (up to and including its last separator)
// followed by fileName into out, NUL-terminated. 1 on success; 0, with out
// empty, when modulePath has no folder or the result would not fit.
int PathBesideModule(const wchar_t* modulePath, const wchar_t* fileName, wchar_t* out, size_t outSize);
