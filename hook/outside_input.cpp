#include "hook/outside_input.h"

#include <atomic>
#include <cstdint>

#include "cells/exclude_rules.h"

namespace {

std::atomic<DWORD> hookThread{0};

// A few processes at a time send input while their program is in front; the
// oldest entry makes room for a new one.
constexpr int kKnownProcesses = 8;

// A process id is reused once its process ends, so each entry watches its
// process (one wait of the system's pool, set up with the lookup) and is
// marked gone when it ends; an event pays one flag read for that.
struct KnownProcess {
  DWORD id = 0;
  HANDLE process = nullptr;
  HANDLE wait = nullptr;
  std::atomic<bool> gone{false};
  wchar_t name[MAX_PATH] = {};  // file name without folder; empty when it could not be had
  bool decided = false;
  int32_t serial = 0;        // the list's serial the decision was made on
  bool leftAlone = false;
};

// Touched by the hook thread alone.
KnownProcess known[kKnownProcesses];
int nextSlot = 0;
wchar_t list[kExcludeCellSize] = {};
int32_t listSerial = 0;
bool listRead = false;

void CALLBACK ProcessEnded(void* entry, BOOLEAN) {
  static_cast<KnownProcess*>(entry)->gone.store(true, std::memory_order_release);
}

void Forget(KnownProcess& entry) {
  // Waits for a callback under way, so none runs after the entry changed.
  if (entry.wait != nullptr) UnregisterWaitEx(entry.wait, INVALID_HANDLE_VALUE);
  if (entry.process != nullptr) CloseHandle(entry.process);
  entry.wait = nullptr;
  entry.process = nullptr;
  entry.id = 0;
  entry.name[0] = L'\0';
  entry.decided = false;
  entry.gone.store(false, std::memory_order_relaxed);
}

void Learn(KnownProcess& entry, DWORD processId) {
  entry.id = processId;
  entry.process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId);
  if (entry.process == nullptr) return;
  wchar_t path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  if (QueryFullProcessImageNameW(entry.process, 0, path, &length) && length > 0) TakeFileName(path, entry.name);
  if (!RegisterWaitForSingleObject(&entry.wait, entry.process, ProcessEnded, &entry, INFINITE,
                                   WT_EXECUTEONLYONCE)) {
    entry.wait = nullptr;
  }
}

KnownProcess& Entry(DWORD processId) {
  for (KnownProcess& entry : known) {
    if (entry.id == processId && !entry.gone.load(std::memory_order_acquire)) return entry;
  }
  KnownProcess& slot = known[nextSlot];
  nextSlot = (nextSlot + 1) % kKnownProcesses;
  Forget(slot);
  Learn(slot, processId);
  return slot;
}

}  // namespace

void TakeFileName(const wchar_t* path, wchar_t* name) {
  const wchar_t* from = path;
  for (const wchar_t* at = path; *at != L'\0'; ++at) {
    if (*at == L'\\' || *at == L'/') from = at + 1;
  }
  int length = 0;
  while (length < MAX_PATH - 1 && from[length] != L'\0') {
    name[length] = from[length];
    ++length;
  }
  name[length] = L'\0';
}

void SetHookThread(DWORD thread) { hookThread.store(thread, std::memory_order_relaxed); }

void ForgetProcesses() {
  for (KnownProcess& entry : known) Forget(entry);
  listRead = false;
}

bool OnHookThread() {
  const DWORD thread = hookThread.load(std::memory_order_relaxed);
  return thread != 0 && thread == GetCurrentThreadId();
}

DWORD OtherProcessOf(HWND window) {
  DWORD processId = 0;
  if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0) return 0;
  return processId != GetCurrentProcessId() ? processId : 0;
}

bool ForegroundInput(GUITHREADINFO* info, DWORD* processId) {
  *info = GUITHREADINFO{};
  info->cbSize = sizeof *info;
  *processId = 0;
  // Thread 0: the foreground thread, where the keyboard input goes.
  if (!GetGUIThreadInfo(0, info)) return false;
  HWND window = info->hwndFocus != nullptr ? info->hwndFocus : info->hwndActive;
  if (window == nullptr || GetWindowThreadProcessId(window, processId) == 0) return false;
  return *processId != 0;
}

bool ProcessIsLeftAlone(const CellViews& views, DWORD processId) {
  const int32_t serial = views.Read(CELL_EXCLUDESERIAL);
  KnownProcess& process = Entry(processId);
  if (process.decided && process.serial == serial) return process.leftAlone;
  if (!listRead || listSerial != serial) {
    // As in the program's own process: a list whose writer died halfway is
    // taken as last read.
    views.ReadExcludeListSettled(list, &listSerial);
    listRead = true;
  }
  process.leftAlone = IsExcludedProgram(list, process.name);
  process.serial = listSerial;
  process.decided = true;
  return process.leftAlone;
}
