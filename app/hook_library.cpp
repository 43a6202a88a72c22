#include "app/hook_library.h"

#include "hook/library_path.h"

HMODULE hookLibrary = nullptr;

namespace {

using HookEntry = int (*)();

HookEntry FindEntry(HMODULE library, const char* name) {
  return reinterpret_cast<HookEntry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

}  // namespace

int LoadHookLibraryFile(const char* fileName) {
  if (hookLibrary != nullptr) return 0;
  char modulePath[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;  // a cut path names some other folder
  char libraryPath[MAX_PATH];
  if (!PathBesideModule(modulePath, fileName, IsLeadByte, libraryPath, sizeof libraryPath)) return 0;

  HMODULE library = LoadLibraryA(libraryPath);
  if (library == nullptr) return 0;
  HookEntry startHook = FindEntry(library, "StartHook");
  if (startHook == nullptr || FindEntry(library, "EndHook") == nullptr) {
    FreeLibrary(library);
    return 0;
  }
  hookLibrary = library;
  return startHook();
}

int LoadHookLibrary() { return LoadHookLibraryFile(kHookLibraryFile); }

void FreeHookLibrary() {
  if (hookLibrary == nullptr) return;
  // The hooks go before the code they run.
  HookEntry endHook = FindEntry(hookLibrary, "EndHook");
  if (endHook != nullptr) endHook();
  FreeLibrary(hookLibrary);
  hookLibrary = nullptr;
}
