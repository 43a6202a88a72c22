// The program's hold on the hook library: loaded once the main window exists,
// freed when it is destroyed. Only its two entries are called, by name.
#pragma once
#include <windows.h>

#include "base/owned_handles.h"

// LoadHookLibrary's result when the library can't be loaded from the
// program's folder or lacks one of its two entries.
constexpr int kHookLibraryMissing = -1;
// LoadHookLibrary's result, run as administrator, when the library or its
// folder can be changed by others than the administrators and the system:
// the hooks would run their code in elevated programs. Not loaded.
constexpr int kHookLibraryUnprotected = -2;

// Lets the hook library's messages (PWM_HOOK_*) through to the main window
// from processes of lower integrity, and nothing else: a copy run as
// administrator would otherwise never hear of the input of ordinary
// programs. How many of the four were let through.
int AllowHookMessages(HWND mainWindow);

// One hold of the library; like the module it owns, it is never copied.
// The hooks are installed on a thread of the hold's own that does nothing
// but pump messages: the system calls a hook out of context (for a 32-bit
// program or an app container) on the thread that installed it, and that
// program's input waits meanwhile, so it must never wait on star making.
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
  // Whether this process runs elevated: the system's answer, or a test's.
  void UseElevationCheck(bool (*elevated)()) { elevated_ = elevated; }
  // Removes the hooks, then frees the library; nothing when it isn't loaded.
  void FreeHookLibrary();

  // The loaded library, null while it isn't loaded.
  HMODULE Module() const { return library_.Get(); }
  // The thread that installed the hooks and answers them; 0 while none runs.
  DWORD HookThreadId() const { return hookThreadId_; }

 private:
  static DWORD WINAPI HookThread(void* parameter);
  // Starts the hook thread and waits until StartHook ran there; its result.
  int StartHookThread();

  UniqueModule library_;
  bool (*elevated_)() = nullptr;  // null: RunsElevated
  int (*startHook_)() = nullptr;
  int (*endHook_)() = nullptr;
  int started_ = 0;            // what StartHook returned on the thread
  UniqueHandle ready_;         // set once it has
  UniqueHandle thread_;
  DWORD hookThreadId_ = 0;
};
