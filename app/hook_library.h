// The program's hold on the hook library: loaded once the main window exists,
// freed when it is destroyed. Only its two entries are called, by name.
#pragma once
#include <windows.h>

#include "base/owned_handles.h"

// LoadHookLibrary's result when the library can't be loaded from the
// program's folder or lacks one of its two entries.
constexpr int kHookLibraryMissing = -1;

// One hold of the library; like the module it owns, it is never copied.
class HookLibrary {
 public:
  // Removes the hooks and frees the library, if loaded.
  ~HookLibrary() { FreeHookLibrary(); }

  // Loads "nivlet2.dll" from the program's own folder (whatever characters
  // its path holds, however long it is) and installs the hooks. Returns what
  // StartHook returns; 0 when the library is loaded already;
  // kHookLibraryMissing when it can't be loaded or lacks one of its two
  // entries (then it is not kept loaded, and the program runs on without
  // input reactions).
  int LoadHookLibrary();
  // The same for a library of another name in the program's folder.
  int LoadHookLibraryFile(const wchar_t* fileName);
  // Removes the hooks, then frees the library; nothing when it isn't loaded.
  void FreeHookLibrary();

  // The loaded library, null while it isn't loaded.
  HMODULE Module() const { return library_.Get(); }

 private:
  UniqueModule library_;
};
