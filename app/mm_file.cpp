#include "app/mm_file.h"

#include "base/app_state.h"
#include "base/settings.h"
#include "cells/shared_cells.h"

namespace {
SharedCells cells;
}

void SetUpMMFile() {
  for (int key = 0; key < CELL_COUNT; ++key) {
    cells.CreateCell(cellNames[key], 4);
    int32_t first = key == CELL_MAINHWND ? HandleToCell(mainWindow) : 0;
    cells.WriteCellInt(first, cellNames[key]);
  }
}

void UpdateMMFile() {
  cells.WriteCellInt(Settings.reactMouseClick, cellNames[CELL_REACTMOUSECLICK]);
  cells.WriteCellInt(Settings.reactMouseMove, cellNames[CELL_REACTMOUSEMOVE]);
  cells.WriteCellInt(Settings.reactKey, cellNames[CELL_REACTKEY]);
  cells.WriteCellInt(Settings.reactEnterKey, cellNames[CELL_REACTENTERKEY]);
}
