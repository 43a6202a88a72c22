#include "cells/cell_views.h"

template <typename Acquire>
bool CellViews::MapAll(Acquire acquire) {
  Close();
  UniqueHandle excludeMapping(acquire(kExcludeCellName, kExcludeCellSize));
  UniqueView excludeView(excludeMapping ? MapViewOfFile(excludeMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0)
                                        : nullptr);
  if (!excludeView) return false;
  exclude_ = static_cast<volatile char*>(excludeView.Get());
  excludeMapping_ = std::move(excludeMapping);
  excludeView_ = std::move(excludeView);
  for (int key = 0; key < CELL_COUNT; ++key) {
    UniqueHandle mapping(acquire(cellNames[key], sizeof(int32_t)));
    if (!mapping) break;
    UniqueView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view) break;
    cells_[key] = static_cast<volatile LONG*>(view.Get());
    mappings_[key] = std::move(mapping);
    views_[key] = std::move(view);
  }
  if (cells_[CELL_COUNT - 1] != nullptr) return true;
  Close();
  return false;
}

bool CellViews::Create() {
  return MapAll([](const char* name, DWORD size) {
    return CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
  });
}

bool CellViews::Open() {
  return MapAll([](const char* name, DWORD) { return OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name); });
}

void CellViews::Close() {
  for (int key = 0; key < CELL_COUNT; ++key) {
    cells_[key] = nullptr;
    views_[key].Reset();
    mappings_[key].Reset();
  }
  exclude_ = nullptr;
  excludeView_.Reset();
  excludeMapping_.Reset();
}

void CellViews::WriteExcludeList(const char* list) const {
  if (exclude_ == nullptr || cells_[CELL_EXCLUDESERIAL] == nullptr) return;
  // Odd while the text changes: a reader that sees an odd or changed serial
  // tries again later.
  InterlockedIncrement(cells_[CELL_EXCLUDESERIAL]);
  int at = 0;
  for (; at < kExcludeCellSize - 1 && list != nullptr && list[at] != '\0'; ++at) exclude_[at] = list[at];
  exclude_[at] = '\0';
  InterlockedIncrement(cells_[CELL_EXCLUDESERIAL]);
}

bool CellViews::ReadExcludeList(char* out, int32_t* serial) const {
  out[0] = '\0';
  if (exclude_ == nullptr || cells_[CELL_EXCLUDESERIAL] == nullptr) return false;
  int32_t before = static_cast<int32_t>(InterlockedCompareExchange(cells_[CELL_EXCLUDESERIAL], 0, 0));
  if ((before & 1) != 0) return false;
  for (int at = 0; at < kExcludeCellSize; ++at) out[at] = exclude_[at];
  out[kExcludeCellSize - 1] = '\0';
  int32_t after = static_cast<int32_t>(InterlockedCompareExchange(cells_[CELL_EXCLUDESERIAL], 0, 0));
  if (after != before) {
    out[0] = '\0';
    return false;
  }
  *serial = before;
  return true;
}

int32_t CellViews::Read(CellKey key) const {
  volatile LONG* cell = cells_[key];
  return cell != nullptr ? static_cast<int32_t>(*cell) : 0;
}

void CellViews::Write(CellKey key, int32_t value) const {
  volatile LONG* cell = cells_[key];
  if (cell != nullptr) *cell = value;
}

int32_t CellViews::CompareExchange(CellKey key, int32_t expected, int32_t desired) const {
  volatile LONG* cell = cells_[key];
  if (cell == nullptr) return 0;
  return static_cast<int32_t>(InterlockedCompareExchange(cell, desired, expected));
}

const CellViews* CachedCells::Get() {
  if (state_.load(std::memory_order_acquire) == kOpen) return &views_;
  // Tick arithmetic wraps, so the schedule holds across the counter's rollover.
  if (tried_.load(std::memory_order_relaxed) &&
      GetTickCount() - lastTry_.load(std::memory_order_relaxed) < kCellRetryMs) {
    return nullptr;
  }
  return TryOpen();
}

const CellViews* CachedCells::GetNow() {
  if (state_.load(std::memory_order_acquire) == kOpen) return &views_;
  return TryOpen();
}

const CellViews* CachedCells::TryOpen() {
  int expected = kClosed;
  if (!state_.compare_exchange_strong(expected, kOpening, std::memory_order_acquire)) {
    return expected == kOpen ? &views_ : nullptr;
  }
  lastTry_.store(GetTickCount(), std::memory_order_relaxed);
  tried_.store(true, std::memory_order_relaxed);
  bool opened = views_.Open();
  state_.store(opened ? kOpen : kClosed, std::memory_order_release);
  return opened ? &views_ : nullptr;
}

void CachedCells::Release() {
  state_.store(kClosed, std::memory_order_release);
  views_.Close();
  tried_.store(false, std::memory_order_relaxed);
}
