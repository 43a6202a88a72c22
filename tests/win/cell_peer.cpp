// A second process for the cell tests.
//   cell_peer read NAME EXPECTED   exit 0 when the cell reads EXPECTED, 2 when it differs, 3 when unreadable
//   cell_peer write NAME VALUE     exit 0 when written, 3 when the cell can't be opened
#include <cstdlib>
#include <cstring>

#include "cells/shared_cells.h"

int main(int argc, char** argv) {
  if (argc != 4) return 64;
  SharedCells cells;
  int32_t value = static_cast<int32_t>(std::strtol(argv[3], nullptr, 0));
  if (std::strcmp(argv[1], "read") == 0) {
    int32_t found = 0;
    if (!cells.ReadCellInt(&found, argv[2])) return 3;
    return found == value ? 0 : 2;
  }
  if (std::strcmp(argv[1], "write") == 0) {
    return cells.WriteCellInt(value, argv[2]) ? 0 : 3;
  }
  return 64;
}
