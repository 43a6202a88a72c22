#include "app/hook_library.h"

#include <string>
#include <utility>

#include "cells/library_path.h"

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

int HookLibrary::LoadHookLibraryFile(const wchar_t* fileName) {
  if (library_) return 0;
  UniqueModule library(LoadBesideProgram(fileName));
  if (!library) return kHookLibraryMissing;
  HookEntry startHook = FindEntry(library.Get(), kStartHookEntry);
  if (startHook == nullptr || FindEntry(library.Get(), kEndHookEntry) == nullptr) return kHookLibraryMissing;
  library_ = std::move(library);
  return startHook();
}

int HookLibrary::LoadHookLibrary() { return LoadHookLibraryFile(kHookLibraryFile); }

void HookLibrary::FreeHookLibrary() {
  if (!library_) return;
  // The hooks go before the code they run.
  HookEntry endHook = FindEntry(library_.Get(), kEndHookEntry);
  if (endHook != nullptr) endHook();
  library_.Reset();
}
