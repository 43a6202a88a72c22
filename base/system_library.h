// Calls of system libraries that are no KnownDLLs (dwmapi.dll, oleacc.dll).
// An import of such a library is looked for in the program's folder first,
// so anyone who can write there could have a library of that name run in the
// program, elevated too; these load them from System32 alone, on first use.
#pragma once
#include <windows.h>

// The procedure of the library in System32; null when it cannot be loaded
// or lacks it. The library stays loaded for the process's life.
FARPROC SystemProcedure(const wchar_t* library, const char* name);

template <typename Call>
Call SystemCall(const wchar_t* library, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void*>(SystemProcedure(library, name)));
}
