#include "app/hook_library.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "app/library_trust.h"
#include "cells/library_path.h"
#include "cells/private_messages.h"

namespace {

using HookEntry = int (*)();

HookEntry FindEntry(HMODULE library, const char* name) {
  return reinterpret_cast<HookEntry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The library's full path beside the program; false when it cannot be had.
bool PathBesideProgram(const wchar_t* fileName, std::wstring* path) {
  std::wstring modulePath(kLongPathSize, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, modulePath.data(), static_cast<DWORD>(kLongPathSize));
  if (length == 0 || length >= kLongPathSize) return false;  // a cut path names some other folder
  path->assign(kLongPathSize, L'\0');
  if (!PathBesideModule(modulePath.c_str(), fileName, path->data(), kLongPathSize)) return false;
  path->resize(std::char_traits<wchar_t>::length(path->c_str()));
  return true;
}

// The library from the program's own folder and nowhere else.
HMODULE LoadBesideProgram(const wchar_t* fileName) {
  // The loader searches that folder itself, so its name may hold any
  // character and be of any length.
  HMODULE library = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
  if (library != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return library;
  // A loader that doesn't know that search (Windows 7 before its update): by full wide path.
  std::wstring libraryPath;
  if (!PathBesideProgram(fileName, &libraryPath)) return nullptr;
  return LoadLibraryExW(libraryPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// Waits for the thread to end, answering what other threads send to this
// one meanwhile: a hook call in flight may be sending its click here.
void WaitAnsweringSent(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

int AllowHookMessages(HWND mainWindow) {
  int allowed = 0;
  for (UINT message : {PWM_HOOK_CLICK, PWM_HOOK_MOVE, PWM_HOOK_KEY, PWM_HOOK_KEY_NO_CARET, PWM_HOOK_BUTTONUP}) {
    if (ChangeWindowMessageFilterEx(mainWindow, message, MSGFLT_ALLOW, nullptr)) ++allowed;
  }
  return allowed;
}

DWORD WINAPI HookLibrary::HookThread(void* parameter) {
  auto* self = static_cast<HookLibrary*>(parameter);
  MSG message;
  // The queue exists before anyone learns of the thread, so the quit posted
  // to it is never lost.
  PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  // Other programs' input waits for this thread (32-bit and Store programs'
  // hook calls come here): it must never starve behind star making.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
  self->started_ = self->startHook_();
  SetEvent(self->ready_.Get());
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  // The hooks go on the thread that set them, before the hold lets the library go.
  self->endHook_();
  return 0;
}

int HookLibrary::StartHookThread() {
  ready_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (ready_) thread_.Reset(CreateThread(nullptr, 0, HookThread, this, 0, &hookThreadId_));
  if (!thread_) {
    // No thread of its own: the hooks are set on this one, as a last resort.
    hookThreadId_ = 0;
    return startHook_();
  }
  HANDLE waits[2] = {ready_.Get(), thread_.Get()};
  WaitForMultipleObjects(2, waits, FALSE, INFINITE);
  return started_;
}

int HookLibrary::LoadHookLibraryFile(const wchar_t* fileName) {
  if (library_) return 0;
  if ((elevated_ != nullptr ? elevated_ : RunsElevated)()) {
    std::wstring path;
    if (!PathBesideProgram(fileName, &path) || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
      return kHookLibraryMissing;
    }
    if (!LibraryWriteProtected(path.c_str())) return kHookLibraryUnprotected;
  }
  UniqueModule library(LoadBesideProgram(fileName));
  if (!library) return kHookLibraryMissing;
  HookEntry startHook = FindEntry(library.Get(), kStartHookEntry);
  HookEntry endHook = FindEntry(library.Get(), kEndHookEntry);
  if (startHook == nullptr || endHook == nullptr) return kHookLibraryMissing;
  library_ = std::move(library);
  startHook_ = startHook;
  endHook_ = endHook;
  return StartHookThread();
}

int HookLibrary::LoadHookLibrary() { return LoadHookLibraryFile(kHookLibraryFile); }

void HookLibrary::FreeHookLibrary() {
  if (!library_) return;
  // The hooks go before the code they run: the thread removes them as it ends.
  if (thread_) {
    PostThreadMessageW(hookThreadId_, WM_QUIT, 0, 0);
    WaitAnsweringSent(thread_.Get());
    thread_.Reset();
    hookThreadId_ = 0;
  } else {
    endHook_();
  }
  ready_.Reset();
  library_.Reset();
}
