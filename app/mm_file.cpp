#include "app/mm_file.h"

#include "base/app_state.h"
#include "base/settings.h"
#include "cells/cell_views.h"

namespace {
// Created once and kept: the program writes a cell for every move or key the
// hook posts, and its handles keep the cells alive until it ends.
CellViews cells;
}  // namespace

void SetUpMMFile() {
  if (!cells.Create()) return;
  for (int key = 0; key < CELL_COUNT; ++key) {
    // The list's serial only ever grows: a process that decided on a list of
    // an earlier run must see that the list may have changed.
    if (key == CELL_EXCLUDESERIAL) continue;
    int32_t first = key == CELL_MAINHWND ? HandleToCell(mainWindow) : 0;
    cells.Write(static_cast<CellKey>(key), first);
  }
}

void UpdateMMFile() {
  cells.WriteExcludeList(Settings.exclude);
  cells.Write(CELL_REACTMOUSECLICK, Settings.reactMouseClick);
  cells.Write(CELL_REACTMOUSEMOVE, Settings.reactMouseMove);
  cells.Write(CELL_REACTKEY, Settings.reactKey);
  cells.Write(CELL_REACTENTERKEY, Settings.reactEnterKey);
}

void ClearHookPending() { cells.Write(CELL_HOOKPENDING, 0); }
