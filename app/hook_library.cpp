#include "app/hook_library.h"

#include <string>

#include "base/owned_handles.h"
#include "cells/library_path.h"

HMODULE hookLibrary = nullptr;

namespace {

using HookEntry = int (*)();

HookEntry FindEntry(HMODULE library, const char* name) {
  return reinterpret_cast<HookEntry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The library from the program's own folder and nowhere else.
HMODULE LoadBesideProgram(const wchar_t* fileName) {
  // The loader searches that folder itself, so its name may hold any
  // character and be of any length.
  HMODULE library = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
  if (library != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return library;
  // A loader that doesn't know that search (Windows 7 before its update): by full wide path.
  std::wstring modulePath(kLongPathSize, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, modulePath.data(), static_cast<DWORD>(kLongPathSize));
  if (length == 0 || length >= kLongPathSize) return nullptr;  // a cut path names some other folder
  std::wstring libraryPath(kLongPathSize, L'\0');
  if (!PathBesideModule(modulePath.c_str(), fileName, libraryPath.data(), kLongPathSize)) return nullptr;
  return LoadLibraryExW(libraryPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

int LoadHookLibraryFile(const wchar_t* fileName) {
  if (hookLibrary != nullptr) return 0;
  UniqueModule library(LoadBesideProgram(fileName));
  if (!library) return kHookLibraryMissing;
  HookEntry startHook = FindEntry(library.Get(), kStartHookEntry);
  if (startHook == nullptr || FindEntry(library.Get(), kEndHookEntry) == nullptr) return kHookLibraryMissing;
  hookLibrary = library.Release();
  return startHook();
}

int LoadHookLibrary() { return LoadHookLibraryFile(kHookLibraryFile); }

void FreeHookLibrary() {
  if (hookLibrary == nullptr) return;
  // The hooks go before the code they run.
  HookEntry endHook = FindEntry(hookLibrary, kEndHookEntry);
  if (endHook != nullptr) endHook();
  FreeLibrary(hookLibrary);
  hookLibrary = nullptr;
}
