#include "app/mm_file.h"

bool ProgramCells::SetUpMMFile(HWND mainWindow) {
  if (!cells_.Create()) return false;
  for (int key = 0; key < CELL_COUNT; ++key) {
    // The list's serial only ever grows: a process that decided on a list of
    // an earlier run must see that the list may have changed.
    if (key == CELL_EXCLUDESERIAL) continue;
    int32_t first = key == CELL_MAINHWND ? HandleToCell(mainWindow) : 0;
    cells_.Write(static_cast<CellKey>(key), first);
  }
  return true;
}

void ProgramCells::UpdateMMFile(const SettingsRecord& settings) {
  cells_.WriteExcludeList(settings.exclude);
  cells_.Write(CELL_REACTMOUSECLICK, settings.reactMouseClick);
  cells_.Write(CELL_REACTMOUSEMOVE, settings.reactMouseMove);
  cells_.Write(CELL_REACTKEY, settings.reactKey);
  cells_.Write(CELL_REACTENTERKEY, settings.reactEnterKey);
}

void ProgramCells::ClearHookPending() { cells_.Write(CELL_HOOKPENDING, 0); }
