#include "cells/cell_views.h"

// Other processes share the values, where no lock of this process would
// guard them: every access must be lock-free.
static_assert(std::atomic_ref<int32_t>::is_always_lock_free, "a cell is read and written without a lock");
static_assert(std::atomic_ref<char>::is_always_lock_free, "the list is read and written without a lock");

namespace {

std::atomic_ref<int32_t> Cell(int32_t* cell) { return std::atomic_ref<int32_t>(*cell); }
std::atomic_ref<char> Letter(char* list, int at) { return std::atomic_ref<char>(list[at]); }

}  // namespace

template <typename Acquire>
bool CellViews::MapAll(Acquire acquire) {
  Close();
  UniqueHandle excludeMapping(acquire(kExcludeCellName, kExcludeCellSize));
  UniqueView excludeView(excludeMapping ? MapViewOfFile(excludeMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0)
                                        : nullptr);
  if (!excludeView) return false;
  exclude_ = static_cast<char*>(excludeView.Get());
  excludeMapping_ = std::move(excludeMapping);
  excludeView_ = std::move(excludeView);
  for (int key = 0; key < CELL_COUNT; ++key) {
    UniqueHandle mapping(acquire(cellNames[key], sizeof(int32_t)));
    if (!mapping) break;
    UniqueView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (!view) break;
    cells_[key] = static_cast<int32_t*>(view.Get());
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
  Cell(cells_[CELL_EXCLUDESERIAL]).fetch_add(1);
  int at = 0;
  for (; at < kExcludeCellSize - 1 && list != nullptr && list[at] != '\0'; ++at) {
    Letter(exclude_, at).store(list[at], std::memory_order_relaxed);
  }
  Letter(exclude_, at).store('\0', std::memory_order_relaxed);
  Cell(cells_[CELL_EXCLUDESERIAL]).fetch_add(1);
}

bool CellViews::ReadExcludeList(char* out, int32_t* serial) const {
  out[0] = '\0';
  if (exclude_ == nullptr || cells_[CELL_EXCLUDESERIAL] == nullptr) return false;
  int32_t before = Cell(cells_[CELL_EXCLUDESERIAL]).load();
  if ((before & 1) != 0) return false;
  for (int at = 0; at < kExcludeCellSize; ++at) out[at] = Letter(exclude_, at).load(std::memory_order_relaxed);
  out[kExcludeCellSize - 1] = '\0';
  // The copy is read before the serial is read again.
  std::atomic_thread_fence(std::memory_order_acquire);
  int32_t after = Cell(cells_[CELL_EXCLUDESERIAL]).load();
  if (after != before) {
    out[0] = '\0';
    return false;
  }
  *serial = before;
  return true;
}

int32_t CellViews::Read(CellKey key) const {
  int32_t* cell = cells_[key];
  return cell != nullptr ? Cell(cell).load(std::memory_order_relaxed) : 0;
}

void CellViews::Write(CellKey key, int32_t value) const {
  int32_t* cell = cells_[key];
  if (cell != nullptr) Cell(cell).store(value, std::memory_order_relaxed);
}

int32_t CellViews::CompareExchange(CellKey key, int32_t expected, int32_t desired) const {
  int32_t* cell = cells_[key];
  if (cell == nullptr) return 0;
  int32_t held = expected;  // what the cell held: expected on success, the value found otherwise
  Cell(cell).compare_exchange_strong(held, desired);
  return held;
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
