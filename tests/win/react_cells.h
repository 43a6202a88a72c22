// The four reaction cells as the hook library reads them, for the tests of
// the code that keeps them up to date.
#pragma once
#include <cstdint>
#include <vector>

#include "cells/shared_cells.h"

// click, move, key, Enter-only; -1 for a cell that can't be read.
inline std::vector<int32_t> ReactCells() {
  SharedCells cells;
  std::vector<int32_t> values;
  for (CellKey key : {CELL_REACTMOUSECLICK, CELL_REACTMOUSEMOVE, CELL_REACTKEY, CELL_REACTENTERKEY}) {
    int32_t value = -1;
    cells.ReadCellInt(&value, cellNames[key]);
    values.push_back(value);
  }
  return values;
}
