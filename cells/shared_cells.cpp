#include "cells/shared_cells.h"

#include <windows.h>

#include <cstring>

#include "cells/cell_access_rules.h"

int SharedCells::CreateCell(const char* name, uint32_t size) {
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
  return mapping != nullptr ? 1 : 0;
}

namespace {

// Opens and maps the cell, hands its bytes to `copy`, and releases both again.
template <typename Copy>
int WithCellView(const char* name, Copy copy) {
  HANDLE mapping = OpenFileMappingA(kCellOpenAccess, FALSE, name);
  if (mapping == nullptr) return 0;
  void* view = MapViewOfFile(mapping, kCellOpenAccess, 0, 0, 0);
  if (view == nullptr) {
    CloseHandle(mapping);
    return 0;
  }
  copy(view);
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  return 1;
}

}  // namespace

int SharedCells::WriteCellBytes(const void* source, const char* name, uint32_t size) {
  return WithCellView(name, [&](void* view) { std::memcpy(view, source, size); });
}

int SharedCells::WriteCellInt(int32_t value, const char* name) {
  return WriteCellBytes(&value, name, sizeof value);
}

int SharedCells::ReadCellBytes(void* destination, const char* name, uint32_t size) {
  return WithCellView(name, [&](void* view) { std::memcpy(destination, view, size); });
}

int SharedCells::ReadCellInt(int32_t* destination, const char* name) {
  return ReadCellBytes(destination, name, sizeof *destination);
}
