// A test-only library that the probe loads into a running Tovik2 (a remote
// thread on LoadLibraryA). On load it answers the probe's request from the
// inside and leaves the answer in the probe's named mapping. A census:
//   - live GDI objects by type: Wine answers GetGuiResources with 0, so every
//     slot of the process's GDI handle table is asked for its object type (a
//     handle whose upper word is 0 names whatever lives in that slot);
//   - bytes and blocks in use on every heap of the process.
// Or the texts of the menu the process shows: Wine keeps a menu's items in
// the process that made it, out of another program's reach.
// Then it declines to stay (DllMain returns FALSE), so the loader unloads it
// at once and the next census loads it afresh.
#include <windows.h>

#include <cstdint>

#include "census_record.h"

namespace {

void CountGdiObjects(CensusRecord* record) {
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) {
    DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(slot));
    if (type == 0) continue;
    ++record->gdiObjects;
    if (type < kCensusGdiTypes) ++record->gdiByType[type];
  }
}

void CountHeaps(CensusRecord* record) {
  HANDLE heaps[64];
  DWORD count = GetProcessHeaps(64, heaps);
  if (count > 64) count = 64;
  for (DWORD i = 0; i < count; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) == 0) continue;
      record->heapBusyBytes += entry.cbData;
      ++record->heapBusyBlocks;
    }
    HeapUnlock(heaps[i]);
    ++record->heaps;
  }
}

// The first shown popup menu window of this process; null if none shows.
HWND ShownMenuWindow() {
  struct Search {
    DWORD processId;
    HWND found;
  } search{GetCurrentProcessId(), nullptr};
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        char className[16];
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->processId || !IsWindowVisible(window)) return TRUE;
        if (GetClassNameA(window, className, sizeof className) == 0 || lstrcmpA(className, "#32768") != 0) {
          return TRUE;
        }
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void ReadShownMenu(CensusRecord* record) {
  constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU
  HWND window = ShownMenuWindow();
  DWORD_PTR answer = 0;
  // Asked of the thread that tracks the menu; it answers from the menu's loop.
  if (window == nullptr || !SendMessageTimeoutW(window, kGetMenuHandle, 0, 0, SMTO_NORMAL, 2000, &answer)) return;
  HMENU menu = reinterpret_cast<HMENU>(answer);
  int count = GetMenuItemCount(menu);
  size_t used = 0;
  for (int i = 0; i < count; ++i) {
    wchar_t text[128] = {};
    char utf8[512] = {};
    if (GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION) <= 0) {
      lstrcpyA(utf8, "-");  // a separator
    } else {
      WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    }
    size_t length = static_cast<size_t>(lstrlenA(utf8));
    if (used + length + 2 > sizeof record->menuItems) break;
    CopyMemory(record->menuItems + used, utf8, length);
    used += length;
    record->menuItems[used++] = '\n';
  }
  record->menuItems[used] = '\0';
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kCensusMappingName);
  if (mapping == nullptr) return FALSE;
  auto* record = static_cast<CensusRecord*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(CensusRecord)));
  if (record != nullptr) {
    if (record->request == CENSUS_MENU) {
      ReadShownMenu(record);
    } else {
      CountGdiObjects(record);
      CountHeaps(record);
    }
    record->done = kCensusDone;
    UnmapViewOfFile(record);
  }
  CloseHandle(mapping);
  return FALSE;  // counted; nothing of this library stays in the process
}
