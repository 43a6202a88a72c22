#include "app/mm_file.h"

#include <cwchar>

#include "cells/exclude_rules.h"

bool ProgramCells::SetUpMMFile(HWND mainWindow) {
  if (!cells_.Create()) return false;
  for (int key = 0; key < CELL_COUNT; ++key) {
    // The list's serial only ever grows: a process that decided on a list of
    // an earlier run must see that the list may have changed. A run that
    // ended between its two steps left it odd, which says "being written"
    // forever: it is rounded up to even.
    if (key == CELL_EXCLUDESERIAL) {
      const int32_t serial = cells_.Read(CELL_EXCLUDESERIAL);
      if ((serial & 1) != 0) cells_.Write(CELL_EXCLUDESERIAL, serial + 1);
      continue;
    }
    int32_t first = key == CELL_MAINHWND ? HandleToCell(mainWindow) : 0;
    cells_.Write(static_cast<CellKey>(key), first);
  }
  return true;
}

void ProgramCells::UpdateMMFile(const SettingsRecord& settings) {
  // The setting's text is in the system's code page: turned into UTF-16 once,
  // here, and tidied there, so no half of a character is ever taken for a
  // separator. Each entry that can be no program name is dropped alone.
  wchar_t text[kExcludeListSize] = {};
  if (MultiByteToWideChar(CP_ACP, 0, settings.exclude, -1, text, kExcludeListSize) == 0) text[0] = L'\0';
  wchar_t list[kExcludeListSize];
  wchar_t dropped[kDroppedEntrySize];
  // Kept until told, whatever the settings mirrored meanwhile.
  if (NormaliseExcludeList(text, list, kExcludeListSize, dropped, kDroppedEntrySize) > 0) {
    std::wcscpy(dropped_, dropped);
  }
  cells_.WriteExcludeList(list);
  cells_.Write(CELL_REACTMOUSECLICK, settings.reactMouseClick);
  cells_.Write(CELL_REACTMOUSEMOVE, settings.reactMouseMove);
  cells_.Write(CELL_REACTKEY, settings.reactKey);
  cells_.Write(CELL_REACTENTERKEY, settings.reactEnterKey);
}

void ProgramCells::ClearHookPending() { cells_.Write(CELL_HOOKPENDING, 0); }

void ProgramCells::ClearKeyPending() { cells_.Write(CELL_KEYPENDING, 0); }

bool ProgramCells::TakeDroppedExcludeEntry(wchar_t* out, size_t outSize) {
  if (dropped_[0] == L'\0' || outSize == 0) return false;
  std::wcsncpy(out, dropped_, outSize - 1);
  out[outSize - 1] = L'\0';
  dropped_[0] = L'\0';
  return true;
}
