// One-off access to the named shared-memory cells by name: every access opens
// the mapping, maps it, copies, unmaps and closes. For a look from outside (a
// test, a second process); the deliverables keep their views (cell_views.h).
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

// Window and hook handles travel through a 32-bit cell: user handles keep
// their value in the low 32 bits, and are sign-extended back.
inline int32_t HandleToCell(const void* handle) {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(handle));
}
template <typename H>
inline H CellToHandle(int32_t value) {
  return reinterpret_cast<H>(static_cast<intptr_t>(value));
}
