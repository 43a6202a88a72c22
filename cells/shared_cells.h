// One-off access to the named shared-memory cells by name: every access opens
// the mapping, maps it, copies, unmaps and closes. For a look from outside (a
// test, a second process, a benchmark's yardstick); the deliverables keep
// their views (cell_views.h) and never include this.
#pragma once
#include <cstdint>

#include "cells/cell_names.h"

class SharedCells {
 public:
  // Creates (or opens, keeping its contents) a paging-file mapping of the given
  // size. The handle is deliberately never closed: the cell lives until the
  // creating process ends. 1 when a handle came back, else 0.
  int CreateCell(const char* name, uint32_t size);

  // 1 on success; 0 when the cell can't be opened or mapped, nothing copied.
  int WriteCellBytes(const void* source, const char* name, uint32_t size);
  int WriteCellInt(int32_t value, const char* name);
  int ReadCellBytes(void* destination, const char* name, uint32_t size);
  int ReadCellInt(int32_t* destination, const char* name);
};
