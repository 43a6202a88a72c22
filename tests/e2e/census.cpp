// A test-only library that the probe loads into a running Tovik2 (a remote
// thread on LoadLibraryA). On load it takes a census of the process from the
// inside and leaves it in the probe's named mapping:
//   - live GDI objects by type: Wine answers GetGuiResources with 0, so every
//     slot of the process's GDI handle table is asked for its object type (a
//     handle whose upper word is 0 names whatever lives in that slot);
//   - bytes and blocks in use on every heap of the process.
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

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, kCensusMappingName);
  if (mapping == nullptr) return FALSE;
  auto* record = static_cast<CensusRecord*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(CensusRecord)));
  if (record != nullptr) {
    CountGdiObjects(record);
    CountHeaps(record);
    record->done = kCensusDone;
    UnmapViewOfFile(record);
  }
  CloseHandle(mapping);
  return FALSE;  // counted; nothing of this library stays in the process
}
